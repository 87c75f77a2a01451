# The real window: the SDL backend's scan-code table and picture scaling are
# compiled into the window test program (which otherwise links the headless
# backend), and the end-to-end checks run the real game and probes under Xvfb.
target_sources(test_window PRIVATE ${CMAKE_SOURCE_DIR}/src/platform/sdl/scancode_table.cpp
                                   ${CMAKE_SOURCE_DIR}/src/platform/sdl/picture_scale.cpp
                                   ${CMAKE_SOURCE_DIR}/src/platform/sdl/keyboard_layout.cpp)

add_executable(volleen-key-probe ${CMAKE_CURRENT_LIST_DIR}/probe/key_probe.cpp)
target_link_libraries(volleen-key-probe PRIVATE platform_sdl)
set_target_properties(volleen-key-probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

find_package(X11 REQUIRED)
add_executable(volleen-send-close ${CMAKE_CURRENT_LIST_DIR}/probe/send_close.cpp)
target_link_libraries(volleen-send-close PRIVATE X11::X11)
set_target_properties(volleen-send-close PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_test(NAME window.key_probe
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/probe_test.sh $<TARGET_FILE:volleen-key-probe>)
set_tests_properties(window.key_probe PROPERTIES LABELS window TIMEOUT 90)

add_executable(volleen-pointer-probe ${CMAKE_CURRENT_LIST_DIR}/probe/pointer_probe.cpp)
target_link_libraries(volleen-pointer-probe PRIVATE X11::X11)
set_target_properties(volleen-pointer-probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_test(NAME window.no_display COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/no_display_test.sh
                                        $<TARGET_FILE:volleen> ${CMAKE_BINARY_DIR}/data)
set_tests_properties(window.no_display PROPERTIES LABELS window TIMEOUT 30)
foreach(_mode quit close destroyed term sound options grab)
  add_test(NAME window.game_${_mode}
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/game_test.sh $<TARGET_FILE:volleen>
                   ${CMAKE_BINARY_DIR}/data ${_mode})
  set_tests_properties(window.game_${_mode} PROPERTIES LABELS window TIMEOUT 120)
endforeach()

add_test(NAME window.replay
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/replay_test.sh $<TARGET_FILE:volleen>
                 $<TARGET_FILE:volleen-headless> ${CMAKE_BINARY_DIR}/data)
set_tests_properties(window.replay PROPERTIES LABELS window TIMEOUT 180)

# The SDL backend's gamepads on SDL's virtual joysticks, in SDL's dummy video
# driver: no X server needed.
add_executable(test_sdl_pads ${CMAKE_CURRENT_LIST_DIR}/pads/sdl_pads_test.cpp)
target_include_directories(test_sdl_pads PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(test_sdl_pads PRIVATE platform_sdl GTest::gtest_main)
gtest_discover_tests(test_sdl_pads DISCOVERY_TIMEOUT 30
                     PROPERTIES LABELS unit)

# The frame clock on the window backend's real clock: no X server needed.
add_executable(test_sdl_clock ${CMAKE_CURRENT_LIST_DIR}/clock/sdl_clock_test.cpp)
target_include_directories(test_sdl_clock PRIVATE ${CMAKE_SOURCE_DIR}/src)
volleen_link_game(test_sdl_clock platform_sdl)
target_link_libraries(test_sdl_clock PRIVATE GTest::gtest_main)
gtest_discover_tests(test_sdl_clock DISCOVERY_TIMEOUT 30
                     PROPERTIES LABELS unit)

add_executable(volleen-draw-probe ${CMAKE_CURRENT_LIST_DIR}/probe/draw_probe.cpp)
target_link_libraries(volleen-draw-probe PRIVATE platform_sdl)
set_target_properties(volleen-draw-probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_test(NAME window.draw_probe
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/draw_probe_test.sh $<TARGET_FILE:volleen-draw-probe>)
set_tests_properties(window.draw_probe PROPERTIES LABELS window TIMEOUT 60)

# A whole game in the real window under valgrind (the ASan one runs with the
# sanitizer build, in e2e_sanitize).
find_program(VALGRIND_EXECUTABLE valgrind)
if(VALGRIND_EXECUTABLE)
  add_test(NAME window.valgrind_game
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/checked_game_test.sh valgrind $<TARGET_FILE:volleen>
                   ${CMAKE_BINARY_DIR}/data ${VALGRIND_EXECUTABLE})
  set_tests_properties(window.valgrind_game PROPERTIES LABELS "window;slow" TIMEOUT 600)
endif()

# The player's desktop: the focus taken mid-rally, an error in a message box,
# a pointer that moves only absolutely, the window remembered, F12, the menu
# at rest.
foreach(_mode pause nodata pointer remember shot idle)
  add_test(NAME window.comforts_${_mode}
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/comforts_test.sh $<TARGET_FILE:volleen>
                   ${CMAKE_BINARY_DIR}/data ${_mode})
  set_tests_properties(window.comforts_${_mode} PROPERTIES LABELS window TIMEOUT 120)
endforeach()
