# The list editing commands at 100,000 entries: Sort, Remove of every other row, Up and Down at
# the end of the list, through the window and over the entries alone.
#   cmake --build build --target bench-editing
add_executable(editing_bench ${CMAKE_CURRENT_LIST_DIR}/editing_bench.cpp)
target_link_libraries(editing_bench PRIVATE murelin_qtshell murelin_platform murelin_desktop
    murelin_options)
set_target_properties(editing_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_target(bench-editing
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:editing_bench>
    DEPENDS editing_bench USES_TERMINAL)
