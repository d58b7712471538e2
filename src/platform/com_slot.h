#pragma once
// Calling a COM method by its position in the method table.

#include <windows.h>
#include <oaidl.h>

namespace tavimo {

// Calls method number `slot` (0 = QueryInterface, 1 = AddRef, 2 = Release, ...) of the object's
// method table with no arguments, through DispCallFunc; the method's 32-bit result lands in `result`.
// The answer is DispCallFunc's own.
HRESULT CallBySlot(void* object, unsigned slot, VARIANT& result);

} // namespace tavimo
