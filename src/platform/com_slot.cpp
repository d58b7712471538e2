#include "platform/com_slot.h"

#include <oleauto.h>

namespace tavimo {

HRESULT CallBySlot(void* object, unsigned slot, VARIANT& result) {
    // The table holds one pointer per method: the byte offset follows the build's pointer size.
    const ULONG_PTR offset = slot * sizeof(void*);
    // DispCallFunc wants argument arrays even for no arguments; they are never read.
    VARTYPE argumentTypes[1] = {VT_EMPTY};
    VARIANTARG argument;
    ::VariantInit(&argument);
    VARIANTARG* argumentValues[1] = {&argument};
    ::VariantInit(&result);
    return ::DispCallFunc(object, offset, CC_STDCALL, VT_I4, 0, argumentTypes, argumentValues, &result);
}

} // namespace tavimo
