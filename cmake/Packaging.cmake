# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack --config <build>/CPackConfig.cmake` (scripts/package.sh does it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tolvane developers")
set(CPACK_PACKAGE_CONTACT "The Tolvane developers <packages@tolvane.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "choose the default web browser from the tray or a script")
# Files go to /usr whatever prefix the build was configured with; DESTDIR keeps the staging
# folder out of every path the install writes into files.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tolvane.app")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, which dpkg-shlibdeps cannot see: Qt's X11 and offscreen platforms, its SVG
# icon engine (in libqt6svg6 until Debian 12, in qt6-svg-plugins since 6.7.2-5), and gdk-pixbuf's
# SVG loader (librsvg) for icons that exist only as SVG.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-svg-plugins | libqt6svg6 (<< 6.7.2-5~), librsvg2-common")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tolvane lists the web browsers installed on the computer in a tray menu and
makes the one you pick the default browser, for the desktop and for
xdg-open. A global keyboard shortcut can switch to a browser chosen in
advance.
.
Scripts can do the same without a display: tolvane --list, --get and
--set BROWSER on the command line, or the app.tolvane.Tolvane D-Bus
service, which the session bus starts on demand.")

# Debian's documentation files: the copyright notice and the changelog, compressed reproducibly.
set(debian_doc ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${debian_doc})
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian
  COMMAND ${GZIP_PROGRAM} -9nc ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${PROJECT_BINARY_DIR}/debian/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog VERBATIM)
add_custom_target(tolvane-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${debian_doc})
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tolvane)

# The manual page is the program's own --help and --version, set in man format, with the sections
# --help has no room for (the bus service, examples, files) from resources/man/tolvane.h2m.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/tolvane.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    # In English whatever the builder speaks.
    COMMAND ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C QT_QPA_PLATFORM=offscreen
            ${HELP2MAN_PROGRAM} --no-info --section=1 --source=Tolvane
            "--name=choose the default web browser from the tray or a script"
            --include=${PROJECT_SOURCE_DIR}/resources/man/tolvane.h2m
            --output=${PROJECT_BINARY_DIR}/man/tolvane.1 $<TARGET_FILE:tolvane>
    COMMAND ${GZIP_PROGRAM} -9nf ${PROJECT_BINARY_DIR}/man/tolvane.1
    DEPENDS tolvane ${PROJECT_SOURCE_DIR}/resources/man/tolvane.h2m VERBATIM)
  add_custom_target(tolvane-manpage ALL DEPENDS ${PROJECT_BINARY_DIR}/man/tolvane.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/man/tolvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: no manual page (scripts/bootstrap.sh installs it)")
endif()

include(CPack)
