# The universal Mac package: the macos-x86_64 and macos-arm64 builds (Zig,
# Apple's headers) joined into one program with llvm-lipo, packed as
# OUT/korvex-VERSION-macos-universal.tar.gz with the manual, LICENSE and
# README.txt for Mac users.
#   cmake -DSOURCE_DIR=... -DWORK=... -DOUT=... -DVERSION=... -P cmake/macos_universal.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/source_date.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/platform_build.cmake)
find_program(LIPO NAMES llvm-lipo llvm-lipo-16 llvm-lipo-15 llvm-lipo-14 lipo REQUIRED)
foreach(arch x86_64 arm64)
  korvex_platform_build(macos-${arch} ${WORK}/macos-${arch})
endforeach()
set(arm ${WORK}/macos-arm64)
# the arm64 build packs the joined program in its place
execute_process(COMMAND ${LIPO} -create ${WORK}/macos-x86_64/korvex ${arm}/korvex -output ${arm}/korvex-universal
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${LIPO} -create failed")
endif()
file(RENAME ${arm}/korvex-universal ${arm}/korvex)
korvex_pack(${arm} TGZ -D CPACK_PACKAGE_FILE_NAME=korvex-${VERSION}-macos-universal)
file(MAKE_DIRECTORY ${OUT})
file(COPY ${arm}/packages/korvex-${VERSION}-macos-universal.tar.gz DESTINATION ${OUT})
message(STATUS "${OUT}/korvex-${VERSION}-macos-universal.tar.gz")
