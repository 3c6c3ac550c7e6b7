# The program's resident memory idle in the tray and while applying a 3840 x 2160 bitmap, with
# the time from a click on its icon until the X11 root shows the picture, the start-up times
# and the idle memory under a desktop's platform theme, on a private Xvfb with a tray.
#   cmake --build build --target bench-rotation
find_package(X11 REQUIRED)
add_executable(startup_probe EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp)
target_link_libraries(startup_probe PRIVATE murelin_options X11::X11)
set_target_properties(startup_probe PROPERTIES AUTOMOC OFF)
add_custom_target(bench-rotation
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-xvfb --tray
        ${CMAKE_CURRENT_LIST_DIR}/rotation_bench.sh $<TARGET_FILE:murelin>
        $<TARGET_FILE:rotation_e2e_tool> $<TARGET_FILE:startup_probe>
    DEPENDS murelin rotation_e2e_tool startup_probe
    USES_TERMINAL)

# The picture laid again when the screens change, and Next, on an X server with a tray.
#   cmake --build build --target bench-screens
add_custom_target(bench-screens
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-xvfb --tray
        ${CMAKE_CURRENT_LIST_DIR}/screens_bench.sh $<TARGET_FILE:murelin>
        $<TARGET_FILE:rotation_e2e_tool>
    DEPENDS murelin rotation_e2e_tool
    USES_TERMINAL)
