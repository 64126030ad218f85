# Shared by the mingw-w64 toolchain files; they set TAVRIN21_MINGW_TRIPLE first.
# The -posix compilers: with GCC 12 the -win32 thread model has no std::mutex or std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAVRIN21_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVRIN21_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVRIN21_MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw-w64 tree, and from TAVRIN21_WINDOWS_DEPS (GoogleTest
# built for the target, the header-only packages), never from the build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVRIN21_MINGW_TRIPLE} ${TAVRIN21_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVRIN21_WINDOWS_DEPS)

# Doubles in SSE2 registers, rounded to double after every operation as on every other build;
# the x87 unit would keep 80-bit intermediates.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# The C and C++ runtimes and winpthreads are linked in, so that a module needs no DLL but the
# system's. Only plain -static does that: -static-libgcc -static-libstdc++ still import
# libwinpthread-1.dll.
# No time stamp in the PE header: the same sources give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
