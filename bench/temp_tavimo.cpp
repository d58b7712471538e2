// Tavimo's temporary-files chore on a given folder, with the system's protected folders as the program
// itself looks them up.
#include "timed_deletion.h"

#include "chores/temp_files.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return bench::TimedDeletion([](const std::wstring& folder) {
        return tavimo::DeleteTempFiles(folder, tavimo::SystemProtectedFolders());
    });
}
