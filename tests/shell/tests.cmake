add_test(NAME shell.command_line
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/command_line_test.sh $<TARGET_FILE:volleen>
                 ${PROJECT_VERSION})
set_tests_properties(shell.command_line PROPERTIES LABELS e2e TIMEOUT 30)
