# The browser build: the game on the web backend, written as a static site
# into VOLLEEN_WEB_DIR. It takes the data folder and the baked font from a
# native build (VOLLEEN_NATIVE_BUILD), which `make web` makes first.
set(VOLLEEN_NATIVE_BUILD "" CACHE PATH "The native build holding data/ and the baked font")
set(VOLLEEN_WEB_DIR "" CACHE PATH "Where the site is written")
if(NOT VOLLEEN_NATIVE_BUILD OR NOT EXISTS ${VOLLEEN_NATIVE_BUILD}/generated/baked_font_data.cpp)
  message(FATAL_ERROR "VOLLEEN_NATIVE_BUILD must name a native build with the baked font")
endif()

volleen_folder_library(vl_shell shell)
volleen_folder_library(vl_graphics graphics)
volleen_folder_library(vl_input input)
volleen_folder_library(vl_sound sound)
volleen_folder_library(vl_match match)
volleen_folder_library(vl_frontend frontend)

# The shared platform pieces, without the native text rasteriser.
file(GLOB _common CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/common/*.cpp)
list(FILTER _common EXCLUDE REGEX ".*/text_raster\\.cpp$")
add_library(platform_common STATIC ${_common})
target_include_directories(platform_common PUBLIC ${CMAKE_SOURCE_DIR}/src)

volleen_folder_library(platform_web platform/web)
target_sources(platform_web PRIVATE ${VOLLEEN_NATIVE_BUILD}/generated/baked_font_data.cpp)

set(_web ${CMAKE_SOURCE_DIR}/src/platform/web)
add_executable(volleen ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
# wasm-ld resolves across archives in any order, so no link group is needed.
target_link_libraries(volleen PRIVATE vl_shell vl_frontend vl_match vl_graphics vl_input vl_sound
                                      platform_web platform_common)
set_target_properties(volleen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VOLLEEN_WEB_DIR}
                                         SUFFIX .js)
file(GLOB _data CONFIGURE_DEPENDS ${VOLLEEN_NATIVE_BUILD}/data/*)
target_link_options(volleen PRIVATE
  -sASYNCIFY -sASYNCIFY_IMPORTS=[volleen_wait] -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  -sEXPORTED_FUNCTIONS=[_main,_malloc,_free]
  -sEXPORTED_RUNTIME_METHODS=[callMain,UTF8ToString]
  -lidbfs.js --js-library ${_web}/library_volleen.js --pre-js ${_web}/page.js
  # The pictures and sounds, read-only beside the page; no time stamp file.
  --preload-file ${VOLLEEN_NATIVE_BUILD}/data@/volleen --exclude-file *.generated)
set_property(TARGET volleen APPEND PROPERTY LINK_DEPENDS
  ${_web}/library_volleen.js ${_web}/page.js ${_data})
add_custom_command(TARGET volleen POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_web}/index.html ${VOLLEEN_WEB_DIR}/index.html)
