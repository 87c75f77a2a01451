# The game as it is installed and packaged. Both reuse the built tree.
add_test(NAME install.prefix
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/installed_game_test.sh ${CMAKE_BINARY_DIR})
add_test(NAME install.package
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install.prefix install.package PROPERTIES LABELS install TIMEOUT 180)
