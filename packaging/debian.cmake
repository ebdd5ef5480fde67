# Install rules and the Debian package of both programs: `cpack -G DEB` in the
# build folder after building (scripts/linux-release.sh does both).
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

# Debian wants the terms of use in doc/<package>/copyright; they are the
# repository's licence file, which must not be made up here.
set(licence ${PROJECT_SOURCE_DIR}/LICENSE)
if(EXISTS ${licence})
  file(READ ${licence} PROJBRIDGE_LICENCE_TEXT)
else()
  message(WARNING "No ${licence}: the package's copyright file says that it holds no licence")
  set(PROJBRIDGE_LICENCE_TEXT "The source tree of this release held no licence file.\n")
endif()
file(CONFIGURE OUTPUT ${generated}/copyright CONTENT
"Projbridge ${PROJECT_VERSION}
Copyright: ${PROJBRIDGE_RELEASE_YEAR} the Projbridge developers

${PROJBRIDGE_LICENCE_TEXT}")

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
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${generated}/changelog.gz ${generated}/copyright
  DESTINATION ${docdir})
# The README's pictures keep their relative paths.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${docdir}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME projbridge)
set(CPACK_PACKAGE_VENDOR "Projbridge developers")
set(CPACK_PACKAGE_CONTACT "${PROJBRIDGE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of VisualDSP projects into Tavric analyser projects")
set(CPACK_PACKAGE_DESCRIPTION
"ProjbridgeCli turns a VisualDSP project (.dpj) or project group (.dpg) into
a ready Tavric / Tavric++ static-analyser project: the .prj project file, its
folder tree and its personality files, with the target processor, every
configuration, the compiler's macros and include folders, the header folders
and every source file. It can also write a conversion report and a
compilation database per configuration for clang-tidy, cppcheck and clangd.

Projbridge is a wizard (Qt 6 Widgets) that collects the paths and runs
ProjbridgeCli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
