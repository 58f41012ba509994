# Installs into a fresh prefix, then checks what landed and lints the page.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(installed bin/korvex share/man/man1/korvex.1)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

# the installed program runs the example
file(COPY ${SOURCE_DIR}/examples/sample.dat DESTINATION ${prefix}/run)
file(WRITE ${prefix}/run/input "sample\n0\n")
execute_process(COMMAND ${prefix}/bin/korvex WORKING_DIRECTORY ${prefix}/run
                INPUT_FILE ${prefix}/run/input OUTPUT_QUIET RESULT_VARIABLE status)
file(SIZE ${prefix}/run/sample.imp table_size)
if(NOT status EQUAL 0 OR NOT table_size EQUAL 1440)
  message(FATAL_ERROR "installed korvex: status ${status}, table of ${table_size} bytes")
endif()

find_program(MANDOC mandoc)
find_program(GROFF groff)
if(MANDOC)
  execute_process(COMMAND ${MANDOC} -Tlint ${prefix}/share/man/man1/korvex.1
                  RESULT_VARIABLE status OUTPUT_VARIABLE lint ERROR_VARIABLE lint)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "mandoc -Tlint:\n${lint}")
  endif()
elseif(GROFF)
  execute_process(COMMAND ${GROFF} -mandoc -Tutf8 -ww -z ${prefix}/share/man/man1/korvex.1
                  RESULT_VARIABLE status ERROR_VARIABLE lint)
  if(NOT status EQUAL 0 OR NOT lint STREQUAL "")
    message(FATAL_ERROR "groff -ww:\n${lint}")
  endif()
else()
  message(STATUS "neither mandoc nor groff installed: the page was not linted")
endif()
file(REMOVE_RECURSE ${prefix})
