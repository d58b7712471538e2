#pragma once
// Clearing the browser's URL history through its COM object, whose method is called by its slot.

#include <windows.h>
#include <objbase.h>

namespace tavimo {

using CreateInstanceFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

// Makes the URL history object; CoCreateInstance unless a test has put its own in.
extern CreateInstanceFunction g_createUrlHistory;

// Empties the browser's URL history (IUrlHistoryStg2::ClearHistory, then Release, both by slot).
// S_OK once the history object was created, whatever ClearHistory answers (Wine's answers E_NOTIMPL);
// otherwise the creation's HRESULT, and nothing is called. Positive codes other than S_OK count as
// failures too, so compare with S_OK rather than using SUCCEEDED. COM must be initialised on the thread.
HRESULT ClearUrlHistory();

} // namespace tavimo
