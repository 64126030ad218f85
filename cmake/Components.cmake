# tavrin21_add_component(NAME [STATIC|SHARED|MODULE] [OUTPUT_NAME file] [EXPORTS base]
#                        [VERSION v SOVERSION s] SOURCES a.cpp ... [PUBLIC libs...] [PRIVATE libs...])
# Every library of the project: tavrin21_NAME with the alias tavrin21::NAME, built with the
# project's warnings, exporting include/ (the public headers) and its own folder's headers, as
# "folder/x.h", to its users; the headers of a folder it does not link to stay out of reach.
#   STATIC (the default): one library per folder, libtavrin21_NAME.a.
#   SHARED, MODULE: the file is OUTPUT_NAME (default NAME), compiled with OUTPUT_NAME_BUILDING
#     defined in upper case (FRAMEWORK_BUILDING, ...), which makes framework/platform/export.h
#     export the library's own symbols. A module has no lib prefix (tavrin21.so, as the host
#     looks it up).
#   EXPORTS base: only what base.def (Windows) or base.map (a version script elsewhere) lets out
#     leaves the library, and it may leave no symbol undefined.
# tavrin21_folder_headers(VAR): sets VAR to an include folder in which the current source folder's
# headers, and only they, are found by their root-relative names ("host/x.h", "tests/support/x.h"):
# a folder of the build holding a link to the source folder under that name.
function(tavrin21_folder_headers var)
    cmake_path(RELATIVE_PATH CMAKE_CURRENT_SOURCE_DIR BASE_DIRECTORY ${PROJECT_SOURCE_DIR}
               OUTPUT_VARIABLE folder)
    string(REPLACE "/" "_" id ${folder})
    set(headers ${PROJECT_BINARY_DIR}/headers/${id})
    cmake_path(GET folder PARENT_PATH parent)
    file(MAKE_DIRECTORY ${headers}/${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${headers}/${folder} SYMBOLIC)
    set(${var} ${headers} PARENT_SCOPE)
endfunction()

function(tavrin21_add_component name)
    cmake_parse_arguments(C "STATIC;SHARED;MODULE" "OUTPUT_NAME;EXPORTS;VERSION;SOVERSION"
                          "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    if(C_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "tavrin21_add_component(${name}): unknown arguments ${C_UNPARSED_ARGUMENTS}")
    endif()
    set(kind STATIC)
    foreach(k SHARED MODULE)
        if(C_${k})
            set(kind ${k})
        endif()
    endforeach()
    set(target tavrin21_${name})
    add_library(${target} ${kind} ${C_SOURCES})
    add_library(tavrin21::${name} ALIAS ${target})
    tavrin21_folder_headers(folder_headers)
    target_include_directories(${target} PUBLIC ${folder_headers} ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${target} PUBLIC ${C_PUBLIC} PRIVATE ${C_PRIVATE} tavrin21::warnings)

    if(kind STREQUAL "STATIC")
        return()
    endif()
    if(NOT C_OUTPUT_NAME)
        set(C_OUTPUT_NAME ${name})
    endif()
    string(TOUPPER ${C_OUTPUT_NAME}_BUILDING building)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${C_OUTPUT_NAME})
    target_compile_definitions(${target} PRIVATE ${building})
    if(kind STREQUAL "MODULE")
        set_target_properties(${target} PROPERTIES PREFIX "")
    endif()
    if(C_VERSION)
        set_target_properties(${target} PROPERTIES VERSION ${C_VERSION} SOVERSION ${C_SOVERSION})
    endif()
    if(C_EXPORTS)
        cmake_path(ABSOLUTE_PATH C_EXPORTS BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        if(WIN32)
            tavrin21_windows_exports(${target} ${C_EXPORTS}.def)
        else()
            set_target_properties(${target} PROPERTIES LINK_DEPENDS ${C_EXPORTS}.map)
            target_link_options(${target} PRIVATE -Wl,--version-script=${C_EXPORTS}.map
                                -Wl,--no-undefined)
        endif()
    endif()
endfunction()
