# Cross build for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEX_MINGW_TRIPLET x86_64-w64-mingw32)
set(KORVEX_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
