# 64-bit Windows: the build that runs the tests under Wine.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QUILVEX_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
