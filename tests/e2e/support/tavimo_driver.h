#pragma once
// Drives real Tavimo.exe processes from a test: a private copy of the program in a temporary folder,
// its windows and message boxes found, read and answered from outside, as a user would.

#include <windows.h>

#include "app/control_ids.h"
#include "app/menu_bar.h"

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// The main window's control ids: the lists and the button row (cmdMenu 0 .. 5).
inline constexpr int kDeviceListId = tavimo::kListView1Base + tavimo::kDeviceList;
inline constexpr int kCdListId = tavimo::kListView1Base + tavimo::kCdList;
inline constexpr int kRefreshButtonId = tavimo::kCmdMenuBase + 0;
inline constexpr int kRemoveAllButtonId = tavimo::kCmdMenuBase + 1;
inline constexpr int kMasterButtonId = tavimo::kCmdMenuBase + 2;
inline constexpr int kWaveButtonId = tavimo::kCmdMenuBase + 3;

// Polls until the condition holds; false when the timeout came first.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);

// A click on one of the window's buttons, as the button reports it to its parent.
void ClickButton(HWND window, int id);

// Folder holding the test executable, Tavimo.exe and the fixtures (build/<preset>/bin).
std::wstring BinDir();

std::wstring ReadFileUtf8(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// A fresh folder under %TEMP% holding a copy of Tavimo.exe, removed with everything in it at the end.
class TavimoFolder {
  public:
    enum class Library { Scripted, None };
    explicit TavimoFolder(Library library = Library::Scripted);
    ~TavimoFolder();
    TavimoFolder(const TavimoFolder&) = delete;
    TavimoFolder& operator=(const TavimoFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring Exe() const { return File(L"Tavimo.exe"); }

    // Devices for the scripted library, one line each: removable, letter, description, friendly
    // name, device handle, icon index (tab-separated, UTF-8).
    void WriteDevices(const std::string& lines) const;

  private:
    std::wstring path_;
};

class Process {
  public:
    Process() = default;
    Process(HANDLE process, DWORD id) : handle_(process), id_(id) {}
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    // The exit code, or nothing when the process is still running after the timeout.
    std::optional<DWORD> Wait(std::chrono::milliseconds timeout = 20s) const;
    void Kill() const;

  private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

Process Launch(const std::wstring& exe, const std::wstring& arguments);

// A Tavimo.exe started in the folder, and its main window once that is up (null when none came).
struct Running {
    Process process;
    HWND window = nullptr;
};
Running StartWindow(const TavimoFolder& folder, const std::wstring& arguments = L"");

// A visible top-level window of the process with this class (and title, when given), polled until the
// timeout.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr,
                   std::chrono::milliseconds timeout = 20s);
HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout = 20s);
HWND WaitForMessageBox(const Process& process, const wchar_t* title, std::chrono::milliseconds timeout = 20s);

// The text of a message box, and a click on one of its buttons (IDOK, IDYES, ...).
std::wstring MessageBoxText(HWND box);
void ClickBoxButton(HWND box, int id);

// Rows of a list view in another process (texts of column 1, and each row's lParam).
std::vector<std::wstring> ListRows(HWND list);
std::vector<LPARAM> ListTags(HWND list);

// Asks the window to close as its close box would, and waits for the process's exit code.
std::optional<DWORD> CloseAndWait(const Process& process, HWND window,
                                  std::chrono::milliseconds timeout = 20s);

// Writes a PNG of the window into build/<preset>/screenshots/<name>.png; returns the path.
std::wstring SaveScreenshot(HWND window, const std::wstring& name);

std::wstring WindowText(HWND window);

// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);

// Real keystrokes to whatever has the focus: each key pressed and released in turn, `modifier` (such
// as VK_MENU) held around each one when given. Make the window the foreground window first.
void TypeKeys(std::initializer_list<WORD> keys, WORD modifier = 0);

// Brings the window to the foreground as a click would; true once it is there.
bool BringToFront(HWND window);

// The first selected row of a list view in another process, -1 for none.
int SelectedRow(HWND list);

} // namespace e2e
