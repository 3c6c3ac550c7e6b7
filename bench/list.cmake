# The picture list at 100,000 entries: start-up load, shutdown save, first paint.
add_executable(list_bench ${CMAKE_CURRENT_LIST_DIR}/list_bench.cpp)
target_link_libraries(list_bench PRIVATE murelin_qtshell murelin_platform murelin_desktop
    murelin_options)
set_target_properties(list_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_target(bench-list
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:list_bench>
    DEPENDS list_bench USES_TERMINAL)
