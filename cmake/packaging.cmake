# The Debian packages of the Linux build, made by `cpack -G DEB` (see
# tools/package-deb.sh), one per install component:
#   vk37set-tools_<version>_<arch>.deb (component tools): vk37save and
#     vk37load, their manual pages, the udev rule and helper; no Qt.
#   vk37set_<version>_<arch>.deb (component dialog): the dialog program,
#     its manual page, desktop entry, icons and AppStream metadata; it
#     depends on vk37set-tools of the same version. Only with VK37_BUILD_UI.
# Each holds the copyright file and the changelog that Debian wants in
# /usr/share/doc/<package>. The library packages they depend on are found by
# dpkg-shlibdeps in their programs.
include(GNUInstallDirs)

set(vk37_deb_name vk37set)
set(vk37_deb_tools_name vk37set-tools)
set(vk37_deb_maintainer "VK37Set developers <vk37set@example.org>")
set(vk37_deb_source ${PROJECT_SOURCE_DIR}/res/debian)

# The packages' version is the project's, and the changelog must say so:
# a new version needs a new entry at the top of res/debian/changelog.
file(STRINGS ${vk37_deb_source}/changelog vk37_changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." vk37_version_pattern ${PROJECT_VERSION})
if(NOT vk37_changelog_top MATCHES "^${vk37_deb_name} \\(${vk37_version_pattern}\\) ")
  message(FATAL_ERROR "res/debian/changelog does not start with an entry for "
                      "${vk37_deb_name} ${PROJECT_VERSION}: ${vk37_changelog_top}")
endif()

# The version has no Debian revision, so the packages count as native, and
# for a native package Debian names the changelog changelog.gz. It is
# compressed as Debian wants it: gzip -9, without name and time stamp.
set(vk37_changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(
  OUTPUT ${vk37_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/debian
  COMMAND gzip -9n -c ${vk37_deb_source}/changelog > ${vk37_changelog_gz}
  DEPENDS ${vk37_deb_source}/changelog
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(vk37_deb_docs ALL DEPENDS ${vk37_changelog_gz})

set(vk37_deb_components tools)
if(VK37_BUILD_UI)
  list(APPEND vk37_deb_components dialog)
endif()
foreach(component ${vk37_deb_components})
  set(package ${vk37_deb_name})
  if(component STREQUAL tools)
    set(package ${vk37_deb_tools_name})
  endif()
  install(FILES ${vk37_deb_source}/copyright ${vk37_changelog_gz}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME ${vk37_deb_name})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VK37Set developers")
set(CPACK_PACKAGE_CONTACT "${vk37_deb_maintainer}")

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${vk37_deb_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE ${vk37_deb_name})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${vk37_deb_maintainer}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${vk37_deb_tools_name})
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
"save and restore a camera's image settings (command line)
vk37save records the image settings of a video capture camera: eight
image properties (brightness, contrast, hue, saturation, sharpness,
colour enable, white balance and exposure), each with its range, step,
default, flags and current value, written into VK37.INI. vk37load gives
a camera the settings of such a file back, or checks them (--check).

A udev rule, dormant until /etc/vk37set exists, restores a camera's file
when it is plugged in or the machine boots. Cameras are found through
V4L2. Neither program needs a display; the dialog program is in the
package vk37set.")

set(CPACK_DEBIAN_DIALOG_PACKAGE_NAME ${vk37_deb_name})
set(CPACK_DEBIAN_DIALOG_DESCRIPTION
"save a camera's image settings to VK37.INI (dialog)
VK37Set records the image settings of a video capture camera. Pick a
camera by name and the tool reads eight image properties (brightness,
contrast, hue, saturation, sharpness, colour enable, white balance and
exposure), each with its range, step, default, flags and current value,
and writes them into VK37.INI in the current directory.

The package holds the Qt dialog program VK37Set, its desktop entry and
software-centre metadata. The command-line programs vk37save and
vk37load, which gives a camera the saved settings back, come with
vk37set-tools.")
# The dialog's texts are Chinese and no library it depends on brings a font
# that has them (without one they show as boxes). It prefers AR PL UMing;
# either of the others does as well.
set(CPACK_DEBIAN_DIALOG_PACKAGE_RECOMMENDS "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_DIALOG_PACKAGE_DEPENDS "${vk37_deb_tools_name} (= ${PROJECT_VERSION})")

if(CMAKE_CROSSCOMPILING)
  # The packages are for the target's Debian architecture, not this
  # machine's, and dpkg-shlibdeps finds the cross compiler's libraries only
  # when told where they are. It then names their packages as seen from
  # this machine ("libc6:arm64"); on a machine of the packages' own
  # architecture the names are plain, so cpack runs it in a step of its own
  # (cmake/cross-shlibdeps.cmake) that drops the qualifier.
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${VK37_DEB_ARCH})
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/debian/cross-depends.cmake)
  file(GENERATE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} CONTENT
"set(vk37_programs \"$<TARGET_FILE:vk37save>;$<TARGET_FILE:vk37load>\")
set(vk37_libs \"${CMAKE_FIND_ROOT_PATH}/lib\")
set(vk37_deb_arch ${VK37_DEB_ARCH})
set(vk37_work \"${CMAKE_CURRENT_BINARY_DIR}/debian/shlibdeps\")
include(\"${PROJECT_SOURCE_DIR}/cmake/cross-shlibdeps.cmake\")
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS \"\${vk37_depends}\")
")
endif()

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed programs carry no symbols, and every directory the packages
# make is 0755 whatever the umask of whoever builds them.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
