# What both MinGW-w64 cross builds share; the including toolchain file sets
# CMAKE_SYSTEM_PROCESSOR and the compilers' triplet, KORVEX_MINGW_TRIPLET.
set(CMAKE_SYSTEM_NAME Windows)
# the POSIX thread model, which has std::mutex (GoogleTest needs it)
set(CMAKE_C_COMPILER ${KORVEX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVEX_MINGW_TRIPLET}-g++-posix)
# every executable static: no DLLs beyond the system's
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_RC_COMPILER ${KORVEX_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVEX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs built here run under Wine, started by the loader of their width
# itself (KORVEX_WINE_LOADER: wine64 or wine, where Debian puts them):
# Debian's wine script starts every program through the 32-bit loader
# wherever that is installed, and where the kernel cannot run it, none.
find_program(KORVEX_WINE ${KORVEX_WINE_LOADER} PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT KORVEX_WINE)
  set(KORVEX_WINE wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVEX_WINE})
