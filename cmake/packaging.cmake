# The Debian package of the Linux build, made by `cpack -G DEB` (see
# tools/package-deb.sh): vk37set_<version>_<arch>.deb with whatever the
# install rules put under the prefix /usr, plus the copyright file and the
# changelog that Debian wants in /usr/share/doc/vk37set. The library
# packages it depends on are found by dpkg-shlibdeps from the programs.
include(GNUInstallDirs)

set(vk37_deb_name vk37set)
set(vk37_deb_maintainer "VK37Set developers <vk37set@example.org>")
set(vk37_deb_docdir ${CMAKE_INSTALL_DATADIR}/doc/${vk37_deb_name})
set(vk37_deb_source ${PROJECT_SOURCE_DIR}/res/debian)

# The package's version is the project's, and its changelog must say so:
# a new version needs a new entry at the top of res/debian/changelog.
file(STRINGS ${vk37_deb_source}/changelog vk37_changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." vk37_version_pattern ${PROJECT_VERSION})
if(NOT vk37_changelog_top MATCHES "^${vk37_deb_name} \\(${vk37_version_pattern}\\) ")
  message(FATAL_ERROR "res/debian/changelog does not start with an entry for "
                      "${vk37_deb_name} ${PROJECT_VERSION}: ${vk37_changelog_top}")
endif()

# The version has no Debian revision, so the package counts as native, and
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

install(FILES ${vk37_deb_source}/copyright ${vk37_changelog_gz}
        DESTINATION ${vk37_deb_docdir})

set(CPACK_PACKAGE_NAME ${vk37_deb_name})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VK37Set developers")
set(CPACK_PACKAGE_CONTACT "${vk37_deb_maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "save a camera's image settings to VK37.INI")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"VK37Set records the image settings of a video capture camera. Pick a
camera by name and the tool reads eight image properties (brightness,
contrast, hue, saturation, sharpness, colour enable, white balance and
exposure), each with its range, step, default, flags and current value,
and writes them into VK37.INI in the current directory. Saving only reads
the camera and never changes a setting.

The package holds the Qt dialog program VK37Set, the command-line
program vk37save, which saves without a display, and vk37load, which
gives a camera the saved settings back. A udev rule, dormant until
/etc/vk37set exists, restores a camera's file when it is plugged in.
Cameras are found through V4L2.")

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_NAME ${vk37_deb_name})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${vk37_deb_maintainer}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog's texts are Chinese and no library it depends on brings a font
# that has them (without one they show as boxes). It prefers AR PL UMing;
# either of the others does as well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed programs carry no symbols, and every directory the package
# makes is 0755 whatever the umask of whoever builds it.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
