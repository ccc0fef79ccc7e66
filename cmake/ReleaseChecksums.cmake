# CPack's last step: SHA256SUMS beside the packages, in the form `sha256sum -c` reads.
set(lines "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(SHA256 ${package} hash)
  get_filename_component(name ${package} NAME)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE ${CPACK_OUTPUT_FILE_PREFIX}/SHA256SUMS "${lines}")
message(STATUS "Checksums: ${CPACK_OUTPUT_FILE_PREFIX}/SHA256SUMS")
