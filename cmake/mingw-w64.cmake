# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-thread
# flavour, which has std::thread). Used for the game and for the libraries of
# its dependency prefix alike (scripts/mingw-deps).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)
# Headers and libraries come from the cross sysroot and the dependency prefix
# (VOLLEEN_MINGW_PREFIX) only; programs (pkg-config, the generator) from the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw} ${VOLLEEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VOLLEEN_MINGW_PREFIX)
# pkg-config reads the prefix's and the cross sysroot's .pc files alone.
if(VOLLEEN_MINGW_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${VOLLEEN_MINGW_PREFIX}/lib/pkgconfig:/usr/${_mingw}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
