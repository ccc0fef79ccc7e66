# CPack's step between staging the release and packing it: signs the staged Windows binaries with
# tools/sign-windows.sh when a certificate is given in DUPLEX_SIGN_PKCS12 and DUPLEX_SIGN_PASSWORD.
if(NOT DEFINED ENV{DUPLEX_SIGN_PKCS12} OR "$ENV{DUPLEX_SIGN_PKCS12}" STREQUAL "")
  message(STATUS "Release not signed: DUPLEX_SIGN_PKCS12 is not set")
  return()
endif()
set(files)
foreach(name IN LISTS CPACK_DUPLEX_SIGNED_FILES)
  list(APPEND files ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${name})
endforeach()
execute_process(COMMAND bash ${CPACK_DUPLEX_SIGN_SCRIPT} ${files} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Signing the release failed (${result})")
endif()
