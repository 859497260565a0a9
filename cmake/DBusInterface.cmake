# SPDX-License-Identifier: GPL-3.0-or-later
# A live D-Bus object introspects as its installed description, documentation and argument names
# included: the interface element of `xml` becomes the string literal `macro` in
# generated/`header`, and the description is installed where the bus tools look for it.
function(tolvane_dbus_interface xml header macro)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${xml})
  file(READ ${xml} text)
  string(FIND "${text}" "<interface " begin)
  string(FIND "${text}" "</interface>" end)
  math(EXPR length "${end} + 12 - ${begin}")
  string(SUBSTRING "${text}" ${begin} ${length} interface)
  string(REPLACE "\\" "\\\\" interface "${interface}")
  string(REPLACE "\"" "\\\"" interface "${interface}")
  string(REPLACE "\n" "\\n\" \\\n    \"" interface "${interface}")
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/${header}
       CONTENT "#pragma once\n// Generated from ${xml}.\n#define ${macro} \\\n    \"${interface}\\n\"\n"
       @ONLY)
  install(FILES ${xml} DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
endfunction()
