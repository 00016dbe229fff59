# Cross build for Windows with Debian's MinGW-w64, linked statically so that
# quilvex.exe needs no MinGW DLL beside it. The toolchain file that includes
# this one names the target in QUILVEX_MINGW_TARGET.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QUILVEX_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILVEX_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILVEX_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILVEX_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
