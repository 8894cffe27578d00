# Installation beside the programs (desktop entry, icon, manual pages, the port-link helper, the udev
# example and the documentation) and the Debian package built from it by CPack:
#   cmake -S . -B build-pkg -G Ninja -DDURIDUVAZE_TESTS=OFF && cmake --build build-pkg
#   (cd build-pkg && cpack -G DEB)
# The programs' own install() rules are in src/app and tools/<tool>.
include(GNUInstallDirs)

set(DURIDUVAZE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/duriduvaze)

install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/duriduvaze-link-ports DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/duriduvaze.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/duriduvaze.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/99-duriduvaze-serial.rules.example
              ${PROJECT_SOURCE_DIR}/docs/station-example.json
        DESTINATION ${DURIDUVAZE_DOC_DIR}/examples)
# The headless station as a systemd service: the unit, its settings (a conffile), the generator that
# lets it write in the station directory those settings name; the maintainer scripts make its user.
install(FILES ${PROJECT_SOURCE_DIR}/data/duriduvaze.service DESTINATION lib/systemd/system)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/duriduvaze-station-paths DESTINATION lib/systemd/system-generators)
install(FILES ${PROJECT_SOURCE_DIR}/data/duriduvaze.default DESTINATION /etc/default RENAME duriduvaze)
file(GLOB DURIDUVAZE_DOCS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${DURIDUVAZE_DOCS} DESTINATION ${DURIDUVAZE_DOC_DIR})

# Manual pages go in compressed, as Debian keeps them; gzip -n leaves out the time stamp so that two
# builds of one source give one package.
find_program(GZIP_PROGRAM gzip)
file(GLOB DURIDUVAZE_MAN_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/*.1)
set(DURIDUVAZE_MAN_OUTPUTS)
foreach(page ${DURIDUVAZE_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  if(GZIP_PROGRAM)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/man/${name}.gz)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${GZIP_PROGRAM} -9 -n -c ${page} > ${out}
      DEPENDS ${page} VERBATIM)
    list(APPEND DURIDUVAZE_MAN_OUTPUTS ${out})
  else()
    list(APPEND DURIDUVAZE_MAN_OUTPUTS ${page})
  endif()
endforeach()
add_custom_target(duriduvaze_man ALL DEPENDS ${DURIDUVAZE_MAN_OUTPUTS})
install(FILES ${DURIDUVAZE_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duriduvaze)
set(CPACK_PACKAGE_VENDOR "Torvane")
set(CPACK_PACKAGE_CONTACT "DURiduvaze maintainers <duriduvaze@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "alarm receiver communication module for central monitoring stations")
set(CPACK_PACKAGE_DESCRIPTION
  "DURiduvaze reads up to sixteen serial ports wired to telephone-line alarm\n\
receivers, frames and decodes their messages by the rules of 21 receiver\n\
models, acknowledges the receivers, supervises the links and posts every\n\
event into the flat-file database shared with the operators' application.\n\
.\n\
This package holds the station window (duriduvaze), the command-line tool\n\
(duriduvaze-cli), the receiver simulator (duriduvaze-sim),\n\
duriduvaze-link-ports, which gives USB serial adapters fixed COM numbers, and\n\
duriduvaze.service, the headless station supervised by systemd.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt, CUPS, ALSA, the C++ runtime) are found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# adduser makes the service's user in postinst.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/cmake/debian/postinst ${PROJECT_SOURCE_DIR}/cmake/debian/prerm
    ${PROJECT_SOURCE_DIR}/cmake/debian/postrm ${PROJECT_SOURCE_DIR}/cmake/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The alarm printer needs a CUPS scheduler, here or on the network; a shared data directory needs the
# NFS or SMB client.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, nfs-common, cifs-utils")
include(CPack)
