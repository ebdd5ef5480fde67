# THIRD-PARTY-NOTICES.txt of the Windows downloads: what the licences of the code
# linked into the programs ask their users to be told, with the licences' texts
# and copyright files as Debian ships them in the packages that code comes from.

# The Qt that scripts/windows-qt.sh builds: its source package's version, then
# its configure options.
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/windows-qt.sh --describe
  OUTPUT_VARIABLE qt_description OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "scripts/windows-qt.sh --describe failed: no notices for the Qt linked in")
endif()
string(REPLACE "\n" ";" qt_lines "${qt_description}")
list(POP_FRONT qt_lines PROJBRIDGE_QT_DEBIAN_VERSION)
list(JOIN qt_lines "\n    " PROJBRIDGE_QT_OPTIONS)
# The notice must name the Qt that is linked, not merely the one the script would build.
string(REGEX REPLACE "[+~-].*" "" qt_upstream_version "${PROJBRIDGE_QT_DEBIAN_VERSION}")
if(NOT Qt6_VERSION VERSION_EQUAL qt_upstream_version)
  message(FATAL_ERROR "The wizard links Qt ${Qt6_VERSION}, but scripts/windows-qt.sh builds ${qt_upstream_version}")
endif()

function(projbridge_debian_version package variable)
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
    OUTPUT_VARIABLE version RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${package} is not installed: no notices for the code it gives the programs")
  endif()
  set(${variable} "${version}" PARENT_SCOPE)
endfunction()
projbridge_debian_version(g++-mingw-w64-x86-64-posix PROJBRIDGE_GCC_DEBIAN_VERSION)
projbridge_debian_version(mingw-w64-x86-64-dev PROJBRIDGE_MINGW_DEBIAN_VERSION)

set(licence_texts
  PROJBRIDGE_LGPL3_TEXT /usr/share/common-licenses/LGPL-3
  PROJBRIDGE_GPL3_TEXT /usr/share/common-licenses/GPL-3
  PROJBRIDGE_QT_COPYRIGHT /usr/share/doc/libqt6core6/copyright
  PROJBRIDGE_GCC_COPYRIGHT /usr/share/doc/g++-mingw-w64-x86-64-posix/copyright
  PROJBRIDGE_MINGW_COPYRIGHT /usr/share/doc/mingw-w64-x86-64-dev/copyright)
while(licence_texts)
  list(POP_FRONT licence_texts variable file)
  file(READ ${file} ${variable})
endwhile()

set(template ${CMAKE_CURRENT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${template})
file(READ ${template} text)
string(CONFIGURE "${text}" text @ONLY)
projbridge_windows_text(THIRD-PARTY-NOTICES.txt "${text}")
