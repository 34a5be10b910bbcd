# Resource scripts become C++ tables at build time through svrc (host/tools/svrc). Dialogs, menus,
# bitmaps and cursors land in the table in the platform's binary layout; bitmap and cursor files
# are named like includes and are dependencies of the table.
#
#   sv_target_resources(<target> RC <file.rc> [INCLUDES <folder>...])
#       compiles the script and adds its table, with the exported SvResources(), to the target.
#       One script per target: the accessor is defined once.
#   sv_add_resource_module(<target> FILE <name.dll> RC <file.rc> [INCLUDES <folder>...])
#       a module that holds nothing but the script's resources.
function(sv_target_resources target)
    cmake_parse_arguments(ARG "" "RC" "INCLUDES" ${ARGN})
    if(NOT ARG_RC)
        message(FATAL_ERROR "sv_target_resources(${target}) needs RC <file.rc>")
    endif()
    get_filename_component(script "${ARG_RC}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(stem "${script}" NAME_WE)
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_rc.cpp")
    set(include_args)
    foreach(folder IN LISTS ARG_INCLUDES)
        get_filename_component(folder "${folder}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        list(APPEND include_args -I "${folder}")
    endforeach()
    add_custom_command(
        OUTPUT "${generated}"
        COMMAND svrc ${include_args} -o "${generated}" -d "${generated}.d" "${script}"
        DEPENDS svrc "${script}"
        DEPFILE "${generated}.d"
        COMMENT "Compiling resource script ${stem}.rc"
        VERBATIM)
    target_sources(${target} PRIVATE "${generated}")
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        # The runtime finds a program's own table among its dynamic symbols.
        set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
    endif()
endfunction()

function(sv_add_resource_module target)
    cmake_parse_arguments(ARG "" "FILE;RC" "INCLUDES" ${ARGN})
    sv_add_module(${target} FILE ${ARG_FILE})
    sv_target_resources(${target} RC ${ARG_RC} INCLUDES ${ARG_INCLUDES})
endfunction()
