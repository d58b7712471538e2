# System DLLs that the window's first paint and most switches never call are loaded the first time one
# of their functions is called (delay-load), not when the process starts: a switch then loads only what
# its chore uses. Each DLL becomes an interface target tavimo_dll_<name> to link instead of <name>.
#
# MSVC has /DELAYLOAD. GNU ld has no such option, but dlltool writes delay-import libraries whose thunks
# call the MinGW runtime's __delayLoadHelper2; the export list comes from the toolchain's own import
# library, so every function it imports is covered and none falls back to a load-time import.
#
# The process restricts its DLL search to the system folder before anything is loaded late (main.cpp),
# so a DLL of the same name beside the exe is never picked up.

if(NOT MSVC)
    find_program(TAVIMO_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
endif()

function(tavimo_delay_loaded_dll name)
    set(target tavimo_dll_${name})
    add_library(${target} INTERFACE)
    if(MSVC)
        target_link_libraries(${target} INTERFACE ${name} delayimp)
        target_link_options(${target} INTERFACE /DELAYLOAD:${name}.dll)
        return()
    endif()

    find_library(import_library NAMES lib${name}.a NO_CACHE REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} ${import_library}
                    OUTPUT_VARIABLE symbols ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
    set(exports "")
    foreach(import ${imports})
        string(REGEX REPLACE "^ I __imp_" "" export "${import}")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            # i686 symbols carry the C prefix underscore; the stdcall @N stays, --kill-at drops it from
            # the name looked up in the DLL.
            string(REGEX REPLACE "^_" "" export "${export}")
        endif()
        string(APPEND exports "    ${export}\n")
    endforeach()
    if(exports STREQUAL "")
        message(FATAL_ERROR "no exports found in ${import_library}")
    endif()

    set(folder ${CMAKE_BINARY_DIR}/delay_load)
    file(MAKE_DIRECTORY ${folder})
    set(def ${folder}/${name}.def)
    file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}")
    set(library ${folder}/lib${name}_delay.a)
    set(options --input-def ${def} --dllname ${name}.dll --output-delaylib ${library})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        list(APPEND options --kill-at)
    endif()
    execute_process(COMMAND ${TAVIMO_DLLTOOL} ${options} COMMAND_ERROR_IS_FATAL ANY)
    target_link_libraries(${target} INTERFACE ${library})
endfunction()

foreach(dll IN ITEMS comctl32 shell32 shlwapi ole32 oleaut32 winmm ws2_32 gdiplus wininet powrprof mpr version)
    tavimo_delay_loaded_dll(${dll})
endforeach()
