# Cross build of the shipped program for 32-bit Windows. SSE2 floating point because x87 code
# keeps excess precision and skips the rounding of the period product (0.57 s would become
# 569 ms instead of 570).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELMORA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
