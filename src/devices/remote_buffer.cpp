#include "devices/remote_buffer.h"

#include <cstdint>

namespace tavimo {

RemoteBuffer::RemoteBuffer(DWORD processId, std::size_t size)
    : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE,
                             processId)) {
    if (process_) {
        address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        size_ = address_ ? size : 0;
    }
}

RemoteBuffer::~RemoteBuffer() {
    // Released before the handle that reaches it is closed (the member's destructor runs after this).
    if (address_) {
        ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
}

bool RemoteBuffer::Read(std::size_t offset, void* into, std::size_t size) const {
    if (!address_ || offset > size_ || size > size_ - offset) {
        return false;
    }
    return ReadRemote(process_.get(), reinterpret_cast<std::uintptr_t>(address_) + offset, into, size);
}

bool ReadRemote(HANDLE process, std::uint64_t address, void* into, std::size_t size) {
    if (static_cast<std::uintptr_t>(address) != address) {
        return false; // beyond a 32-bit build's reach
    }
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), into,
                               size, &read) &&
           read == size;
}

} // namespace tavimo
