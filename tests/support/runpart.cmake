# Runs one share of a Qt Test program's test functions: every PARTS-th
# function from the PART-th on (0-based), so that a long program runs as
# PARTS tests side by side. New functions join a share by themselves.
#   cmake -DTEST=program -DPART=k -DPARTS=n -P runpart.cmake
execute_process(COMMAND "${TEST}" -functions OUTPUT_VARIABLE listed RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST} -functions: ${rc}")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z_0-9]*\\(\\)" functions "${listed}")
set(mine)
set(i 0)
foreach(f IN LISTS functions)
  math(EXPR share "${i} % ${PARTS}")
  if(share EQUAL PART)
    string(REPLACE "()" "" f "${f}")
    list(APPEND mine "${f}")
  endif()
  math(EXPR i "${i} + 1")
endforeach()
if(NOT mine)
  return()  # fewer functions than shares
endif()
execute_process(COMMAND "${TEST}" ${mine} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST} ${mine}: ${rc}")
endif()
