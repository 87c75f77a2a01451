# End-to-end checks of the scripted runner on the whole game, run in the
# generated data folder.
# The runner's own parts, tested apart from the game.
if(TARGET volleen-headless)
  add_executable(test_runner ${CMAKE_CURRENT_SOURCE_DIR}/platform/runner/runner_test.cpp
                             ${CMAKE_SOURCE_DIR}/tools/headless/runner_options.cpp
                             ${CMAKE_SOURCE_DIR}/tools/headless/trace.cpp)
  target_include_directories(test_runner PRIVATE ${CMAKE_SOURCE_DIR}/src
                                                 ${CMAKE_SOURCE_DIR}/tools/headless)
  volleen_link_game(test_runner platform_headless)
  target_link_libraries(test_runner PRIVATE GTest::gtest_main)
  gtest_discover_tests(test_runner WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 30
                     PROPERTIES LABELS unit)
endif()

if(TARGET volleen-headless AND TARGET data)
  set(_check ${CMAKE_CURRENT_SOURCE_DIR}/platform/runner_check.cmake)
  set(_scripts ${CMAKE_CURRENT_SOURCE_DIR}/platform/scripts)
  function(volleen_runner_test name)
    set(_out ${CMAKE_BINARY_DIR}/runner-tests/${name})
    add_test(NAME runner.${name}
             COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:volleen-headless>
                     -DWORKDIR=${CMAKE_BINARY_DIR}/data -DOUTDIR=${_out} ${ARGN} -P ${_check})
    set_tests_properties(runner.${name} PROPERTIES LABELS e2e)
  endfunction()

  # --until stops the run in the first logo's pause with status 3.
  volleen_runner_test(until
    "-DARGS=--until|2000|--trace|@OUT@/trace.jsonl" -DSTATUS=3
    "-DLAST_LINE=^\\{\"t\":2000,\"ev\":\"until\"\\}$"
    "-DTRACE_HAS=^\\{\"t\":0,\"ev\":\"palette\",\"crc32\":\"4c44305c\"\\}$@@\"ev\":\"sleep\",\"ms\":5000@@\"op\":\"play\",\"file\":\"FIRE.WAV\",\"loop\":0")
  # Q in the menu ends the game by itself: the game's status and an exit line.
  volleen_runner_test(quit
    "-DARGS=--script|${_scripts}/quit.txt|--trace|@OUT@/trace.jsonl" -DSTATUS=0
    "-DLAST_LINE=^\\{\"t\":[0-9]+,\"ev\":\"exit\",\"code\":0\\}$"
    "-DTRACE_HAS=\"ev\":\"sleep\",\"ms\":7000")
  # A rally: frames with the match variables, screenshots, the mixed sound
  # (30000 ms at 11025 a second, plus the 44-byte header).
  volleen_runner_test(rally
    "-DARGS=--script|${_scripts}/rally.txt|--until|30000|--trace|@OUT@/trace.jsonl|--shots|@OUT@|--audio-out|@OUT@/audio.wav"
    -DSTATUS=3 "-DFILES=menu.bmp|play.bmp|audio.wav" -DWAV_BYTES=330794
    "-DTRACE_HAS=\"ev\":\"frame\",\"n\":1,\"MatchState\":2,.*\"GameMode\":1@@\"MatchState\":1,.*\"Ball1\":\\{\"x\":-?[0-9]+,\"y\":-?[0-9]+,\"xVelocity\":-?[1-9]@@\"op\":\"play\",\"file\":\"MENU.WAV\",\"loop\":1")
  # A bad script line: status 2 and the line named.
  volleen_runner_test(bad_script
    "-DARGS=--script|${_scripts}/bad_line.txt" -DSTATUS=2 "-DSTDERR=script line 3: ")
  volleen_runner_test(bad_argument "-DARGS=--until|soon" -DSTATUS=2 "-DSTDERR=--until")
  volleen_runner_test(missing_script
    "-DARGS=--script|${_scripts}/no_such_script.txt" -DSTATUS=2 "-DSTDERR=cannot read")
endif()

if(TARGET volleen-headless AND TARGET data)
  add_test(NAME runner.hostile_files
           COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/platform/hostile_files_test.sh
                   $<TARGET_FILE:volleen-headless> ${CMAKE_BINARY_DIR}/data)
  set_tests_properties(runner.hostile_files PROPERTIES LABELS e2e TIMEOUT 120)
endif()
