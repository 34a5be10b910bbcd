# cmake -DLAYERS=<file> -DROOTS=<folder;...> -P CheckLayers.cmake
# LAYERS holds a line per area: its name, then the areas it may include. Every header and source
# under ROOTS/<area>/ may include its own area, `acad`, and what its area reaches through the
# declarations; an include of any other area's header fails, naming the file and the include.
cmake_minimum_required(VERSION 3.25)

if(NOT LAYERS OR NOT ROOTS)
    message(FATAL_ERROR "usage: cmake -DLAYERS=<file> -DROOTS=<folders> -P CheckLayers.cmake")
endif()

file(STRINGS ${LAYERS} lines)
set(areas)
foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    string(REPLACE " " ";" words "${line}")
    list(POP_FRONT words area)
    if(area)
        list(APPEND areas ${area})
        set(direct_${area} ${words})
    endif()
endforeach()

# Reach of each area: itself and everything its declarations lead to. Declarations only name
# areas declared before them, so one pass in order is enough.
foreach(area IN LISTS areas)
    set(reach_${area} ${area} acad)
    foreach(dep IN LISTS direct_${area})
        list(APPEND reach_${area} ${reach_${dep}})
    endforeach()
    list(REMOVE_DUPLICATES reach_${area})
endforeach()

set(faults)
foreach(root IN LISTS ROOTS)
    file(GLOB children RELATIVE ${root} ${root}/*)
    foreach(area IN LISTS children)
        if(NOT IS_DIRECTORY ${root}/${area} OR area STREQUAL "acad")
            continue()
        endif()
        if(NOT area IN_LIST areas)
            list(APPEND faults "${root}/${area}: folder of no declared area")
            continue()
        endif()
        file(GLOB_RECURSE files ${root}/${area}/*.h ${root}/${area}/*.cpp)
        foreach(path IN LISTS files)
            file(STRINGS ${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
            foreach(include IN LISTS includes)
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" target
                       "${include}")
                # A first part that names no area is a folder of the includer's own.
                if(target IN_LIST areas AND NOT target IN_LIST reach_${area})
                    string(STRIP "${include}" include)
                    list(APPEND faults
                         "${path}: ${area} includes ${target} (${include}), which is not below it")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

if(faults)
    # NOTICE keeps each fault on one line; FATAL_ERROR would fold them.
    list(JOIN faults "\n" text)
    message(NOTICE "${text}")
    list(LENGTH faults count)
    message(FATAL_ERROR "The host's layers are broken in ${count} place(s)")
endif()
