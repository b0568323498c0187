# Writes one add_test per test suite of TEST_EXECUTABLE into OUTPUT.
execute_process(COMMAND ${TEST_EXECUTABLE} --gtest_list_tests
  OUTPUT_VARIABLE _listing RESULT_VARIABLE _result TIMEOUT 60)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} --gtest_list_tests failed: ${_result}")
endif()
string(REPLACE "\n" ";" _lines "${_listing}")
set(_content "")
foreach(_line IN LISTS _lines)
  if(_line MATCHES "^([A-Za-z0-9_]+)\\.$")
    set(_suite ${CMAKE_MATCH_1})
    string(APPEND _content
      "add_test(\"real_input.${_suite}\" \"${TEST_EXECUTABLE}\" \"--gtest_filter=${_suite}.*\")\n"
      "set_tests_properties(\"real_input.${_suite}\" PROPERTIES TIMEOUT 300 LABELS real_input)\n")
  endif()
endforeach()
if(_content STREQUAL "")
  message(FATAL_ERROR "${TEST_EXECUTABLE} lists no test suite")
endif()
file(WRITE ${OUTPUT} "${_content}")
