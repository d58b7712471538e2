# The decoders of bytes that other parties control: the command line, setting.ini values, the device
# library's answers, the notification toolbar's button records and the time server's reply. They are plain C++ without <windows.h>, so the native fuzz build in
# tests/fuzz compiles these very files; paths are relative to the project root.
set(TAVIMO_DECODER_SOURCES
    src/app/command_line.cpp
    src/app/placement.cpp
    src/devices/library_answers.cpp
    src/devices/tray_button.cpp
    src/chores/ntp_reply.cpp
    nusbdevice/device_match.cpp
)

# Narrowing in a decoder is where a length or an index from outside goes wrong quietly.
set(TAVIMO_DECODER_WARNINGS -Wconversion -Wsign-conversion)
