# vk37_install_manpage(<page>): compresses a manual page of the current
# source directory at build time, as Debian installs manual pages (-n: no
# name or time stamp, so the same page gives the same bytes), and installs it
# into the section its name ends with.
include(GNUInstallDirs)

function(vk37_install_manpage page)
  string(REGEX MATCH "[0-9]$" section ${page})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${compressed}
    DEPENDS ${page}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "manpage_${page}" target)
  add_custom_target(${target} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
