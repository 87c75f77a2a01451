# Links the game with one platform backend (platform_sdl or platform_headless).
function(volleen_link_game target backend)
  target_link_libraries(${target} PRIVATE volleen_game ${backend})
endfunction()
