# Toolchain for the Windows build: 64-bit mingw-w64 with its -posix compilers, tests under Wine.
# The -posix variants carry std::thread (the plain names are the -win32 ones, which do not).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELKOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELKOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELKOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELKOR_MINGW_TRIPLE}-windres)

# The build directory the Wine prefix and the Windows GoogleTest live in. Fixed at the first
# configure and handed to try_compile's projects, which read this file from a scratch directory.
if(NOT DEFINED PELKOR_WINDOWS_BUILD_DIR)
    set(PELKOR_WINDOWS_BUILD_DIR "${CMAKE_BINARY_DIR}" CACHE PATH
        "Build directory holding the Wine prefix and the Windows GoogleTest")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PELKOR_WINDOWS_BUILD_DIR)

# Libraries and headers only from the mingw-w64 sysroot and the GoogleTest built for Windows
# (scripts/windows-gtest.sh), never the host's; programs (windres, ...) from the host.
set(PELKOR_WINDOWS_GTEST_PREFIX "${PELKOR_WINDOWS_BUILD_DIR}/_deps/googletest")
# The prefix is a root of its own (find_package looks nowhere else) and a prefix under it.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${PELKOR_MINGW_TRIPLE} "${PELKOR_WINDOWS_GTEST_PREFIX}")
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
list(APPEND CMAKE_PREFIX_PATH "${PELKOR_WINDOWS_GTEST_PREFIX}")
list(REMOVE_DUPLICATES CMAKE_PREFIX_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, libstdc++, libgcc and winpthread included: the executables need only
# the DLLs Windows itself ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Windows programs the build and the tests run (ctest, gtest_discover_tests, custom commands
# that name an executable target, try_run) run under Wine, with the build directory's own
# prefix and server.
get_filename_component(PELKOR_WINE_SESSION "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-session.sh"
    ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${PELKOR_WINE_SESSION};exec;${PELKOR_WINDOWS_BUILD_DIR}")
