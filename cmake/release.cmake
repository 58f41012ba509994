# One release: every package of every platform this machine can build
# (the program's own build of each, no tests), into OUT with SHA256SUMS.
# The same commit makes the same bytes, in any folder at any time: the
# packages' times are SOURCE_DATE_EPOCH (the commit's time unless set),
# the builds map their folders' paths away, and cpack writes owners as
# root (cmake/package_tree.cmake sets the times of what it packs).
#   cmake -DSOURCE_DIR=... -DWORK=... -DOUT=... -P cmake/release.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/source_date.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/platform_build.cmake)
message(STATUS "release at SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH}")

# configure preset, the compiler it needs, the generators it packs with
set(platforms
  "default|c++|TGZ,DEB"
  "aarch64|aarch64-linux-gnu-g++|TGZ,DEB"
  "armhf|arm-linux-gnueabihf-g++|TGZ,DEB"
  "windows|x86_64-w64-mingw32-g++-posix|ZIP"
  "windows-x86|i686-w64-mingw32-g++-posix|ZIP")
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
foreach(platform IN LISTS platforms)
  string(REPLACE "|" ";" fields "${platform}")
  list(GET fields 0 preset)
  list(GET fields 1 compiler)
  list(GET fields 2 generators)
  string(REPLACE "," ";" generators "${generators}")
  find_program(found_${preset} ${compiler})
  if(NOT found_${preset})
    message(STATUS "${preset}: not built here (no ${compiler})")
    continue()
  endif()
  set(dir ${WORK}/${preset})
  korvex_platform_build(${preset} ${dir})
  foreach(generator IN LISTS generators)
    korvex_pack(${dir} ${generator})
  endforeach()
  file(GLOB made ${dir}/packages/korvex[-_]*.*)
  file(COPY ${made} DESTINATION ${OUT})
  message(STATUS "${preset}: built and packed")
endforeach()
# the Mac package, where Zig is here or npm can fetch it
find_program(NPM npm)
file(GLOB zig ${SOURCE_DIR}/build/zig-*/zig)   # (its version is cmake/zig_fetch.cmake's)
if(zig OR NPM)
  set(zig_cache $ENV{HOME}/.cache/zig)
  if(DEFINED ENV{ZIG_GLOBAL_CACHE_DIR})
    set(zig_cache $ENV{ZIG_GLOBAL_CACHE_DIR})
  endif()
  if(NOT EXISTS ${zig_cache})
    message(STATUS "macos: a first build: Zig builds its libraries for both Macs once, some minutes with no "
                   "output (then cached in ${zig_cache})")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -DWORK=${WORK} -DOUT=${OUT} -DVERSION=${VERSION}
                          -P ${CMAKE_CURRENT_LIST_DIR}/macos_universal.cmake RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the Mac package failed")
  endif()
else()
  message(STATUS "macos: not built here (no Zig, and no npm to fetch it)")
endif()
file(GLOB packages RELATIVE ${OUT} ${OUT}/korvex[-_]*)
list(SORT packages)
set(sums "")
foreach(package IN LISTS packages)
  file(SHA256 ${OUT}/${package} sum)
  string(APPEND sums "${sum}  ${package}\n")
endforeach()
file(WRITE ${OUT}/SHA256SUMS "${sums}")
message(STATUS "${OUT}:\n${sums}")
