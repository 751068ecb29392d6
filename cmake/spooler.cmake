# Spooler integration: the CUPS filter and the PPDs (spooler/), and what
# `cmake --install` and `cpack -G DEB` deliver besides the programs, which
# programs/ installs itself.
include(GNUInstallDirs)
add_subdirectory(${PROJECT_SOURCE_DIR}/spooler)
include(${PROJECT_SOURCE_DIR}/spooler/printers.cmake)

# Only the printers whose program this tree builds get a PPD and a manual page.
set(KEVRA_INSTALLED_PRINTERS "")
foreach(word ${KEVRA_PRINTER_WORDS})
  if(TARGET kevra_${word})
    list(APPEND KEVRA_INSTALLED_PRINTERS ${word})
  endif()
endforeach()
set_property(GLOBAL PROPERTY KEVRA_INSTALLED_PRINTERS "${KEVRA_INSTALLED_PRINTERS}")

install(TARGETS texttokevra RUNTIME DESTINATION ${KEVRA_CUPS_SERVERBIN}/filter)
foreach(word ${KEVRA_INSTALLED_PRINTERS})
  install(FILES ${CMAKE_BINARY_DIR}/ppd/kevra-${word}.ppd
          DESTINATION ${CMAKE_INSTALL_DATADIR}/ppd/kevra)
  # Each program's manual page is the shared one.
  file(WRITE ${CMAKE_BINARY_DIR}/man/kevra_${word}.1 ".so man1/kevra.1\n")
  install(FILES ${CMAKE_BINARY_DIR}/man/kevra_${word}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/man/kevra.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/man/texttokevra.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
# kevra_preview and its page come with `cmake --install` when the preview is
# built (component "preview"); they stay out of the package below, whose
# programs need nothing beyond the C++ library.
if(TARGET kevra_preview)
  install(FILES ${PROJECT_SOURCE_DIR}/man/kevra_preview.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT preview)
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/spooler/kevra-interface
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# Debian package: the library dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_PACKAGE_NAME kevra)
set(CPACK_PACKAGE_VENDOR "KEVRA")
set(CPACK_PACKAGE_CONTACT "KEVRA maintainers <kevra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bar code print filters for plain-text printing")
set(CPACK_PACKAGE_DESCRIPTION
    "Bar codes and 2-D symbols from plain-text print jobs, drawn in the printer's own language;\n with a CUPS filter and PPDs for text queues.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-daemon, cups-client")
include(CPack)
