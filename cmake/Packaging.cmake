# The release packages, made by `cmake --build --preset <preset> --target package` (docs/release.md):
# - Windows: DuplexSetupAssistant-<version>-win64.zip with the program, its console companion,
#   SetupLogKit.dll and README.txt; the three binaries signed first when a certificate is given;
# - Linux: the lab edition as a .deb, with the bundled labs and a desktop entry.
# A SHA256SUMS file is written beside the package. Only the component "release" is packaged, so that
# what other projects of the build install (the test framework's files) stays out.

configure_file(${CMAKE_SOURCE_DIR}/release/README.txt.in ${CMAKE_BINARY_DIR}/generated/README.txt @ONLY
               NEWLINE_STYLE CRLF)

if(WIN32)
  # SetupLogKit's import library is for building against it, not for the release.
  install(TARGETS DuplexSetupAssistant DuplexSetupAssistantConsole SetupLogKit
          RUNTIME DESTINATION . COMPONENT release
          ARCHIVE DESTINATION lib COMPONENT development)
  install(FILES ${CMAKE_BINARY_DIR}/generated/README.txt DESTINATION . COMPONENT release)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_PACKAGE_FILE_NAME DuplexSetupAssistant-${PROJECT_VERSION}-win64)
  # Where the package target leaves the zip (its test unpacks it).
  set(DUPLEX_RELEASE_ZIP ${CMAKE_BINARY_DIR}/release/${CPACK_PACKAGE_FILE_NAME}.zip)
  # Unpacked, the files lie where the zip is unpacked ("Extract All" makes the folder itself).
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # Signs the staged binaries when DUPLEX_SIGN_PKCS12 and DUPLEX_SIGN_PASSWORD are set (tools/sign-windows.sh).
  set(CPACK_DUPLEX_SIGN_SCRIPT ${CMAKE_SOURCE_DIR}/tools/sign-windows.sh)
  set(CPACK_DUPLEX_SIGNED_FILES DuplexSetupAssistant.exe DuplexSetupAssistant.com SetupLogKit.dll)
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/SignRelease.cmake)
else()
  # /usr/lib/duplex-setup-assistant holds the program and libSetupLogKit.so side by side, as the build
  # folder does; /usr/bin names the program; the labs lie in /usr/share, where the program finds the demo.
  install(TARGETS DuplexSetupAssistant RUNTIME DESTINATION ${DUPLEX_INSTALL_PROGRAM_DIR} COMPONENT release)
  install(TARGETS SetupLogKit LIBRARY DESTINATION ${DUPLEX_INSTALL_PROGRAM_DIR} COMPONENT release)
  file(RELATIVE_PATH program_from_bin /prefix/bin /prefix/${DUPLEX_INSTALL_PROGRAM_DIR}/DuplexSetupAssistant)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/bin)
  file(CREATE_LINK ${program_from_bin} ${CMAKE_BINARY_DIR}/generated/bin/DuplexSetupAssistant SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/generated/bin/DuplexSetupAssistant DESTINATION bin COMPONENT release)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/lab/ DESTINATION ${DUPLEX_INSTALL_LABS_DIR} USE_SOURCE_PERMISSIONS
          COMPONENT release)
  install(FILES ${CMAKE_SOURCE_DIR}/release/duplex-setup-assistant.desktop DESTINATION share/applications
          COMPONENT release)
  install(FILES ${CMAKE_BINARY_DIR}/generated/README.txt DESTINATION share/doc/duplex-setup-assistant
          COMPONENT release)
  # A Linux machine with the lab edition is also where Ansible runs the fleet's checks from (docs/fleet.md).
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ansible DESTINATION share/doc/duplex-setup-assistant/examples
          COMPONENT release)
  # The menu's icon: the program's own, as the PNG a desktop entry wants.
  find_program(DUPLEX_IMAGEMAGICK_CONVERT convert)
  if(DUPLEX_IMAGEMAGICK_CONVERT)
    set(icon ${CMAKE_BINARY_DIR}/generated/duplex-setup-assistant.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${DUPLEX_IMAGEMAGICK_CONVERT} "${CMAKE_SOURCE_DIR}/resources/DuplexSetupAssistant.ico[0]" ${icon}
      DEPENDS ${CMAKE_SOURCE_DIR}/resources/DuplexSetupAssistant.ico)
    add_custom_target(duplex_menu_icon ALL DEPENDS ${icon})
    install(FILES ${icon} DESTINATION share/icons/hicolor/32x32/apps COMPONENT release)
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME duplex-setup-assistant)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zandor DuplexSetupAssistant team <duplex-setup@zandor.invalid>")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # What dpkg-shlibdeps cannot see: the window's platform plug-ins (loaded by Qt at run time). The labs run
  # no program of their own (the lab plays the product's installer itself), so no Perl is needed.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()

set(CPACK_PACKAGE_NAME DuplexSetupAssistant)
set(CPACK_PACKAGE_VENDOR Zandor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Setup wizard that prepares two messaging servers to run as a high-availability cluster")
set(CPACK_PACKAGE_DESCRIPTION "The lab edition of DuplexSetupAssistant: the same wizard and commands as the \
Windows program, run against a lab, a folder that simulates the two servers. For rehearsing an installation, \
replaying a site's capture and training. The bundled labs are in /usr/share/duplex-setup-assistant/labs.")
# The packages carry no debugging symbols (the build folders keep them).
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/release)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};release;/")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ReleaseChecksums.cmake)
include(CPack)
