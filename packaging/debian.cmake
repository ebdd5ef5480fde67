# The Debian package of both programs: `cpack -G DEB` in the build folder after
# building (scripts/linux-release.sh does both).
set(PROJBRIDGE_PACKAGE_MAINTAINER "Projbridge developers <projbridge@example.org>" CACHE STRING
  "Maintainer field and changelog signature of the Debian package")

find_program(PROJBRIDGE_GZIP gzip REQUIRED)
find_program(PROJBRIDGE_SED sed REQUIRED)
find_program(PROJBRIDGE_XPMTOPPM xpmtoppm REQUIRED)
find_program(PROJBRIDGE_PNMTOPNG pnmtopng REQUIRED)

set(docdir share/doc/projbridge)
set(generated ${CMAKE_CURRENT_BINARY_DIR})

# The date of the changelog entry and of the manual pages; SOURCE_DATE_EPOCH,
# when set, makes it the commit's and the package reproducible.
string(TIMESTAMP PROJBRIDGE_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP PROJBRIDGE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP PROJBRIDGE_RELEASE_YEAR "%Y" UTC)

file(CONFIGURE OUTPUT ${generated}/changelog CONTENT
"projbridge (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION} of ProjbridgeCli and the Projbridge wizard.

 -- ${PROJBRIDGE_PACKAGE_MAINTAINER}  ${PROJBRIDGE_CHANGELOG_DATE}
")

# Debian wants the terms of use in doc/<package>/copyright, naming the licence
# of which Debian keeps the text.
configure_file(copyright.in ${generated}/copyright @ONLY)

set(manual_pages ProjbridgeCli.1 Projbridge.1)
set(compressed_pages)
foreach(page IN LISTS manual_pages)
  configure_file(${page}.in ${generated}/${page} @ONLY)
  add_custom_command(OUTPUT ${generated}/${page}.gz
    COMMAND ${PROJBRIDGE_GZIP} -9nf ${generated}/${page} -c > ${generated}/${page}.gz
    DEPENDS ${generated}/${page}
    VERBATIM)
  list(APPEND compressed_pages ${generated}/${page}.gz)
endforeach()

add_custom_command(OUTPUT ${generated}/changelog.gz
  COMMAND ${PROJBRIDGE_GZIP} -9nf ${generated}/changelog -c > ${generated}/changelog.gz
  DEPENDS ${generated}/changelog
  VERBATIM)

# The desktop's icon is the wizard's own window icon; xpmtoppm reads only the
# classic declaration of the image's array.
set(icon_source ${PROJECT_SOURCE_DIR}/wizard/images/icon.xpm)
add_custom_command(OUTPUT ${generated}/projbridge.png
  COMMAND ${PROJBRIDGE_SED} -e "s/^static const char[*] const /static char */" ${icon_source}
    | ${PROJBRIDGE_XPMTOPPM} | ${PROJBRIDGE_PNMTOPNG} > ${generated}/projbridge.png
  DEPENDS ${icon_source}
  VERBATIM)

add_custom_target(projbridge_package_files ALL
  DEPENDS ${compressed_pages} ${generated}/changelog.gz ${generated}/projbridge.png)

# Packaged folders keep these rights whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS ProjbridgeCli Projbridge RUNTIME DESTINATION bin)
install(FILES ${compressed_pages} DESTINATION share/man/man1)
install(FILES projbridge.desktop DESTINATION share/applications)
install(FILES ${generated}/projbridge.png DESTINATION share/icons/hicolor/32x32/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/NOTICE ${generated}/changelog.gz ${generated}/copyright
  DESTINATION ${docdir})
# The README's pictures keep their relative paths.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${docdir}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME projbridge)
set(CPACK_PACKAGE_CONTACT "${PROJBRIDGE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
