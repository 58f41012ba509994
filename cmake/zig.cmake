# What the builds with Zig share (the Mac builds, with Apple's headers and
# libSystem, and the static musl build): Zig itself (cmake/zig_fetch.cmake)
# and the compiler and archiver commands for the including toolchain
# file's target, KORVEX_ZIG_TARGET (with its lowest system version).
include(${CMAKE_CURRENT_LIST_DIR}/zig_fetch.cmake)
# a command for each tool: CMake takes a program, not a program and words
foreach(tool cc c++ ar ranlib)
  set(wrapper ${zig_home}/bin/${KORVEX_ZIG_TARGET}-${tool})
  if(tool MATCHES "^c")
    set(words "${tool} -target ${KORVEX_ZIG_TARGET}")
  else()
    set(words "${tool}")
  endif()
  if(NOT EXISTS ${wrapper})
    file(WRITE ${wrapper} "#!/bin/sh\nexec '${zig_home}/zig' ${words} \"$@\"\n")
    file(CHMOD ${wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                      WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
set(CMAKE_C_COMPILER ${zig_home}/bin/${KORVEX_ZIG_TARGET}-cc)
set(CMAKE_CXX_COMPILER ${zig_home}/bin/${KORVEX_ZIG_TARGET}-c++)
set(CMAKE_AR ${zig_home}/bin/${KORVEX_ZIG_TARGET}-ar CACHE FILEPATH "Zig's archiver")
set(CMAKE_RANLIB ${zig_home}/bin/${KORVEX_ZIG_TARGET}-ranlib CACHE FILEPATH "Zig's ranlib")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
