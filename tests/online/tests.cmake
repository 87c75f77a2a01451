# Online matches: two runners on loopback in real time, and a poking peer
# that says what a player's game would not.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND OR NOT TARGET volleen-headless)
  return()
endif()

add_executable(net_poke ${CMAKE_CURRENT_LIST_DIR}/poke/net_poke.cpp)
target_include_directories(net_poke PRIVATE ${CMAKE_SOURCE_DIR}/src)
volleen_link_game(net_poke platform_headless)

foreach(_scenario IN ITEMS match impaired desync hostile refused)
  add_test(NAME online_${_scenario}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/online.py ${_scenario}
                   --runner $<TARGET_FILE:volleen-headless> --poke $<TARGET_FILE:net_poke>
                   --data ${CMAKE_BINARY_DIR}/data --version ${PROJECT_VERSION})
  set_tests_properties(online_${_scenario} PROPERTIES LABELS "e2e;online;realtime" TIMEOUT 300)
endforeach()

# Two real windows, each on its own Xvfb display.
find_program(XVFB_EXECUTABLE Xvfb)
find_program(XDOTOOL_EXECUTABLE xdotool)
if(XVFB_EXECUTABLE AND XDOTOOL_EXECUTABLE AND TARGET volleen)
  add_test(NAME online_windows
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/windows.py
                   --game $<TARGET_FILE:volleen> --data ${CMAKE_BINARY_DIR}/data)
  set_tests_properties(online_windows PROPERTIES LABELS "e2e;online;window" TIMEOUT 180 RUN_SERIAL TRUE)
endif()

# Four runners through the relay: host, guest, a watcher and a late watcher.
if(TARGET volleen-relay)
  add_test(NAME online_relay
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/relay.py
                   --relay $<TARGET_FILE:volleen-relay> --runner $<TARGET_FILE:volleen-headless>
                   --data ${CMAKE_BINARY_DIR}/data)
  set_tests_properties(online_relay PROPERTIES LABELS "e2e;online;realtime" TIMEOUT 300)
endif()
