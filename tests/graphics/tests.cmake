# The bitmap loader under libFuzzer for a minute (needs clang++).
add_test(NAME fuzz_bitmap
         COMMAND ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer bitmap 60 ${CMAKE_BINARY_DIR}/fuzz)
set_tests_properties(fuzz_bitmap PROPERTIES LABELS fuzz TIMEOUT 300)
