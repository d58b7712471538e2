# Compile settings shared by every Windows target of the project.

# The program waits on the system, never on its own loops: optimise for size. Each function and datum
# gets its own section so that the linker drops whatever nothing calls.
if(NOT MSVC)
    set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
    set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
endif()

function(tavimo_target_defaults target)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive-)
    else()
        # The shipped build too: a bounds-checked operator[], front() and back() cost next to nothing, and
        # an index gone wrong on hostile input then stops the program instead of reading past the end.
        target_compile_definitions(${target} PRIVATE _GLIBCXX_ASSERTIONS)
        target_compile_options(${target} PRIVATE -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=UTF-8
            -ffunction-sections -fdata-sections)
        # No MinGW runtime DLLs to carry beside the exe.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
        # A program not optimised whole (tavimo_link_time_optimised) links the machine code of the
        # libraries' fat objects.
        target_link_options(${target} PRIVATE
            $<$<NOT:$<BOOL:$<TARGET_PROPERTY:TAVIMO_WHOLE_PROGRAM>>>:-fno-lto>)
    endif()
endfunction()

# Link-time optimisation for what ships, and for the yardsticks measured against it. Libraries are
# compiled to both GCC's intermediate code and machine code ("fat" objects): the exe and the DLL are
# optimised whole, and the tests link the same libraries the ordinary way. One partition: with more,
# GCC 12 for MinGW stops with an internal compiler error (binds_to_current_def_p) on Tavimo.exe.
function(tavimo_link_time_optimised target)
    get_target_property(type ${target} TYPE)
    if(MSVC)
        set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
    elseif(type STREQUAL "STATIC_LIBRARY")
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-flto -ffat-lto-objects>)
    else()
        set_property(TARGET ${target} PROPERTY TAVIMO_WHOLE_PROGRAM ON)
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-flto>)
        target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-flto=auto -flto-partition=none>)
    endif()
endfunction()
