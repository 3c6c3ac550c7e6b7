# Test helpers shared by every tests/<subsystem>/CMakeLists.txt.
#
#   murelin_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS unit])
#   murelin_add_qtest(NAME SOURCES a.cpp LIBS lib1 [LABELS window])
#
# GoogleTest executables are registered one ctest test per executable (label "unit" unless
# given); Qt Test executables run under the offscreen platform (label "window").
find_package(GTest REQUIRED)

function(murelin_add_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE murelin_options GTest::gtest GTest::gtest_main ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_LABELS)
        set(T_LABELS unit)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300)
    if(T_ENV)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
    endif()
endfunction()

function(murelin_add_qtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE murelin_options Qt6::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_LABELS)
        set(T_LABELS window)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV}")
endfunction()

# murelin_add_gtest_as_user(NAME TARGET FILTER): the cases of TARGET matching the GoogleTest
# FILTER, run again as an ordinary user id when the tests run as root (as CI does), where
# file permissions would not bind and those cases skip themselves; run directly otherwise.
function(murelin_add_gtest_as_user name target filter)
    add_test(NAME ${name} COMMAND sh -c [[
if [ "$(id -u)" = 0 ]; then
    exec setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
fi
exec "$@"]] sh $<TARGET_FILE:${target}> --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES LABELS unit TIMEOUT 300)
endfunction()
