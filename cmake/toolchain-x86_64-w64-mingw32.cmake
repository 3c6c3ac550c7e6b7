# Cross build for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64):
#
#   cmake -S . -B build-win64 -G Ninja \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake -DMURELIN_TOOLKIT_FREE_ONLY=ON
#
# The executables are linked statically, so they run under wine (or on Windows) without the
# compiler's runtime DLLs beside them. ctest runs them through wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MURELIN_MINGW_TRIPLE x86_64-w64-mingw32)
# The -posix compilers: their C++ library has std::mutex and std::thread (GoogleTest needs them).
set(CMAKE_C_COMPILER ${MURELIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MURELIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MURELIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MURELIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(MURELIN_WINE wine)
if(MURELIN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${MURELIN_WINE})
endif()

# Debian ships GoogleTest as sources (/usr/src/googletest); the tests' find_package(GTest) is
# answered by building them with the cross compiler inside this build.
set(CMAKE_PROJECT_Murelin_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/googletest-from-source.cmake)
