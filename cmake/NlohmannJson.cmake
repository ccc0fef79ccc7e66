# nlohmann/json for every preset: Debian's header-only package, seen through a folder of its own.
# The cross toolchain must never search /usr/include (it would pick up the host's C library
# headers), so the header tree is copied into the build folder and only that copy is put on
# the include path, as a system folder so that its warnings are not ours.
find_path(DUPLEX_NLOHMANN_JSON_ROOT nlohmann/json.hpp
  PATHS /usr/include /usr/local/include
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  DOC "The folder holding nlohmann/json.hpp (Debian: nlohmann-json3-dev)")
if(NOT DUPLEX_NLOHMANN_JSON_ROOT)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (bash tools/setup.sh)")
endif()

set(DUPLEX_NLOHMANN_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party/nlohmann-json/include)
file(COPY ${DUPLEX_NLOHMANN_JSON_ROOT}/nlohmann DESTINATION ${DUPLEX_NLOHMANN_JSON_INCLUDE})

add_library(duplex_nlohmann_json INTERFACE)
target_include_directories(duplex_nlohmann_json SYSTEM INTERFACE ${DUPLEX_NLOHMANN_JSON_INCLUDE})
