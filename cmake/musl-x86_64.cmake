# Linux on x86-64 with musl instead of glibc, linked statically, with Zig:
# a second C library, whose programs run here.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEX_ZIG_TARGET x86_64-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
