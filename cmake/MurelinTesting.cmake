# Test helpers shared by every tests/<subsystem>/CMakeLists.txt.
#
#   murelin_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS unit] [ENV A=1]
#                     [WRAPPER command...])
#   murelin_add_qtest(NAME SOURCES a.cpp LIBS lib1 [LABELS window] [ENV A=1])
#   murelin_add_test_tool(NAME SOURCES a.cpp LIBS lib1)
#   murelin_add_e2e(NAME [DISPLAY | DISPLAY_TRAY] ARGS arg... [TIMEOUT seconds])
#
# GoogleTest executables are registered one ctest test per executable (label "unit" unless
# given), started through WRAPPER when one is given; Qt Test executables run under the
# offscreen platform (label "window"). A test tool is a program the tests drive; it lands
# beside the tests in build/tests.
find_package(GTest REQUIRED)

function(murelin_add_test_tool name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE murelin_options ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()

function(murelin_add_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV;WRAPPER" ${ARGN})
    murelin_add_test_tool(${name} SOURCES ${T_SOURCES}
        LIBS GTest::gtest GTest::gtest_main ${T_LIBS})
    if(NOT T_LABELS)
        set(T_LABELS unit)
    endif()
    if(T_WRAPPER)
        add_test(NAME ${name} COMMAND ${T_WRAPPER} $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300)
    if(T_ENV)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
    endif()
endfunction()

function(murelin_add_qtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    murelin_add_test_tool(${name} SOURCES ${T_SOURCES} LIBS Qt6::Test ${T_LIBS})
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

# murelin_add_e2e(NAME [DISPLAY | DISPLAY_TRAY] ARGS arg... [TIMEOUT seconds]): the script
# NAME.sh of the calling folder, run with ARGS (usually $<TARGET_FILE:...> of the program and
# of its tools), on a private X server (DISPLAY) or one with a notification area
# (DISPLAY_TRAY) when asked; label "e2e", 120 seconds unless given.
function(murelin_add_e2e name)
    cmake_parse_arguments(T "DISPLAY;DISPLAY_TRAY" "TIMEOUT" "ARGS" ${ARGN})
    set(wrapper)
    if(T_DISPLAY_TRAY)
        set(wrapper ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --tray)
    elseif(T_DISPLAY)
        set(wrapper ${PROJECT_SOURCE_DIR}/scripts/with-xvfb)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_test(NAME ${name} COMMAND ${wrapper} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.sh ${T_ARGS})
    set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${T_TIMEOUT})
endfunction()
