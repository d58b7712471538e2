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
    endif()
endfunction()
