# Included at the end of the top-level project() call of a cross build (see
# cmake/toolchain-i686-w64-mingw32.cmake): builds GoogleTest from the sources Debian ships
# with the cross compiler, and makes find_package(GTest) find those targets.
if(DEFINED MURELIN_BUILD_TESTS AND NOT MURELIN_BUILD_TESTS)
    return()
endif()
include(FetchContent)
set(MURELIN_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${MURELIN_GOOGLETEST_SOURCE_DIR}/googletest/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${MURELIN_GOOGLETEST_SOURCE_DIR} "
        "(Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
FetchContent_Declare(GTest SOURCE_DIR ${MURELIN_GOOGLETEST_SOURCE_DIR} OVERRIDE_FIND_PACKAGE SYSTEM)
FetchContent_MakeAvailable(GTest)
