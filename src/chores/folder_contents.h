#pragma once
// Emptying a folder without ever leaving it, and where a path really leads.

#include <string>

namespace tavimo {

enum class Links { Kept, Followed };

// Where the entry really is, as the file system resolves it ("\\?\C:\..."); empty when it cannot be
// opened. With Links::Kept a link names itself, with Links::Followed the place it leads to.
std::wstring FinalPath(const std::wstring& path, Links links);

// Two paths compared as the file system compares names: ordinally, without regard to case.
bool SamePath(const std::wstring& a, const std::wstring& b);

// Deletes what matches the pattern inside the folder and empties and removes its subfolders. Entries
// that cannot be deleted stay (in use, read-only, or with the system attribute); a subfolder in use is
// still emptied. Links of any kind are left alone and never followed, so nothing outside the folder is
// touched. An empty folder does nothing.
void DeleteFolderContents(const std::wstring& folder, const std::wstring& pattern);

} // namespace tavimo
