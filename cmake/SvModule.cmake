# A module of the host: a shared library with hidden symbols, exported one by one, so that two
# modules never share the framework's statics through symbol interposition.
#   sv_add_module(<target> FILE <file name> SOURCES ...)
function(sv_add_module target)
    cmake_parse_arguments(ARG "" "FILE" "SOURCES" ${ARGN})
    add_library(${target} SHARED ${ARG_SOURCES})
    string(REGEX MATCH "\\.[^.]*$" suffix "${ARG_FILE}")
    string(REGEX REPLACE "\\.[^.]*$" "" base "${ARG_FILE}")
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        OUTPUT_NAME "${base}"
        SUFFIX "${suffix}"
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    target_link_libraries(${target} PRIVATE sv_host_runtime)
    if(NOT SV_SANITIZE)
        target_link_options(${target} PRIVATE -Wl,-z,defs)
    endif()
endfunction()
