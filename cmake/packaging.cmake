# What is installed, and the packages made of it for people who do not build:
#   cmake --install build --prefix DIR   the programs and their manual pages
#   cpack --config build/CPackConfig.cmake
#     a Debian package on Linux; a zip of the programs and a short text on Windows.
if(WIN32)
  install(TARGETS image-border dibdump RUNTIME DESTINATION .)
  install(FILES viewer/windows/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
else()
  include(GNUInstallDirs)
  install(TARGETS image-border dibdump RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages compressed, as man reads them and Debian keeps them.
  foreach(page image-border dibdump)
    add_custom_command(OUTPUT ${page}.1.gz COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/${page}.1 > ${page}.1.gz
                       DEPENDS docs/${page}.1 VERBATIM)
    list(APPEND pages ${CMAKE_BINARY_DIR}/${page}.1.gz)
  endforeach()
  add_custom_target(manual_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  add_custom_command(OUTPUT changelog.gz COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/changelog > changelog.gz
                     DEPENDS docs/changelog VERBATIM)
  add_custom_target(changelog ALL DEPENDS changelog.gz)
  install(FILES docs/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/image-border)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs link, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
set(CPACK_PACKAGE_NAME image-border)
set(CPACK_PACKAGE_CONTACT "Image Border developers <image-border@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap viewer showing a mask of the picture's dark outlines")
set(CPACK_PACKAGE_DESCRIPTION "Image Border shows the Windows bitmap B.bmp of the current folder beside an
all-white image of its size; the key 2 paints black, in the white image,
every pixel of the picture whose intensity is below 5. dibdump tells what
the viewer makes of a bitmap file, and why a file is refused.")
set(CPACK_STRIP_FILES ON)
include(CPack)
