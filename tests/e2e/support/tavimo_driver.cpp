#include "tavimo_driver.h"

#include "window_png.h"

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

namespace e2e {

namespace {

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

void RemoveTree(const std::wstring& path) {
    // SHFileOperation wants a double-NUL-terminated list.
    std::wstring from = path;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

struct FindData {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM lParam) {
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != data->processId || !::IsWindowVisible(hwnd)) {
        return TRUE;
    }
    wchar_t cls[256] = {};
    ::GetClassNameW(hwnd, cls, 256);
    if (wcscmp(cls, data->className) != 0) {
        return TRUE;
    }
    if (data->title && WindowText(hwnd) != data->title) {
        return TRUE;
    }
    data->found = hwnd;
    return FALSE;
}

// A buffer inside another process, for list-view messages that carry pointers.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) {
            address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address_) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_) {
            ::CloseHandle(process_);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* Address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* data, size_t size) const {
        return offset + size <= size_ &&
               ::WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= size_ &&
               ::ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

bool RemoteGetItem(HWND list, int index, LVITEMW& item, std::wstring* text) {
    constexpr size_t kTextChars = 512;
    RemoteBuffer remote(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!remote.Address()) {
        return false;
    }
    item.iItem = index;
    if (text) {
        item.mask |= LVIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
        item.cchTextMax = kTextChars;
    }
    remote.Write(0, &item, sizeof(item));
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()))) {
        return false;
    }
    remote.Read(0, &item, sizeof(item));
    if (text) {
        wchar_t buffer[kTextChars] = {};
        remote.Read(sizeof(LVITEMW), buffer, sizeof(buffer) - sizeof(wchar_t));
        *text = buffer;
    }
    return true;
}

} // namespace

std::wstring BinDir() {
    return ModuleFolder();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void ClickButton(HWND window, int id) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::wstring ReadFileUtf8(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    std::wstring text(bytes.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                        static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TavimoFolder::TavimoFolder(Library library) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        path_ = std::wstring(temp) + L"tavimo-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
    }
    ::CopyFileW((BinDir() + L"\\Tavimo.exe").c_str(), Exe().c_str(), FALSE);
    if (library == Library::Scripted) {
        ::CopyFileW((BinDir() + L"\\scripted\\nUsbDevice.dll").c_str(), File(L"nUsbDevice.dll").c_str(),
                    FALSE);
    }
}

TavimoFolder::~TavimoFolder() {
    RemoveTree(path_);
}

void TavimoFolder::WriteDevices(const std::string& lines) const {
    WriteFileBytes(File(L"nUsbDevice.txt"), lines);
}

Process::~Process() {
    if (handle_) {
        // A test that stopped half-way must not leave a Tavimo holding the single-instance lock for the
        // tests after it.
        Kill();
        ::CloseHandle(handle_);
    }
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (handle_) {
            Kill();
            ::CloseHandle(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

std::optional<DWORD> Process::Wait(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::Kill() const {
    if (handle_ && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(handle_, 99);
        ::WaitForSingleObject(handle_, 5000);
    }
}

Process Launch(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        return {};
    }
    ::CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

Running StartWindow(const TavimoFolder& folder, const std::wstring& arguments) {
    Running run{Launch(folder.Exe(), arguments)};
    run.window = WaitForMainWindow(run.process);
    return run;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* title,
                   std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        FindData data{processId, className, title, nullptr};
        ::EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&data));
        if (data.found || std::chrono::steady_clock::now() >= deadline) {
            return data.found;
        }
        std::this_thread::sleep_for(50ms);
    }
}

HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout) {
    return WaitForWindow(process.Id(), L"TavimoFrmDevice", nullptr, timeout);
}

HWND WaitForMessageBox(const Process& process, const wchar_t* title, std::chrono::milliseconds timeout) {
    return WaitForWindow(process.Id(), L"#32770", title, timeout);
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void TypeKeys(std::initializer_list<WORD> keys, WORD modifier) {
    const auto event = [](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        return input;
    };
    for (const WORD key : keys) {
        std::vector<INPUT> inputs;
        if (modifier) {
            inputs.push_back(event(modifier, 0));
        }
        inputs.push_back(event(key, 0));
        inputs.push_back(event(key, KEYEVENTF_KEYUP));
        if (modifier) {
            inputs.push_back(event(modifier, KEYEVENTF_KEYUP));
        }
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        // One key at a time, as a person types: the window's loop sees each press before the next.
        std::this_thread::sleep_for(150ms);
    }
}

bool BringToFront(HWND window) {
    ::SetForegroundWindow(window);
    return WaitFor([&] { return ::GetForegroundWindow() == window; });
}

int SelectedRow(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[2048] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

void ClickBoxButton(HWND box, int id) {
    if (HWND button = ::GetDlgItem(box, id)) {
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
}

std::vector<std::wstring> ListRows(HWND list) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        std::wstring text;
        RemoteGetItem(list, i, item, &text);
        rows.push_back(text);
    }
    return rows;
}

std::vector<LPARAM> ListTags(HWND list) {
    std::vector<LPARAM> tags;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        RemoteGetItem(list, i, item, nullptr);
        tags.push_back(item.lParam);
    }
    return tags;
}

std::optional<DWORD> CloseAndWait(const Process& process, HWND window, std::chrono::milliseconds timeout) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return process.Wait(timeout);
}

std::wstring SaveScreenshot(HWND window, const std::wstring& name) {
    // bin/ sits inside the build folder; the screenshots go beside it.
    const std::wstring bin = BinDir();
    const std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/")) + L"\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";
    return testing_png::SaveWindowPng(window, path) ? path : std::wstring();
}

} // namespace e2e
