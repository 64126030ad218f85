# Linked into every target of ours: warnings are errors everywhere.
add_library(tavrin21_warnings INTERFACE)
add_library(tavrin21::warnings ALIAS tavrin21_warnings)
target_compile_options(tavrin21_warnings INTERFACE -Wall -Wextra -Werror)

# GCC 12's -Wrestrict reports overlapping copies inside std::string concatenation that cannot
# happen (GCC bug 105651) once optimisation inlines enough, as Release does; later GCCs fixed it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(tavrin21_warnings INTERFACE -Wno-restrict)
endif()
