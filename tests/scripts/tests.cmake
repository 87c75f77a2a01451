# The checks CI runs before building, tested on planted faults.
add_test(NAME scripts.check_layers
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/check_layers_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(scripts.check_layers PROPERTIES LABELS unit TIMEOUT 60)
