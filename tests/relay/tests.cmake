# The relay on loopback: one room played through it (with its status page, a
# bad limits file and its end on SIGTERM), hostile clients while an honest
# room plays through it, and several relays behind one nginx that routes by
# room code. relay_poke is every client these need.
find_package(Python3 COMPONENTS Interpreter)
find_package(Boost 1.74 QUIET)
find_package(Threads)
if(NOT Python3_Interpreter_FOUND OR NOT Boost_FOUND OR NOT TARGET volleen-relay
   OR NOT TARGET relay_load)
  return()
endif()

add_executable(relay_poke ${CMAKE_CURRENT_LIST_DIR}/poke/relay_poke.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/poke/clients.cpp
                          ${CMAKE_CURRENT_LIST_DIR}/poke/play.cpp
                          ${CMAKE_SOURCE_DIR}/src/online/protocol.cpp)
target_include_directories(relay_poke PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(relay_poke PRIVATE PkgConfig::ENET Boost::headers Threads::Threads)

add_test(NAME relay_smoke
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/smoke.py
                 --relay $<TARGET_FILE:volleen-relay> --poke $<TARGET_FILE:relay_poke>)
set_tests_properties(relay_smoke PROPERTIES LABELS "e2e;online" TIMEOUT 120)

add_test(NAME relay_hostile
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/hostile.py
                 --relay $<TARGET_FILE:volleen-relay> --poke $<TARGET_FILE:relay_poke>
                 --load $<TARGET_FILE:relay_load>)
set_tests_properties(relay_hostile PROPERTIES LABELS "e2e;online" TIMEOUT 150)

add_test(NAME relay_routing
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/routing.py
                 --relay $<TARGET_FILE:volleen-relay> --poke $<TARGET_FILE:relay_poke>
                 --config ${CMAKE_SOURCE_DIR}/docs/relays-nginx.conf)
set_tests_properties(relay_routing PROPERTIES LABELS "e2e;online" TIMEOUT 60 SKIP_RETURN_CODE 77)
