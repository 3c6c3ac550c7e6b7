# The program's resident memory idle in the tray and while applying a 3840 x 2160 bitmap, with
# the time from a click on its icon until the X11 root shows the picture, on a private Xvfb
# with a tray.
#   cmake --build build --target bench-rotation
if(TARGET murelin AND TARGET rotation_e2e_tool)
    add_custom_target(bench-rotation
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-xvfb --tray
            ${CMAKE_CURRENT_LIST_DIR}/rotation_bench.sh $<TARGET_FILE:murelin>
            $<TARGET_FILE:rotation_e2e_tool>
        DEPENDS murelin rotation_e2e_tool
        USES_TERMINAL)
endif()
