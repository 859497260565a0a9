# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a file made from a template when the install runs, not when the build is configured:
# @TOLVANE_PROGRAM@ then names the program where this install (or package) puts it, whatever
# prefix `cmake --install --prefix` or CPack chooses.
function(tolvane_install_configured template destination)
  get_filename_component(name ${template} NAME_WLE)
  install(CODE "
    set(TOLVANE_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tolvane\")
    set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/${name}\")
    message(STATUS \"Installing: \${target}\")
    configure_file(\"${template}\" \"\${target}\" @ONLY)
  ")
endfunction()
