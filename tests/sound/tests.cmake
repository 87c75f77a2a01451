# The wave reader under libFuzzer for a minute (label "fuzz": `ctest -LE fuzz`
# leaves it out), once the generic runner is in the tree.
if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer)
  add_test(NAME fuzz_wave COMMAND ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer wave 60
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(fuzz_wave PROPERTIES TIMEOUT 600 LABELS fuzz)
endif()
