# The Windows build, cross-compiled with mingw-w64 (cmake/mingw-w64.cmake,
# scripts/mingw-deps, `make windows`): SDL's flags put right. The zip is
# made in packaging/windows/.

# SDL's pkg-config flags rename main() to SDL_main and link SDL2main, whose
# WinMain is then to call it. But the game has a WinMain of its own (the old
# program's name for its loop), which would become the entry point and ignore
# the command line. The game's main() stays the entry point: SDL is told so
# (SDL_MAIN_HANDLED, and SDL_SetMainReady in the backend), and the GUI
# subsystem comes from WIN32_EXECUTABLE where it is wanted.
foreach(_sdl PkgConfig::SDL2 PkgConfig::SDL2_TTF)
  foreach(_property INTERFACE_COMPILE_OPTIONS INTERFACE_LINK_OPTIONS INTERFACE_LINK_LIBRARIES)
    get_target_property(_values ${_sdl} ${_property})
    if(_values)
      list(FILTER _values EXCLUDE REGEX "^-Dmain=SDL_main$|^-mwindows$|^-l(SDL2main|mingw32)$|/lib(SDL2main|mingw32)\\.a$")
      set_property(TARGET ${_sdl} PROPERTY ${_property} "${_values}")
    endif()
  endforeach()
  set_property(TARGET ${_sdl} APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS SDL_MAIN_HANDLED)
endforeach()

# zlib (the screenshots' PNG) linked in, one DLL fewer to ship.
set(ZLIB_USE_STATIC_LIBS ON)

# mingw-w64 offers localtime_r (the replays' and screenshots' file names)
# when asked for the POSIX thread-safe calls.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L)

# GCC 12 at -O3 takes copies inlined from libstdc++ (a string's operator+, a
# vector growing) for overlapping, out-of-bounds or over-reading ones: its
# known false alarms (bugs 105329, 105651). mingw-w64's compiler raises them
# in more places than the native one, whose release build raises the first.
# They are kept out of the Windows build so that it stays warning-free under
# VOLLEEN_WERROR.
add_compile_options(-Wno-restrict -Wno-array-bounds -Wno-stringop-overread)
