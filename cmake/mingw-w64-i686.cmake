# Cross build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686).
# SSE2 for every float and double operation: each rounds to its own type,
# as on x86-64. Without it the x87 unit would keep intermediates wider, and
# the build refuses that (compute_point.cpp checks FLT_EVAL_METHOD).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KORVEX_MINGW_TRIPLET i686-w64-mingw32)
set(KORVEX_WINE_LOADER wine)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
