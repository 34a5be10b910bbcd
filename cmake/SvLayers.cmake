# The host runtime's areas are layers: each may include the headers of the areas it declares
# (and theirs, transitively), never those above it. Areas are object libraries linked into the one
# runtime library; the declarations below are checked over the include graph at every build.
#   sv_runtime_area(<area> [DEPENDS <area>...])
# `acad` holds the status and result codes every area shares; it is header-only and always allowed.
function(sv_runtime_area area)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    get_property(known GLOBAL PROPERTY SV_RUNTIME_AREAS)
    foreach(dep IN LISTS ARG_DEPENDS)
        if(NOT dep IN_LIST known)
            message(FATAL_ERROR "runtime area ${area} depends on ${dep}, which is not declared "
                                "before it")
        endif()
    endforeach()
    add_library(sv_rt_${area} OBJECT)
    target_include_directories(sv_rt_${area} PRIVATE
        ${PROJECT_SOURCE_DIR}/host/include ${PROJECT_SOURCE_DIR}/host/runtime)
    target_sources(sv_host_runtime PRIVATE $<TARGET_OBJECTS:sv_rt_${area}>)
    set_property(GLOBAL APPEND PROPERTY SV_RUNTIME_AREAS ${area})
    string(JOIN " " line ${area} ${ARG_DEPENDS})
    set_property(GLOBAL APPEND PROPERTY SV_RUNTIME_LAYERS "${line}")
endfunction()

# sv_check_layers(<target> ROOTS <folder>...): writes the declared layers to a file and has
# <target> check the include graph below the folders (each holding one subfolder per area)
# whenever a header or source there changes.
function(sv_check_layers target)
    cmake_parse_arguments(ARG "" "" "ROOTS" ${ARGN})
    get_property(layers GLOBAL PROPERTY SV_RUNTIME_LAYERS)
    string(REPLACE ";" "\n" text "${layers}")
    set(file ${CMAKE_CURRENT_BINARY_DIR}/runtime_layers.txt)
    file(WRITE ${file}.new "${text}\n")
    file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
    set(sources)
    foreach(root IN LISTS ARG_ROOTS)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${root}/*.h ${root}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/runtime_layers.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DLAYERS=${file} "-DROOTS=${ARG_ROOTS}"
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${file} ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
        COMMENT "Checking the host runtime's layers"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${stamp})
endfunction()
