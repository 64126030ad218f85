# Installs the build into PREFIX and runs the installed program: it must report the installed
# module, and calculate the example items from the installed example library exactly as the
# program in the build tree does, without reaching back into the build tree.
#   PROGRAM and MODULE: where they lie below the prefix; EMULATOR: what runs the program, if
#   anything (wine for a Windows build).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE error)
if(failed)
    message(FATAL_ERROR "cmake --install failed: ${error}")
endif()

# The module's path as the program prints it, with either separator on Windows.
get_filename_component(prefix_name ${PREFIX} NAME)
string(REGEX REPLACE "[.]" "\\\\." module_pattern "${prefix_name}/${MODULE}")
string(REPLACE "/" "[/\\\\]" module_pattern "${module_pattern}")
execute_process(COMMAND ${EMULATOR} ${PREFIX}/${PROGRAM} --version
                OUTPUT_VARIABLE version RESULT_VARIABLE failed)
if(failed OR NOT version MATCHES "module 1\\.0\\.0\\.1 \\([^)]*${module_pattern}\\)")
    message(FATAL_ERROR "the installed program does not find its installed module:\n${version}")
endif()

# Under Wine the program finds its library as a Windows path (Z:\...), which the Linux driver
# behind Wine's ODBC32 cannot open: there each program's library is named as a Unix path.
if(EMULATOR)
    set(installed_library --primary ${PREFIX}/share/tavrin21/library.sqlite)
    set(built_library --primary ${BUILD_DIR}/bin/library.sqlite)
endif()
execute_process(COMMAND ${EMULATOR} ${PREFIX}/${PROGRAM} calc --items ${ITEMS} --format csv
                        ${installed_library}
                OUTPUT_VARIABLE installed RESULT_VARIABLE failed ERROR_VARIABLE error)
if(failed)
    message(FATAL_ERROR "the installed program failed: ${error}")
endif()
get_filename_component(program_name ${PROGRAM} NAME)
execute_process(COMMAND ${EMULATOR} ${BUILD_DIR}/bin/${program_name} calc --items ${ITEMS}
                        --format csv ${built_library} OUTPUT_VARIABLE built)
if(NOT installed STREQUAL built)
    message(FATAL_ERROR "installed:\n${installed}\nbuilt:\n${built}")
endif()

find_program(READELF readelf)
if(READELF AND NOT EMULATOR)
    foreach(file bin/tavrin21-host lib/tavrin21/tavrin21.so lib/tavrin21/libmorvik.so lib/tavrin21/libframework.so.1)
        execute_process(COMMAND ${READELF} -d ${PREFIX}/${file} OUTPUT_VARIABLE dynamic)
        string(FIND "${dynamic}" "${BUILD_DIR}" found)
        if(NOT found EQUAL -1)
            message(FATAL_ERROR "${file} still searches the build tree:\n${dynamic}")
        endif()
    endforeach()
endif()
file(REMOVE_RECURSE ${PREFIX})
