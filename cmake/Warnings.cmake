# Linked into every target of ours: warnings are errors everywhere.
add_library(tavrin21_warnings INTERFACE)
add_library(tavrin21::warnings ALIAS tavrin21_warnings)
target_compile_options(tavrin21_warnings INTERFACE -Wall -Wextra -Werror)
