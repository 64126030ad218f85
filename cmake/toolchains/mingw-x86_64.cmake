# 64-bit Windows: the same sources, for running the tests under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVRIN21_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Test programs run under 64-bit Wine (scripts/wine-test.sh prepares its prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
