# cmake -DROOT=<source dir> -P CheckLayers.cmake
# Fails when a file includes a project header from a layer it may not use. Project headers are
# included as "layer/file.h"; system and generated headers are not checked.
#   platform           -> platform
#   devices, chores,
#   volume             -> itself and platform
#   app                -> every layer
#   nusbdevice         -> itself (by bare name) and platform
cmake_policy(SET CMP0057 NEW) # IN_LIST in script mode
set(allowed_platform platform)
set(allowed_devices devices platform)
set(allowed_chores chores platform)
set(allowed_volume volume platform)
set(allowed_app app devices chores volume platform)
set(allowed_nusbdevice platform)
set(layers platform devices chores volume app)

set(violations "")
foreach(layer ${layers} nusbdevice)
    if(layer STREQUAL "nusbdevice")
        set(dir "${ROOT}/nusbdevice")
    else()
        set(dir "${ROOT}/src/${layer}")
    endif()
    file(GLOB_RECURSE files "${dir}/*.h" "${dir}/*.cpp")
    foreach(file ${files})
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
            if(header MATCHES "^([a-z_]+)/")
                set(target_layer "${CMAKE_MATCH_1}")
                if(target_layer IN_LIST layers AND NOT target_layer IN_LIST allowed_${layer})
                    file(RELATIVE_PATH shown "${ROOT}" "${file}")
                    string(APPEND violations "  ${shown}: ${layer} may not include \"${header}\"\n")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "Includes that run against the layers:\n${violations}")
endif()
