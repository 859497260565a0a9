# Client code for a protocol of the wayland-protocols package: tolvane_wayland_client_protocol(
# VAR staging/xdg-activation/xdg-activation-v1.xml) generates the header and the glue in the
# current build folder, sets VAR to both files and VAR_DIR to the folder to include.
function(tolvane_wayland_client_protocol var xml)
  find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
  pkg_get_variable(protocols_dir wayland-protocols pkgdatadir)
  if(NOT protocols_dir)
    message(FATAL_ERROR "wayland-protocols is missing (scripts/bootstrap.sh installs it)")
  endif()
  get_filename_component(name ${xml} NAME_WE)
  set(source ${protocols_dir}/${xml})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${out}/${name}-client-protocol.h ${out}/${name}-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${WAYLAND_SCANNER} client-header ${source} ${out}/${name}-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${source} ${out}/${name}-protocol.c
    DEPENDS ${source})
  set(${var} ${out}/${name}-protocol.c ${out}/${name}-client-protocol.h PARENT_SCOPE)
  set(${var}_DIR ${out} PARENT_SCOPE)
endfunction()
