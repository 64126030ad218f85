# Runs each SQL script of SCRIPTS ('|'-separated) against the SQLite file DATABASE, in order.
string(REPLACE "|" ";" scripts "${SCRIPTS}")
foreach(script IN LISTS scripts)
    execute_process(COMMAND ${SQLITE3} -bail ${DATABASE} INPUT_FILE ${script} RESULT_VARIABLE failed
                    ERROR_VARIABLE message)
    if(failed)
        message(FATAL_ERROR "${script}: ${message}")
    endif()
endforeach()
