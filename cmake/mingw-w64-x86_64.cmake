# Cross build for 64-bit Windows. It builds the same code as the 32-bit program and exists so
# the Windows paths can be tested with 64-bit Wine on machines that cannot run 32-bit code.
# x86_64 uses SSE2 math already.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELMORA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
