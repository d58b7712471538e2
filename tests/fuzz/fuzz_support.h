#pragma once
// Shared by the fuzz targets: reading a fuzzer's bytes as the values a decoder takes, and stopping
// with a readable message when a property does not hold (libFuzzer then keeps the input).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <source_location>
#include <string>

namespace tavimo::fuzz {

inline void Check(bool holds, const char* what,
                  std::source_location where = std::source_location::current()) {
    if (!holds) {
        std::fprintf(stderr, "%s:%u: property does not hold: %s\n", where.file_name(),
                     static_cast<unsigned>(where.line()), what);
        std::abort();
    }
}

// Reads the input front to back. Past its end every read gives zeros or nothing, so each input means
// something; tests/fuzz/make_seeds.py writes seeds in the same layout.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ == size_; }

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : std::uint8_t{0}; }

    // Four bytes, little-endian: the whole 32-bit range, negative numbers included.
    std::int32_t Int() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(Byte()) << shift;
        }
        return static_cast<std::int32_t>(value);
    }

    // A byte string with a one-byte length in front.
    std::string Bytes() {
        const std::size_t length = Byte();
        std::string bytes;
        while (bytes.size() < length && !AtEnd()) {
            bytes.push_back(static_cast<char>(Byte()));
        }
        return bytes;
    }

    // Up to `units` 16-bit code units, little-endian (WideRest: all that is left). Windows' wchar_t
    // holds 16 bits and Linux's 32: the decoders see only values a Windows wide string can hold, so
    // they run the same code on the same values there as here.
    std::wstring Wide(std::size_t units) {
        std::wstring text;
        while (text.size() < units && size_ - at_ >= 2) {
            const unsigned low = Byte();
            const unsigned high = Byte();
            text.push_back(static_cast<wchar_t>(low | (high << 8)));
        }
        return text;
    }
    std::wstring WideRest() { return Wide(size_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace tavimo::fuzz
