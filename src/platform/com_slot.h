#pragma once
// Calling a COM method by its position in the method table, and the one chore that does so.

#include <windows.h>
#include <oaidl.h>

namespace tavimo {

// Calls method number `slot` (0 = QueryInterface, 1 = AddRef, 2 = Release, ...) of the object's
// method table with no arguments, through DispCallFunc; the method's 32-bit result lands in `result`.
// The answer is DispCallFunc's own.
HRESULT CallBySlot(void* object, unsigned slot, VARIANT& result);

using CreateInstanceFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

// Makes the URL history object; CoCreateInstance unless a test has put its own in.
extern CreateInstanceFunction g_createUrlHistory;

// Empties the browser's URL history (IUrlHistoryStg2::ClearHistory, then Release, both by slot).
// S_OK once the history object was created, whatever ClearHistory answers (Wine's answers E_NOTIMPL);
// otherwise the creation's HRESULT, and nothing is called. Positive codes other than S_OK count as
// failures too, so compare with S_OK rather than using SUCCEEDED. COM must be initialised on the thread.
HRESULT ClearUrlHistory();

} // namespace tavimo
