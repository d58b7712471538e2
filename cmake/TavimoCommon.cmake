# Compile settings shared by every Windows target of the project.
function(tavimo_target_defaults target)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive-)
    else()
        # The shipped build too: a bounds-checked operator[], front() and back() cost next to nothing, and
        # an index gone wrong on hostile input then stops the program instead of reading past the end.
        target_compile_definitions(${target} PRIVATE _GLIBCXX_ASSERTIONS)
        target_compile_options(${target} PRIVATE -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=UTF-8)
        # No MinGW runtime DLLs to carry beside the exe.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()
