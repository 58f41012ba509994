# Linux on x86-64 with musl instead of glibc, linked statically, with Zig:
# a second C library. Its programs run here, so the build is a native one
# (no system name set): every suite runs, against the sources of
# GoogleTest (the host's libraries, built for glibc, are not searched).
set(KORVEX_ZIG_TARGET x86_64-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/zig.cmake)
set(CMAKE_FIND_ROOT_PATH ${zig_home}/lib)
