# korvex_platform_build(PRESET DIR): the program's own build of configure
# preset PRESET (no tests) in DIR, from SOURCE_DIR; fatal on failure.
function(korvex_platform_build preset dir)
  file(REMOVE_RECURSE ${dir})
  foreach(step "--preset;${preset};-B;${dir};-DKORVEX_TESTS=OFF" "--build;${dir}")
    execute_process(COMMAND ${CMAKE_COMMAND} ${step} WORKING_DIRECTORY ${SOURCE_DIR}
                    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${preset}: cmake ${step} failed:\n${log}")
    endif()
  endforeach()
endfunction()

# korvex_pack(DIR GENERATOR [cpack arguments]): cpack in DIR, the packages
# in DIR/packages.
function(korvex_pack dir generator)
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G ${generator} -B ${dir}/packages ${ARGN} WORKING_DIRECTORY ${dir}
                  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${dir}: cpack -G ${generator} failed:\n${log}")
  endif()
endfunction()
