# The wave reader under libFuzzer for a minute (needs clang++).
add_test(NAME fuzz_wave COMMAND ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer wave 60 ${CMAKE_BINARY_DIR}/fuzz)
set_tests_properties(fuzz_wave PROPERTIES LABELS fuzz TIMEOUT 300)
