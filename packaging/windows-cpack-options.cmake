# Read by cpack for each package it makes: the installer is named apart from the
# zip, which holds the same files.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
