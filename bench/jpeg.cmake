# JPEG decoding: jpeg2bmp against the reference decoder on one 6000 x 4000 picture.
#   cmake --build build --target bench-jpeg
find_package(JPEG REQUIRED)
find_program(MURELIN_BENCH_DJPEG djpeg REQUIRED)
add_executable(jpeg_bench ${CMAKE_CURRENT_LIST_DIR}/jpeg_bench.cpp)
target_link_libraries(jpeg_bench PRIVATE murelin_options JPEG::JPEG)
set_target_properties(jpeg_bench PROPERTIES AUTOMOC OFF)
add_custom_target(bench-jpeg
    COMMAND jpeg_bench $<TARGET_FILE:jpeg2bmp> ${MURELIN_BENCH_DJPEG}
    DEPENDS jpeg_bench jpeg2bmp
    USES_TERMINAL)
