#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into corpus/<target>/ from the cases of the unit tables
and real inputs, in the byte layout fuzz_support.h reads. Files it does not name (regression inputs
kept from findings) are left alone. Run it after changing a layout or a case: python3 make_seeds.py"""

import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def i32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def counted(data):
    assert len(data) <= 255
    return bytes([len(data)]) + data


def wide(text):
    return text.encode("utf-16-le")


SWITCHES = ["/allclose", "/allclosef", "/jpega", "/jpeg", "/bmpa", "/bmp", "/cdopen", "/desklist",
            "/recycle", "/cashe", "/cookie", "/history", "/time", "/condlg", "/discondlg", "/version",
            "/mute", "/h", "/hotplug", "/recent"]


def command_line():
    lines = {
        "bare_program": "Tavimo.exe",
        "quoted_program": '"C:\\Program Files\\Tavimo.exe"',
        "quoted_program_version": '"C:\\Program Files\\Tavimo.exe" /version',
        "trailing_blank": "Tavimo.exe   /allclose ",
        "tab_then_jpeg_folder": 'C:\\t\\Tavimo.exe\t/jpeg /"C:\\x"',
        "two_spaces_before_argument": 'Tavimo.exe /jpeg  /"C:\\x"',
        "folder_after_plain_space": "Tavimo.exe /jpeg C:\\x",
        "folder_holding_separator": 'Tavimo.exe /jpeg /"C:\\a /b"',
        "ignored_arguments": "Tavimo.exe /allclose /x /y",
        "one_character_argument": "Tavimo.exe /jpeg /x",
        "empty_argument": "Tavimo.exe /cdopen /",
        "cdopen_default": "Tavimo.exe /cdopen /Default",
        "cdopen_lower_default": "Tavimo.exe /cdopen /default",
        "cdopen_two_drives": "Tavimo.exe /CDOPEN /E: /F:",
        "eject": "Tavimo.exe /eject",
        "full_width_switch": "Tavimo.exe ／ｖｅｒｓｉｏｎ",
        "unclosed_quote": '"C:\\Tavimo.exe /version',
        "japanese_folder": 'Tavimo.exe /bmp /"C:\\ユーザー\\画像"',
    }
    for key in SWITCHES:
        lines["switch_" + key[1:]] = "Tavimo.exe " + key
    lines["switch_upper_allclose"] = "Tavimo.exe /ALLCLOSE"
    seeds = {}
    for name, line in lines.items():
        # The folder test answers "exists" for the capture switches' seeds, so both branches are seeded.
        exists = 1 if "jpeg" in line or "bmp" in line else 0
        seeds[name] = bytes([exists]) + wide(line)
    seeds["lone_surrogate"] = bytes([0]) + wide("Tavimo.exe /h") + b"\x00\xd8"
    return seeds


def placement():
    limits = (1800, 500, 30000, 20000)  # the unit tests' limits
    wine_screen = (1800, 500, 15360, 9000)  # 1024 x 600 pixels at 96 DPI
    cases = {
        "normal": (0, 150, 300, 12000, 4000),
        "minimised_opens_normal": (1, 150, 300, 12000, 4000),
        "maximised": (2, 0, 0, 12000, 4000),
        "unknown_state": (3, 0, 0, 12000, 4000),
        "negative_state_and_width": (-1, 0, 0, -5, 4000),
        "zero_size": (0, 0, 0, 0, 0),
        "below_smallest_window": (0, 0, 0, 1799, 499),
        "beyond_virtual_screen": (0, 0, 0, 30001, 20001),
        "at_the_limits": (0, 0, 0, 30000, 500),
        "extremes": (-2**31, -2**31, 2**31 - 1, 2**31 - 1, -2**31),
    }
    seeds = {name: i32(*values, *limits) for name, values in cases.items()}
    seeds["defaults_on_wine_screen"] = i32(0, 0, 0, 9975, 2865, *wine_screen)
    seeds["crossed_limits"] = i32(0, 0, 0, 9975, 2865, 30000, 20000, 1800, 500)
    return seeds


def library_buffer(text, fill=b"\0", size=256):
    return bytes([size - 1]) + fill + counted(text)


def device_library():
    seeds = {}
    # Mode 0: Tavimo reading the answers.
    stick = i32(1, 0) + library_buffer(b"E") + library_buffer(b"\x83\x66\x83\x42\x83\x58\x83\x4e") \
        + library_buffer(b"USB DISK")
    no_friendly_name = i32(-1, 0) + library_buffer(b"F") + library_buffer(b"USB Mass Storage") \
        + library_buffer(b"")
    high_word_only = i32(0x10000, 0) + library_buffer(b"G") + library_buffer(b"x") + library_buffer(b"y")
    no_nul = i32(1, 0) + library_buffer(b"H", b"H") + library_buffer(b"D" * 255, b"D") \
        + library_buffer(b"N" * 200, b"N")
    seeds["answers_two_devices"] = b"\0" + i32(2) + stick + no_friendly_name
    seeds["answers_high_word_only"] = b"\0" + i32(1) + high_word_only
    seeds["answers_without_nul"] = b"\0" + i32(1) + no_nul
    seeds["answers_negative_count"] = b"\0" + i32(-1) + stick
    seeds["answers_count_beyond_16_bits"] = b"\0" + i32(70000) + stick
    # Mode 1: the library writing into a caller's buffer (the unit table's cases).
    copies = {
        "fits": (b"E", 253),
        "exactly_fills": (b"abc", 4),
        "cut": (b"abcdef", 4),
        "only_terminator": (b"abc", 1),
        "double_byte_dropped": (b"a\x82\xa0b", 3),
        "double_byte_kept": (b"a\x82\xa0b", 4),
        "lead_byte_at_end": (b"ab\x82", 10),
        "empty": (b"", 8),
        "no_length": (b"abc", 0),
        "negative_length": (b"abc", -2),
        "long_japanese": ("取り外し可能なディスク".encode("cp932") * 6, 40),
    }
    for name, (text, length) in copies.items():
        seeds["copy_" + name] = b"\1" + counted(text) + bytes([length + 2])

    # Mode 2: matching. Disk byte: bits 0-2 number, bit 3 no number, bits 4-5 device, bit 6 removable.
    def disk(number, device, removable):
        return (8 if number is None else number) | (device << 4) | (0x40 if removable else 0)

    def volume(name_bits, numbers):
        return bytes([name_bits, len(numbers), *numbers])

    def mount(letter, name_bits):
        return bytes([(ord(letter.upper()) - ord("A")) * 2 + (1 if letter.islower() else 0), name_bits])

    seeds["match_letter_order"] = b"\2" + bytes([2, disk(0, 0, False), disk(1, 1, True)]) \
        + bytes([2]) + volume(0, [0]) + volume(1, [1]) + bytes([2]) + mount("E", 1) + mount("C", 0)
    seeds["match_card_reader"] = b"\2" + bytes([3, disk(3, 2, True), disk(4, 2, True), disk(5, 2, True)]) \
        + bytes([1]) + volume(2, [4]) + bytes([1]) + mount("H", 2)
    seeds["match_letterless_and_silent"] = b"\2" + bytes([3, disk(6, 3, True), disk(None, 1, False), disk(7, 3, True)]) \
        + bytes([0, 0])
    seeds["match_case_and_backslash"] = b"\2" + bytes([1, disk(1, 1, True)]) + bytes([1]) \
        + volume(4 | 8 | 16, [1]) + bytes([1]) + mount("e", 0)

    # Mode 3: parent chains (bit 3 root, else parent; bit 4 removable), start, two texts.
    def texts(a, b):
        return counted_wide(a) + counted_wide(b)

    def counted_wide(text):
        return bytes([len(text)]) + wide(text)

    chain = bytes([8, 0, 1, 2, 3, 4 | 16, 5, 6])  # 7 -> 6 -> ... -> 0 (root); 4 removable
    loop = bytes([1, 2, 0, 8, 8, 8, 8, 8])  # 0 -> 1 -> 2 -> 0, nothing removable
    seeds["walk_chain"] = b"\3" + chain + bytes([7]) + texts("@usbstor.inf,%disk%;USB DISK", "\\\\?\\Volume{a}\\")
    seeds["walk_loop"] = b"\3" + loop + bytes([0]) + texts("@no-separator", "\\\\?\\volume{A}")
    seeds["walk_start_removable"] = b"\3" + bytes([8 | 16] * 8) + bytes([3]) + texts("Plain", "")
    return seeds


NTP_UNIX_EPOCH = 2208988800


def ntp_reply():
    def reply(seconds, first=0x24, stratum=2, size=48):
        data = bytearray(max(size, 48))
        data[0], data[1] = first, stratum
        data[40:44] = struct.pack(">I", seconds & 0xFFFFFFFF)
        data[44:48] = b"\x80\x00\x00\x00"
        return bytes(data[:size])

    day = NTP_UNIX_EPOCH + 20000 * 86400
    return {
        "server_reply": reply(day),
        "one_second_before_midnight": reply(day - 1),
        "leap_second_ahead": reply(day, 0x5C),
        "stratum_1": reply(day, 0x24, 1),
        "stratum_15": reply(day, 0x24, 15),
        "extension_fields": reply(day, 0x24, 2, 68),
        "short_47": reply(day, 0x24, 2, 47),
        "client_mode": reply(day, 0x23),
        "unsynchronised": reply(day, 0xE4),
        "kiss_of_death": reply(day, 0x24, 0),
        "stratum_16": reply(day, 0x24, 16),
        "transmit_zero": reply(0),
        "before_1970": reply(NTP_UNIX_EPOCH - 1),
        "last_second_of_1900_era": reply(0xFFFFFFFF),
        "first_second_of_2036_era": reply(1),
        "after_2038": reply(0x7FFFFFFF),
    }


def tray_button():
    def record32(image, command, state, style, data, text):
        return struct.pack("<iiBBHII", image, command, state, style, 0, data, text)

    def record64(image, command, state, style, data, text):
        return struct.pack("<iiBB6sQQ", image, command, state, style, b"\0" * 6, data, text)

    target = "ハードウェアの安全な取り外し"
    return {
        "record32_address": bytes([0]) + record32(-2, 104, 0x08, 0x10, 0x11223344, 0x00B21000),
        "record32_index": bytes([0]) + record32(0, 1, 0, 0, 0, 0xFFFF),
        "record32_short": bytes([0]) + record32(0, 1, 0, 0, 0, 0x10000)[:19],
        "record64_address": bytes([1]) + record64(3, 104, 0x08, 0, 0x1122334455667788, 0x00007FF612345678),
        "record64_above_4g": bytes([1]) + record64(0, 1, 0, 0, 0, 0x100000000),
        "rect_and_client": bytes([2]) + struct.pack("<iiii", 15, 3, 39, 27) + i32(0, 0),
        "rect_wrapping": bytes([2]) + struct.pack("<iiii", 1, 1, 2, 2) + i32(0x7FFFFFFF, 0x7FFFFFFF),
        "length_14": bytes([4]) + struct.pack(">q", 14),
        "length_negative": bytes([4]) + struct.pack(">q", -1),
        "length_too_long": bytes([4]) + struct.pack(">q", 32768),
        "text_exact": bytes([6]) + wide(target),
        "text_near_miss": bytes([6]) + wide(target[:-1] + "ち"),
        "text_with_nul": bytes([6]) + wide(target + "\0"),
        "layout_32_on_64": bytes([6 | 16 | 32]),
    }


def main():
    for target, seeds in (("command_line", command_line()), ("placement", placement()),
                          ("device_library", device_library()), ("ntp_reply", ntp_reply()),
                          ("tray_button", tray_button())):
        folder = HERE / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
