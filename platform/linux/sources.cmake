# The Linux backend of platform/. Included by platform/CMakeLists.txt, which builds
#   murelin_platform      from MURELIN_PLATFORM_LINUX_SOURCES (no toolkit),
#   murelin_desktop       in wallpaper/ (the desktop's wallpaper call; Qt's image classes).
set(murelin_linux_dir ${CMAKE_CURRENT_LIST_DIR})

set(MURELIN_PLATFORM_LINUX_SOURCES
    ${murelin_linux_dir}/../common/registry_override.cpp
    ${murelin_linux_dir}/../common/xdg_folders.h
    ${murelin_linux_dir}/../common/xdg_folders.cpp
    ${murelin_linux_dir}/registry_file.h
    ${murelin_linux_dir}/registry_file.cpp
    ${murelin_linux_dir}/registry.cpp
    ${murelin_linux_dir}/instance_guard.cpp
    ${murelin_linux_dir}/paths.cpp
    ${murelin_linux_dir}/regular_file.h
    ${murelin_linux_dir}/atomic_file.cpp
    ${murelin_linux_dir}/large_block.cpp)

# The installed data folder as seen from the installed program's folder.
file(RELATIVE_PATH murelin_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_DATADIR}/murelin)
set_source_files_properties(${murelin_linux_dir}/paths.cpp PROPERTIES
    COMPILE_DEFINITIONS MURELIN_DATA_FROM_BIN="${murelin_data_from_bin}/")
