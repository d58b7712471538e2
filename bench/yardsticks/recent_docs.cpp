// The recent-documents chore alone: a null path empties the list.
#include <windows.h>
#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::SHAddToRecentDocs(SHARD_PATHA, nullptr);
    return 0;
}
