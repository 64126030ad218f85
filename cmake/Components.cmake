# tavrin21_add_component(NAME SOURCES a.cpp ... [PUBLIC libs...] [PRIVATE libs...])
# One static library per folder, tavrin21_NAME with the alias tavrin21::NAME, built with the
# project's warnings and seeing the repository root and include/ as include paths.
function(tavrin21_add_component name)
    cmake_parse_arguments(C "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(tavrin21_${name} STATIC ${C_SOURCES})
    add_library(tavrin21::${name} ALIAS tavrin21_${name})
    target_include_directories(tavrin21_${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(tavrin21_${name} PUBLIC ${C_PUBLIC} PRIVATE ${C_PRIVATE} tavrin21::warnings)
endfunction()
