# Cross build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686).
# SSE2 for every float and double operation: each rounds to its own type,
# as on x86-64. Without it the x87 unit would keep intermediates wider, and
# the build refuses that (compute_point.cpp checks FLT_EVAL_METHOD).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
# the POSIX thread model, which has std::mutex (GoogleTest needs it)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# every executable static: no DLLs beyond the system's
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs built here run under Wine (its 32-bit loader, wine32).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
