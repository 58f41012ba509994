# The manual page PAGE as plain text in TEXT, with CR LF line ends (for
# the Windows archive): groff or mandoc, without bold or underlining.
find_program(GROFF groff)
find_program(MANDOC mandoc)
if(GROFF)
  execute_process(COMMAND ${GROFF} -man -Tascii -P-c -P-b -P-u -P-o ${PAGE}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
elseif(MANDOC)
  execute_process(COMMAND ${MANDOC} -Tascii -Owidth=78 ${PAGE} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  string(REGEX REPLACE ".\b" "" text "${text}")
else()
  message(FATAL_ERROR "neither groff nor mandoc: the manual cannot be made plain text")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "formatting ${PAGE} failed: ${status}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
