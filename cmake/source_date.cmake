# SOURCE_DATE_EPOCH for a release made from SOURCE_DIR: as set, or the
# time of the commit checked out there.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_program(GIT git REQUIRED)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "no SOURCE_DATE_EPOCH and no commit to take it from")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
