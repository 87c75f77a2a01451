# End-to-end tests: the whole game, run by scripts. The headless ones drive
# volleen-headless in fresh copies of the generated data folder; the window
# test drives the real game under Xvfb; valgrind and the sanitizers run a
# whole game from start to Q.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND OR NOT TARGET volleen-headless)
  message(STATUS "end-to-end tests left out: needs python3 and volleen-headless")
  return()
endif()

set(_e2e ${CMAKE_CURRENT_LIST_DIR})
set(_data ${CMAKE_BINARY_DIR}/data)
set(_runner $<TARGET_FILE:volleen-headless>)

foreach(_scenario IN ITEMS startup_and_quit one_player_match two_player_match points_and_serves
                           split match_to_ten escape_during_play redefine_keys music_switch
                           close_during_play close_anywhere menu_tune_in_the_mix
                           pads_two_players pad_one_player pad_menu pad_unplugged
                           taps pad_taps one_player_keys focus_pause odd_key_values)
  add_test(NAME e2e_${_scenario}
           COMMAND ${Python3_EXECUTABLE} ${_e2e}/e2e.py ${_scenario} --runner ${_runner} --data ${_data})
  set_tests_properties(e2e_${_scenario} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()

add_test(NAME e2e_golden_match
         COMMAND ${Python3_EXECUTABLE} ${_e2e}/e2e.py golden --runner ${_runner} --data ${_data}
                 --golden ${_e2e}/golden/two_player_match.jsonl)
set_tests_properties(e2e_golden_match PROPERTIES LABELS e2e TIMEOUT 300)

add_test(NAME e2e_replays
         COMMAND ${Python3_EXECUTABLE} ${_e2e}/replays.py --runner ${_runner} --data ${_data})
set_tests_properties(e2e_replays PROPERTIES LABELS e2e TIMEOUT 300)

find_program(VALGRIND_EXECUTABLE valgrind)
if(VALGRIND_EXECUTABLE)
  add_test(NAME e2e_valgrind
           COMMAND ${_e2e}/memcheck.sh ${VALGRIND_EXECUTABLE} ${_runner} ${_data})
  set_tests_properties(e2e_valgrind PROPERTIES LABELS "e2e;slow" TIMEOUT 900)
endif()

find_program(XVFB_RUN_EXECUTABLE xvfb-run)
find_program(XDOTOOL_EXECUTABLE xdotool)
if(XVFB_RUN_EXECUTABLE AND XDOTOOL_EXECUTABLE)
  add_test(NAME e2e_window
           COMMAND ${Python3_EXECUTABLE} ${_e2e}/window.py --game $<TARGET_FILE:volleen> --data ${_data})
  set_tests_properties(e2e_window PROPERTIES LABELS "e2e;window" TIMEOUT 180 RUN_SERIAL TRUE)
endif()

# A separate build with AddressSanitizer and UBSan, then a whole game in it.
add_test(NAME e2e_sanitize
         COMMAND ${_e2e}/sanitize.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/sanitize ${_data})
# The longest tests first (COST), so that none is left alone at the end. Not
# alone on the machine: its build takes what the others leave, and its two
# games wait on what they see, not on the clock.
set_tests_properties(e2e_sanitize PROPERTIES LABELS "e2e;slow" TIMEOUT 1500 COST 130)
