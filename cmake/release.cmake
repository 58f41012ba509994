# One release: every package of every platform this machine can build
# (the program's own build of each, no tests), into OUT with SHA256SUMS.
# The same commit makes the same bytes, in any folder at any time: the
# packages' times are SOURCE_DATE_EPOCH (the commit's time unless set),
# the builds map their folders' paths away, and cpack writes owners as
# root (cmake/package_tree.cmake sets the times of what it packs).
#   cmake -DSOURCE_DIR=... -DWORK=... -DOUT=... -P cmake/release.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_program(GIT git REQUIRED)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "no SOURCE_DATE_EPOCH and no commit to take it from")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
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
  file(REMOVE_RECURSE ${dir})
  foreach(step "--preset;${preset};-B;${dir};-DKORVEX_TESTS=OFF" "--build;${dir}")
    execute_process(COMMAND ${CMAKE_COMMAND} ${step} WORKING_DIRECTORY ${SOURCE_DIR}
                    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${preset}: cmake ${step} failed:\n${log}")
    endif()
  endforeach()
  foreach(generator IN LISTS generators)
    execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G ${generator} -B ${dir}/packages WORKING_DIRECTORY ${dir}
                    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${preset}: cpack -G ${generator} failed:\n${log}")
    endif()
  endforeach()
  file(GLOB made ${dir}/packages/korvex[-_]*.*)
  file(COPY ${made} DESTINATION ${OUT})
  message(STATUS "${preset}: built and packed")
endforeach()
file(GLOB packages RELATIVE ${OUT} ${OUT}/korvex[-_]*)
list(SORT packages)
set(sums "")
foreach(package IN LISTS packages)
  file(SHA256 ${OUT}/${package} sum)
  string(APPEND sums "${sum}  ${package}\n")
endforeach()
file(WRITE ${OUT}/SHA256SUMS "${sums}")
message(STATUS "${OUT}:\n${sums}")
