#pragma once
// Memory committed in another process, for the answers of a window that lives there: the process is
// opened, the memory allocated, and both given back on every path.

#include "platform/unique_handle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tavimo {

class RemoteBuffer {
  public:
    // Opens the process for memory operations, reading and querying, and commits `size` bytes
    // read-write in it. Invalid (false) when either step failed; whatever succeeded is undone.
    RemoteBuffer(DWORD processId, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const noexcept { return address_ != nullptr; }
    HANDLE Process() const noexcept { return process_.get(); }
    // The buffer's address in the other process, to hand to the window as a message's pointer.
    void* Address() const noexcept { return address_; }
    std::size_t Size() const noexcept { return size_; }

    // Reads `size` bytes at `offset` inside the buffer; false when they lie outside it or can't be read.
    bool Read(std::size_t offset, void* into, std::size_t size) const;

  private:
    unique_handle process_;
    void* address_ = nullptr;
    std::size_t size_ = 0;
};

// Reads `size` bytes at any address of another process, all of them or nothing.
bool ReadRemote(HANDLE process, std::uint64_t address, void* into, std::size_t size);

} // namespace tavimo
