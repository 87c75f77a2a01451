# The relay on loopback: one room played through it by a small client
# (host on UDP, guest on WebSocket, a watcher, a refused third), its
# status page, and its ending on SIGTERM.
find_package(Python3 COMPONENTS Interpreter)
find_package(Boost 1.74 QUIET)
find_package(Threads)
if(NOT Python3_Interpreter_FOUND OR NOT TARGET volleen-relay)
  return()
endif()

add_executable(relay_client ${CMAKE_CURRENT_LIST_DIR}/client/relay_client.cpp
                            ${CMAKE_SOURCE_DIR}/src/online/protocol.cpp)
target_include_directories(relay_client PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(relay_client PRIVATE Boost::headers PkgConfig::ENET Threads::Threads)
# GCC 12 with the sanitizers sees an uninitialised optional inside Beast's
# response parser (the client's handshake) that is not there.
target_compile_options(relay_client PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)

add_test(NAME relay_smoke
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/smoke.py
                 --relay $<TARGET_FILE:volleen-relay> --client $<TARGET_FILE:relay_client>)
set_tests_properties(relay_smoke PROPERTIES LABELS "e2e;online" TIMEOUT 120)
