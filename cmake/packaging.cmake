# Release packages through CPack: a Debian package and a .tar.gz on Linux, a
# .zip of quilvex.exe and README for Windows.
set(CPACK_PACKAGE_NAME quilvex)
set(CPACK_PACKAGE_VENDOR "The Quilvex authors")
set(CPACK_PACKAGE_CONTACT "The Quilvex authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "lists files with the offsets at which they would lie end to end")
set(CPACK_PACKAGE_DESCRIPTION
  "Quilvex asks for a list of files, measures each one and writes out.xnq, a
text layout file giving each file's byte offset when all of them are laid
end to end, and the total. It never reads or copies the files' contents.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quilvex authors")
  # Dependencies as dpkg-shlibdeps finds them in the built program.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_SET_DESTDIR OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()

include(CPack)
