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
