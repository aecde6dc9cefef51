# Runs one share of a Qt Test program: every PARTS-th item from the PART-th on
# (0-based), an item being one data row of a data-driven function or a whole
# function without data, so that a long program, and a long data-driven
# function within it, runs as PARTS tests side by side. New functions and
# rows join a share by themselves.
#   cmake -DTEST=program -DPART=k -DPARTS=n -P runpart.cmake
execute_process(COMMAND "${TEST}" -datatags OUTPUT_VARIABLE listed RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST} -datatags: ${rc}")
endif()
# One line per item: "Class function" or "Class function tag". A tag is
# passed as "function:tag" (Qt Test splits at the first colon, so a tag may
# hold colons); list separators in a tag are escaped for CMake's lists.
string(REPLACE ";" "\\;" listed "${listed}")
string(REPLACE "\n" ";" lines "${listed}")
set(mine)
set(i 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^[A-Za-z_][A-Za-z_0-9]* ([A-Za-z_][A-Za-z_0-9]*)( (.*))?$")
    continue()
  endif()
  set(item "${CMAKE_MATCH_1}")
  if(CMAKE_MATCH_2)
    set(item "${CMAKE_MATCH_1}:${CMAKE_MATCH_3}")
  endif()
  math(EXPR share "${i} % ${PARTS}")
  if(share EQUAL PART)
    list(APPEND mine "${item}")
  endif()
  math(EXPR i "${i} + 1")
endforeach()
if(NOT mine)
  return()  # fewer items than shares
endif()
execute_process(COMMAND "${TEST}" ${mine} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST}: ${rc}")
endif()
