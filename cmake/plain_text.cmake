# The manual page PAGE as plain text for Windows users in TEXT, with CR LF
# line ends: the placeholders marked <so> (bold and italics are gone in
# plain text), the examples as cmd runs them, then groff or mandoc
# without bold or underlining.
file(READ ${PAGE} page)
string(REGEX REPLACE "\n\\.IR base ([^ \n]+) ([^ \n]+)" "\n\\\\&<base>\\1\\2" page "${page}")
string(REGEX REPLACE "\n\\.IR base ([^ \n]+)" "\n\\\\&<base>\\1" page "${page}")
string(REGEX REPLACE "\\\\fI([a-z]+)\\\\fP" "<\\1>" page "${page}")
string(REGEX REPLACE "\n\\.BI (\"[^\"]*)\" ([a-z]+) \"([^\"]*)\"" "\n.B \\1<\\2>\\3\"" page "${page}")
string(REGEX REPLACE "\n\\.BI (\"[^\"]*)\" ([a-z]+)" "\n.B \\1<\\2>\"" page "${page}")
foreach(pair
    "korvex \\-\\-batch \"$name\"=korvex.exe \\-\\-batch sample"
    "printf '%s\\en0\\en' \"$name\" | korvex=> a.txt echo sample& >> a.txt echo 0& korvex.exe < a.txt"
    "\"echo \\(dq$name\\(dq | korvex\"=\"echo sample| korvex.exe\""
    "$ cat sample.dat=C:\\edata> type sample.dat"
    "$ korvex=C:\\edata> korvex.exe"
    "$ head \\-n 3 sample.imp=C:\\edata> type sample.imp"
    "    6.00  378.03\n=    6.00  378.03\n    ...\n"
    "\n.RB ( \"korvex < /\" ).=.")
  string(FIND "${pair}" "=" at)
  string(SUBSTRING "${pair}" 0 ${at} from)
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${pair}" ${at} -1 to)
  string(REPLACE "${from}" "${to}" page "${page}")
endforeach()
get_filename_component(dir ${TEXT} DIRECTORY)
file(WRITE ${dir}/korvex-windows.1 "${page}")
find_program(GROFF groff)
find_program(MANDOC mandoc)
if(GROFF)
  execute_process(COMMAND ${GROFF} -man -Tascii -P-c -P-b -P-u -P-o ${dir}/korvex-windows.1
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
elseif(MANDOC)
  execute_process(COMMAND ${MANDOC} -Tascii -Owidth=78 ${dir}/korvex-windows.1 OUTPUT_VARIABLE text RESULT_VARIABLE status)
  string(REGEX REPLACE ".\b" "" text "${text}")
else()
  message(FATAL_ERROR "neither groff nor mandoc: the manual cannot be made plain text")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "formatting ${PAGE} failed: ${status}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
