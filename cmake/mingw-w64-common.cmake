# What both Windows cross builds share. Included by the per-architecture toolchain files after
# they have set PELMORA_MINGW_TRIPLE.
#
# The posix thread-model compilers are used because the win32 model has no std::mutex and
# GoogleTest will not build with it. The run-time libraries are linked statically so the
# programs import only system DLLs and run from any folder, under Wine as on Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PELMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PELMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine through a wrapper that picks the Wine loader matching the
# program's architecture, the project's prepared prefix and the code page 936 locale.
get_filename_component(PELMORA_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../tools/wine/run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELMORA_WINE_RUN})
