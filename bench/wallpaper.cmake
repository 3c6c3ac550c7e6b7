# Laying a 3840 x 2160 bitmap stretched on the X11 root: our wallpaper call (the four desktop
# values written, then the call) against feh --bg-scale on the same file, on a private Xvfb.
#   cmake --build build --target bench-wallpaper
find_package(X11 REQUIRED)
find_program(MURELIN_BENCH_FEH feh)
add_executable(wallpaper_bench ${CMAKE_CURRENT_LIST_DIR}/wallpaper_bench.cpp)
target_link_libraries(wallpaper_bench PRIVATE murelin_options murelin_desktop Qt6::Gui
    X11::X11)
set_target_properties(wallpaper_bench PROPERTIES AUTOMOC OFF)
if(MURELIN_BENCH_FEH)
    set(murelin_bench_feh ${MURELIN_BENCH_FEH})
else()
    set(murelin_bench_feh feh)
endif()
add_custom_target(bench-wallpaper
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-xvfb $<TARGET_FILE:wallpaper_bench>
        ${murelin_bench_feh}
    DEPENDS wallpaper_bench
    USES_TERMINAL)
