# What users of the common desktops get, side by side in one run: idle memory under the
# desktop names GNOME, XFCE, KDE and none (and with the window shown), Next against
# feh --bg-scale on a 3840 x 2160 X screen, the memory around a Next of a 6000 x 4000 bitmap,
# the PNG for a 3840 x 2160 composed picture, and the JPEG figures on the disk and on a tmpfs.
#   cmake --build build --target bench-desktops
add_executable(png_bench ${CMAKE_CURRENT_LIST_DIR}/png_bench.cpp)
target_link_libraries(png_bench PRIVATE murelin_options murelin_desktop Qt6::Gui)
set_target_properties(png_bench PROPERTIES AUTOMOC OFF
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_custom_target(bench-desktops
    COMMAND ${CMAKE_COMMAND} -E env MURELIN_XVFB_SCREEN=3840x2160x24
        ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-xvfb --tray
        ${CMAKE_CURRENT_LIST_DIR}/desktop_bench.sh $<TARGET_FILE:murelin>
        $<TARGET_FILE:rotation_e2e_tool> $<TARGET_FILE:startup_probe> ${murelin_bench_feh}
    COMMAND png_bench
    COMMAND jpeg_bench $<TARGET_FILE:jpeg2bmp> ${MURELIN_BENCH_DJPEG} 7
    DEPENDS murelin rotation_e2e_tool startup_probe png_bench jpeg_bench jpeg2bmp
    USES_TERMINAL)
