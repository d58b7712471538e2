# The decoders of bytes that other parties control: the command line, setting.ini values and the
# device library's answers. They are plain C++ without <windows.h>, so the native fuzz build in
# tests/fuzz compiles these very files; paths are relative to the project root.
set(TAVIMO_DECODER_SOURCES
    src/app/command_line.cpp
    src/app/placement.cpp
    src/devices/library_answers.cpp
    nusbdevice/device_match.cpp
)

# Narrowing in a decoder is where a length or an index from outside goes wrong quietly.
set(TAVIMO_DECODER_WARNINGS -Wconversion -Wsign-conversion)
