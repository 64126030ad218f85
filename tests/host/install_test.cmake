# Installs the build into PREFIX and runs the installed program: it must report the installed
# module, and calculate the example items from the installed example library exactly as the
# program in the build tree does, without reaching back into the build tree.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE error)
if(failed)
    message(FATAL_ERROR "cmake --install failed: ${error}")
endif()

set(program ${PREFIX}/bin/tavrin21-host)
execute_process(COMMAND ${program} --version OUTPUT_VARIABLE version RESULT_VARIABLE failed)
if(failed OR NOT version MATCHES "module 1\\.0\\.0\\.1 \\(${PREFIX}/lib/tavrin21/tavrin21\\.so\\)")
    message(FATAL_ERROR "the installed program does not find its installed module:\n${version}")
endif()

execute_process(COMMAND ${program} calc --items ${ITEMS} --format csv
                OUTPUT_VARIABLE installed RESULT_VARIABLE failed ERROR_VARIABLE error)
if(failed)
    message(FATAL_ERROR "the installed program failed: ${error}")
endif()
execute_process(COMMAND ${BUILD_DIR}/bin/tavrin21-host calc --items ${ITEMS} --format csv OUTPUT_VARIABLE built)
if(NOT installed STREQUAL built)
    message(FATAL_ERROR "installed:\n${installed}\nbuilt:\n${built}")
endif()

find_program(READELF readelf)
if(READELF)
    foreach(file bin/tavrin21-host lib/tavrin21/tavrin21.so lib/tavrin21/libmorvik.so lib/tavrin21/libframework.so.1)
        execute_process(COMMAND ${READELF} -d ${PREFIX}/${file} OUTPUT_VARIABLE dynamic)
        string(FIND "${dynamic}" "${BUILD_DIR}" found)
        if(NOT found EQUAL -1)
            message(FATAL_ERROR "${file} still searches the build tree:\n${dynamic}")
        endif()
    endforeach()
endif()
file(REMOVE_RECURSE ${PREFIX})
