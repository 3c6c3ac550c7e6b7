# The Windows backend of platform/. Included by platform/CMakeLists.txt, which builds
#   murelin_platform      from MURELIN_PLATFORM_WIN32_SOURCES (no toolkit; cross-built and
#                         tested under wine, tests/win32/),
#   murelin_desktop       from MURELIN_DESKTOP_WIN32_SOURCES (the system's wallpaper call).
set(murelin_win32_dir ${CMAKE_CURRENT_LIST_DIR})

set(MURELIN_PLATFORM_WIN32_SOURCES
    ${murelin_win32_dir}/../common/registry_override.cpp
    ${murelin_win32_dir}/windows_headers.h
    ${murelin_win32_dir}/registry.cpp
    ${murelin_win32_dir}/instance_guard.cpp
    ${murelin_win32_dir}/path_split.h
    ${murelin_win32_dir}/paths.cpp
    ${murelin_win32_dir}/atomic_file.cpp
    ${murelin_win32_dir}/large_block.cpp
    ${murelin_win32_dir}/tray_record.h
    ${murelin_win32_dir}/tray_record.cpp
    ${murelin_win32_dir}/dropped_files.h
    ${murelin_win32_dir}/dropped_files.cpp
    ${murelin_win32_dir}/win_help.h
    ${murelin_win32_dir}/win_help.cpp)

set(MURELIN_DESKTOP_WIN32_SOURCES
    ${murelin_win32_dir}/desktop_wallpaper.cpp)
