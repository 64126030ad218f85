# What differs when the project is built for Windows with mingw-w64 (cmake/toolchains/).

enable_language(RC)

# DLLs are named as the host and the loader look for them: tavrin21.dll, framework.dll,
# morvik.dll, not libframework.dll.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")

# Everything is linked -static (see the toolchain files); CMake would otherwise switch the link
# back to dynamic after a library it names by file, such as libodbc32.a, and the C++ runtime
# would then be imported from libstdc++-6.dll.
set(CMAKE_LINK_SEARCH_START_STATIC ON)
set(CMAKE_LINK_SEARCH_END_STATIC ON)

# Windows has no run path: the DLLs are installed beside the program, where the loader looks.
set(TAVRIN21_INSTALL_LIBDIR ${TAVRIN21_INSTALL_BINDIR})

# SQLGetInstalledDrivers lives in Windows' ODBC installer library.
set(ODBCINST_LIBRARY odbccp32 CACHE STRING "The ODBC installer library")

# Test programs are listed when the tests run (under Wine), not while they are built.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# Windows modules export what their .def file lists and nothing else.
function(tavrin21_windows_exports target def_file)
    target_sources(${target} PRIVATE ${def_file})
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${def_file})
endfunction()
