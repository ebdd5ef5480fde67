# The zip and the installer for Windows, of one installed tree: the programs in
# bin\ (the installer's PATH option adds that folder), the texts beside it.
set(generated ${CMAKE_CURRENT_BINARY_DIR})

# Windows's own editors want CR LF line ends.
function(projbridge_windows_text name text)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${generated}/${name} "${text}")
endfunction()

foreach(source LICENSE NOTICE packaging/USAGE.txt)
  cmake_path(GET source STEM name)
  file(READ ${PROJECT_SOURCE_DIR}/${source} text)
  projbridge_windows_text(${name}.txt "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
endforeach()
include(${CMAKE_CURRENT_SOURCE_DIR}/third-party-notices.cmake)

install(TARGETS ProjbridgeCli Projbridge RUNTIME DESTINATION bin)
install(FILES ${generated}/LICENSE.txt ${generated}/NOTICE.txt ${generated}/THIRD-PARTY-NOTICES.txt
  ${generated}/USAGE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME Projbridge-${PROJECT_VERSION}-win64)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/windows-cpack-options.cmake)
# The installer's NSIS code goes into its script as written here.
set(CPACK_VERBATIM_VARIABLES ON)
include(${CMAKE_CURRENT_SOURCE_DIR}/windows-installer.cmake)
