# The registry file's reader on continued hex lines: 20,000, 40,000 and 80,000 of them.
add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp)
target_link_libraries(registry_bench PRIVATE murelin_platform murelin_options)
set_target_properties(registry_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_target(bench-registry COMMAND $<TARGET_FILE:registry_bench> DEPENDS registry_bench
    USES_TERMINAL)
