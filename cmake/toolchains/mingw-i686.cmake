# 32-bit Windows, the platform the module's host runs on.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAVRIN21_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
