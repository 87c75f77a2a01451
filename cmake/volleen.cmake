# One static library per source folder; the folder's .cpp files are picked up
# by glob so that adding a file needs no edit here.
function(volleen_folder_library name folder)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  list(FILTER _sources EXCLUDE REGEX ".*/main\\.cpp$")
  if(NOT _sources)
    # A folder still being written: an empty unit keeps the library valid.
    set(_sources ${CMAKE_BINARY_DIR}/generated/empty.cpp)
    file(WRITE ${_sources} "")
  endif()
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

# Links the game code with one platform backend. The folders call one another
# (the start-up sequence calls every subsystem, the graphics use the shell's
# frame clock) and all of them call the backend, so they go in as one group.
function(volleen_link_game target backend)
  target_link_libraries(${target} PRIVATE
    "$<LINK_GROUP:RESCAN,vl_shell,vl_frontend,vl_match,vl_graphics,vl_input,vl_sound,${backend},platform_common,vl_common>")
endfunction()
