# The Windows zip (`make windows`) under wine, where mingw-w64 and wine are
# installed: `make test` builds the zip before ctest runs these. A fixture
# unpacks it once and readies a wine prefix of the build's own.
find_program(VOLLEEN_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(VOLLEEN_WINE wine)
find_package(Python3 COMPONENTS Interpreter)
if(NOT VOLLEEN_MINGW_CXX OR NOT VOLLEEN_WINE OR NOT Python3_Interpreter_FOUND)
  message(STATUS "Windows tests left out: needs mingw-w64, wine and python3")
  return()
endif()

set(VOLLEEN_WINDOWS_BUILD ${CMAKE_SOURCE_DIR}/build-windows CACHE PATH "Where `make windows` builds")
set(_zip ${VOLLEEN_WINDOWS_BUILD}/volleen-${PROJECT_VERSION}-windows-x64.zip)
set(_here ${CMAKE_CURRENT_LIST_DIR})
set(_work ${CMAKE_BINARY_DIR}/windows)
set(_game ${_work}/game/current)
set(_wine_env WINEPREFIX=${_work}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPATH=${_game})

add_test(NAME windows.unpack
         COMMAND ${Python3_EXECUTABLE} ${_here}/windows.py unpack --zip ${_zip} --into ${_work})
set_tests_properties(windows.unpack PROPERTIES FIXTURES_SETUP windows_game TIMEOUT 300)

add_test(NAME windows.golden
         COMMAND ${Python3_EXECUTABLE} ${_here}/windows.py golden --game ${_game}
                 --native-runner $<TARGET_FILE:volleen-headless> --data ${CMAKE_BINARY_DIR}/data
                 --script ${CMAKE_SOURCE_DIR}/tests/e2e/golden/two_player_match.script)
set_tests_properties(windows.golden PROPERTIES TIMEOUT 600)

# The unit tests that hold everywhere, as Windows programs; the DLLs they
# need are the game's.
add_test(NAME windows.unit COMMAND ${VOLLEEN_WINE} ${VOLLEEN_WINDOWS_BUILD}/test_common.exe)
set_tests_properties(windows.unit PROPERTIES TIMEOUT 120)

# Scenarios of the native end-to-end tests that read and write files:
# keys.dat saved and read back, replays recorded, played back and refused.
foreach(_scenario IN ITEMS redefine_keys music_switch split)
  add_test(NAME windows.e2e_${_scenario}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.py ${_scenario}
                   --runner ${_game}/volleen-headless.exe --data ${CMAKE_BINARY_DIR}/data
                   --wrapper ${VOLLEEN_WINE})
  set_tests_properties(windows.e2e_${_scenario} PROPERTIES TIMEOUT 300)
endforeach()
add_test(NAME windows.e2e_replays
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/replays.py
                 --runner ${_game}/volleen-headless.exe --data ${CMAKE_BINARY_DIR}/data
                 --wrapper ${VOLLEEN_WINE})
set_tests_properties(windows.e2e_replays PROPERTIES TIMEOUT 300)

find_program(XVFB_EXECUTABLE Xvfb)
find_program(XDOTOOL_EXECUTABLE xdotool)
if(XVFB_EXECUTABLE AND XDOTOOL_EXECUTABLE)
  add_test(NAME windows.smoke
           COMMAND sh ${_here}/smoke_test.sh ${_game} $<TARGET_FILE:volleen> ${CMAKE_BINARY_DIR}/data)
  set_tests_properties(windows.smoke PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()

get_property(_tests DIRECTORY PROPERTY TESTS)
list(FILTER _tests INCLUDE REGEX "^windows\\.")
set_tests_properties(${_tests} PROPERTIES LABELS windows ENVIRONMENT "${_wine_env}")
list(REMOVE_ITEM _tests windows.unpack)
set_tests_properties(${_tests} PROPERTIES FIXTURES_REQUIRED windows_game)
