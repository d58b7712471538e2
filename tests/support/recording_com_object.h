#pragma once
// A COM-shaped object whose ten methods record their slot number: a call that lands in the wrong slot
// shows up as the wrong number (or never returns).

#include <windows.h>

#include <array>
#include <utility>
#include <vector>

namespace tavimo::test_support {

struct RecordingObject {
    const void* const* table;
    std::vector<unsigned> calls;
};

template <unsigned Slot> LONG STDMETHODCALLTYPE Method(void* self) {
    static_cast<RecordingObject*>(self)->calls.push_back(Slot);
    return static_cast<LONG>(100 + Slot);
}

template <unsigned... Slots> auto MakeTable(std::integer_sequence<unsigned, Slots...>) {
    return std::array<const void*, sizeof...(Slots)>{reinterpret_cast<const void*>(&Method<Slots>)...};
}

inline const auto kTable = MakeTable(std::make_integer_sequence<unsigned, 10>{});

} // namespace tavimo::test_support
