# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads: the
# win32-thread variant cannot build GoogleTest). Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PROJBRIDGE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PROJBRIDGE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PROJBRIDGE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PROJBRIDGE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PROJBRIDGE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Qt built for the target (scripts/windows-qt.sh) is searched like the target's
# own libraries. Its package folder goes into the prefixes, not its root, which
# CMake would graft onto itself.
if(PROJBRIDGE_WINDOWS_QT)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${PROJBRIDGE_WINDOWS_QT})
  list(PREPEND CMAKE_PREFIX_PATH ${PROJBRIDGE_WINDOWS_QT}/lib/cmake)
endif()

# The C++ runtime and winpthread linked in: a program that needs their DLLs
# beside it exits silently under Wine (status 53) and on a user's machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Every test program runs through Wine in a prefix of its own inside the build
# folder, which the test setup creates and removes.
set(PROJBRIDGE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${PROJBRIDGE_WINE_PREFIX})
