#pragma once
// The name the multimedia commands know the system's default CD audio device by. Plain text, so the
// command-line decoding can name it without the multimedia headers.

namespace tavimo {

// Any other drive text is opened as the alias "CDD".
inline constexpr wchar_t kDefaultCdDevice[] = L"cdaudio";

} // namespace tavimo
