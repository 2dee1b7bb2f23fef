# Run by cpack for a cross-built tools package (cmake/packaging.cmake makes
# the file that sets the inputs): vk37_depends becomes the Depends that
# dpkg-shlibdeps finds in vk37_programs, with the cross compiler's libraries
# in vk37_libs, named as on a machine of the package's architecture. The
# cross compiler's library packages name themselves "libc6:arm64" (shlibs)
# or "libgcc-s1-arm64-cross" (symbols); there they are libc6, libgcc-s1.
file(MAKE_DIRECTORY "${vk37_work}/debian")
# dpkg-shlibdeps wants a debian/control, any.
file(WRITE "${vk37_work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -l${vk37_libs} -O ${vk37_programs}
                WORKING_DIRECTORY "${vk37_work}"
                OUTPUT_VARIABLE vk37_found ERROR_VARIABLE vk37_errors RESULT_VARIABLE vk37_status
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT vk37_status EQUAL 0 OR NOT vk37_found MATCHES "^shlibs:Depends=")
  message(FATAL_ERROR "dpkg-shlibdeps failed for ${vk37_programs}: ${vk37_errors}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" vk37_depends "${vk37_found}")
string(REPLACE ":${vk37_deb_arch}" "" vk37_depends "${vk37_depends}")
string(REPLACE "-${vk37_deb_arch}-cross" "" vk37_depends "${vk37_depends}")
