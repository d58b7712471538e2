#pragma once
// The temporary-files item: which folder it empties, and the folders it never empties however the
// setting spells them.

#include <string>
#include <vector>

namespace tavimo {

// The temporary-files folder as configured: TMP, else TEMP, made full and ending with a backslash.
// Empty when neither is set (unlike GetTempPathW, which then falls back on the profile or the Windows
// folder), or when the setting is not a full path: a relative one names whatever folder is current.
std::wstring GetTempFolder();

// Folders the temporary-files item never empties. A drive or share root never needs listing: no root
// is ever emptied.
struct ProtectedFolders {
    // Never emptied, nor any folder that holds one: the profile, the folder of all profiles, the
    // program's own folder.
    std::vector<std::wstring> folders;
    // The same, and nothing inside them either (the Windows and program files folders)...
    std::vector<std::wstring> trees;
    // ...except at or below these (the Windows folder's own Temp).
    std::vector<std::wstring> allowedInTrees;
};

// This system's protected folders, as the system names them.
ProtectedFolders SystemProtectedFolders();

// The decision on a folder's final path ("\\?\C:\..." or "\\?\UNC\server\share\...", plain
// forms taken too), against protected folders given by their final paths. False for a root, for a path
// of any other shape, for a folder that is or holds a protected folder, and for one inside a tree
// outside its allowed folders. Names are compared whole and without regard to case.
bool IsSafeTempFolder(const std::wstring& finalPath, const ProtectedFolders& protectedFolders);

// Where `folder` really is (links, junctions, "..", "\\.\" and "\\?\" resolved) when it is a full
// path, can be opened, and is safe against `protectedFolders`, each taken by its own final path; empty
// otherwise.
std::wstring TempFolderToEmpty(const std::wstring& folder, const ProtectedFolders& protectedFolders);

// Empties TempFolderToEmpty(folder, protectedFolders) with the pattern "*.*". False, having touched
// nothing, when that is empty. Without arguments: GetTempFolder() and SystemProtectedFolders().
bool DeleteTempFiles(const std::wstring& folder, const ProtectedFolders& protectedFolders);
bool DeleteTempFiles();

} // namespace tavimo
