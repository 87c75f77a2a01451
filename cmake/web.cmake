# The browser build: the game on the web backend, written as a static site
# into VOLLEEN_WEB_DIR. It takes the data folder and the baked font from a
# native build (VOLLEEN_NATIVE_BUILD), which `make web` makes first.
set(VOLLEEN_NATIVE_BUILD "" CACHE PATH "The native build holding data/ and the baked font")
set(VOLLEEN_WEB_DIR "" CACHE PATH "Where the site is written")
set(_baked ${VOLLEEN_NATIVE_BUILD}/generated/baked_font_data.cpp)
if(NOT VOLLEEN_NATIVE_BUILD OR NOT EXISTS ${_baked})
  message(FATAL_ERROR "VOLLEEN_NATIVE_BUILD must name a native build with the baked font")
endif()

set(_web ${CMAKE_SOURCE_DIR}/src/platform/web)
file(GLOB _web_sources CONFIGURE_DEPENDS ${_web}/*.cpp)
add_library(platform_web STATIC ${_web_sources} ${_baked})
target_link_libraries(platform_web PUBLIC platform_software)

add_executable(volleen ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
target_compile_definitions(volleen PRIVATE VOLLEEN_VERSION="${PROJECT_VERSION}"
                                          VOLLEEN_INSTALLED_DATA="${VOLLEEN_DATA_FROM_PROGRAM}")
volleen_link_game(volleen platform_web)
set_target_properties(volleen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VOLLEEN_WEB_DIR} SUFFIX .js)
# The page checks a room code the player types as the game does: the code's
# length and letters, read from their one home.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/online/protocol.h _room_letters
     REGEX "ROOM_CODE_ALPHABET\\[\\] = \"[A-Z]+\"")
file(STRINGS ${CMAKE_SOURCE_DIR}/src/online/protocol.h _room_length
     REGEX "ROOM_CODE_LETTERS = [0-9]+")
string(REGEX REPLACE ".*\"([A-Z]+)\".*" "\\1" _room_letters "${_room_letters}")
string(REGEX REPLACE ".*= ([0-9]+).*" "\\1" _room_length "${_room_length}")
if(NOT _room_letters MATCHES "^[A-Z]+$" OR NOT _room_length MATCHES "^[0-9]+$")
  message(FATAL_ERROR "the room code's letters were not found in src/online/protocol.h")
endif()
set(_room_code_js ${CMAKE_BINARY_DIR}/room_code.js)
file(WRITE ${_room_code_js}.new
     "var VolleenRoomCode = {letters: '${_room_letters}', length: ${_room_length}};\n")
configure_file(${_room_code_js}.new ${_room_code_js} COPYONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/online/protocol.h)

file(GLOB _data CONFIGURE_DEPENDS ${VOLLEEN_NATIVE_BUILD}/data/*)
target_link_options(volleen PRIVATE
  -sASYNCIFY -sASYNCIFY_IMPORTS=[volleen_wait] -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  -sEXPORTED_FUNCTIONS=[_main,_malloc,_free]
  -sEXPORTED_RUNTIME_METHODS=[callMain,UTF8ToString]
  # (SHELL: keeps the repeated --pre-js from being merged into one.)
  --js-library ${_web}/library_volleen.js "SHELL:--pre-js ${_room_code_js}" "SHELL:--pre-js ${_web}/page.js"
  # Online play: one WebSocket to a relay (net.cpp).
  -lwebsocket.js
  # The pictures and sounds, read-only beside the page; no time stamp file.
  --preload-file ${VOLLEEN_NATIVE_BUILD}/data@/volleen --exclude-file *.generated)
set_property(TARGET volleen APPEND PROPERTY LINK_DEPENDS
  ${_web}/library_volleen.js ${_web}/page.js ${_web}/index.html ${_web}/config.js ${_room_code_js}
  ${_data})
# The favicon is the desktop icon the generator draws.
add_custom_command(TARGET volleen POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_web}/index.html ${VOLLEEN_WEB_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_web}/config.js ${VOLLEEN_WEB_DIR}/config.js
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${VOLLEEN_NATIVE_BUILD}/icons/hicolor/32x32/apps/volleen.png ${VOLLEEN_WEB_DIR}/favicon.png)
