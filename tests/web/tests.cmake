# The browser backend's plain parts, compiled natively: the baked font beside
# the rasteriser it must match, the key table beside the native one.
if(TARGET baked_font)
  add_executable(test_web_parts ${CMAKE_CURRENT_SOURCE_DIR}/web/native/baked_font_test.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/web/native/key_codes_test.cpp
                                ${CMAKE_SOURCE_DIR}/src/platform/web/baked_font.cpp
                                ${CMAKE_SOURCE_DIR}/src/platform/web/scancode_table.cpp
                                ${CMAKE_SOURCE_DIR}/src/platform/sdl/scancode_table.cpp
                                ${VOLLEEN_BAKED_FONT})
  target_include_directories(test_web_parts PRIVATE ${CMAKE_SOURCE_DIR}/src)
  volleen_link_game(test_web_parts platform_headless)
  target_link_libraries(test_web_parts PRIVATE GTest::gtest_main PkgConfig::SDL2)
  add_dependencies(test_web_parts baked_font)
  gtest_discover_tests(test_web_parts WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 30
                     PROPERTIES LABELS unit)
endif()

# The game in a real browser (Debian's Chromium through playwright-core), run
# where the toolchain is installed; `make test` builds the site first.
find_program(VOLLEEN_EMXX em++)
find_program(VOLLEEN_NODE node)
if(VOLLEEN_EMXX AND VOLLEEN_NODE AND EXISTS /usr/bin/chromium AND TARGET volleen-headless
   AND TARGET data)
  add_test(NAME web.browser
           COMMAND ${VOLLEEN_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/web/browser_test.js
                   --site ${CMAKE_BINARY_DIR}/web --runner $<TARGET_FILE:volleen-headless>
                   --data ${CMAKE_BINARY_DIR}/data)
  # Alone on the machine: it plays in real time.
  set_tests_properties(web.browser PROPERTIES RUN_SERIAL TRUE TIMEOUT 300 LABELS web)
endif()

# Online play in the browser through the relay on loopback: three pages (a
# room, its guest and a watcher), and a page against the native runner.
if(VOLLEEN_EMXX AND VOLLEEN_NODE AND EXISTS /usr/bin/chromium AND TARGET volleen-headless
   AND TARGET data AND TARGET volleen-relay)
  foreach(_scenario IN ITEMS rooms native)
    add_test(NAME web_online_${_scenario}
             COMMAND ${VOLLEEN_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/web/online_test.js ${_scenario}
                     --site ${CMAKE_BINARY_DIR}/web --relay $<TARGET_FILE:volleen-relay>
                     --runner $<TARGET_FILE:volleen-headless> --data ${CMAKE_BINARY_DIR}/data)
    set_tests_properties(web_online_${_scenario} PROPERTIES RUN_SERIAL TRUE TIMEOUT 240
                         LABELS "web;online")
  endforeach()
endif()
