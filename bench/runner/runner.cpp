// bench_runner: measures Tavimo against its yardsticks and prints the tables (see bench/run.sh, which
// builds everything and runs this inside the private Wine environment).
//
// bench_runner --tavimo PATH [--stripped PATH] [--runs N] [--warmup N] [--temp-runs N]
//              [--trees DIR]
//
// DIR holds tree1, tree2, ... (two per deletion run), each a fresh tree of folders and files for one
// deletion run; without it the deletion row is left out.
#include "runner/measure.h"
#include "runner/report.h"

#include <windows.h>

#include <array>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace bench {

namespace {

struct Options {
    std::wstring tavimo;
    std::wstring stripped;
    int runs = 10;
    int warmup = 2;
    int tempRuns = 3;
    std::wstring trees;
};

constexpr DWORD kSwitchTimeoutMs = 60000;
constexpr DWORD kDeletionTimeoutMs = 600000;
// Between two runs: what the last program left to the display and the Wine server settles first.
constexpr DWORD kSettleMs = 100;

void Write(DWORD stream, const std::string& text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(stream), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Progress(const std::string& text) {
    static const double start = NowMs();
    Write(STD_ERROR_HANDLE, "bench: " + Fixed((NowMs() - start) / 1000, 1) + " s: " + text + "\n");
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options options;
    const auto number = [](const wchar_t* text, int least) {
        wchar_t* end = nullptr;
        const long value = std::wcstol(text, &end, 10);
        if (*end != L'\0' || value < least || value > 1000000) {
            throw KitError("not a count: " + Utf8(text));
        }
        return static_cast<int>(value);
    };
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) {
            throw KitError("missing value after " + Utf8(name));
        }
        const wchar_t* value = argv[++i];
        if (name == L"--tavimo") {
            options.tavimo = value;
        } else if (name == L"--stripped") {
            options.stripped = value;
        } else if (name == L"--runs") {
            options.runs = number(value, 1);
        } else if (name == L"--warmup") {
            options.warmup = number(value, 0);
        } else if (name == L"--temp-runs") {
            options.tempRuns = number(value, 1);
        } else if (name == L"--trees") {
            options.trees = value;
        } else {
            throw KitError("unknown option " + Utf8(name));
        }
    }
    if (options.tavimo.empty()) {
        throw KitError("usage: bench_runner --tavimo PATH [--stripped PATH] [--runs N] [--warmup N] "
                       "[--temp-runs N] [--trees DIR]");
    }
    return options;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

double FileKiB(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        throw KitError("cannot read the size of " + Utf8(path));
    }
    return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) /
           1024.0;
}

void MakeFolder(const std::wstring& path) {
    if (!::CreateDirectoryW(path.c_str(), nullptr)) {
        throw KitError("cannot create " + Utf8(path) + " (error " + std::to_string(::GetLastError()) + ")");
    }
}

// A copy of Tavimo in a folder of its own, as the package is unpacked: the exe, the device library
// beside it, and the read-me. It writes its settings there.
std::wstring CopyTavimo(const std::wstring& exe, const std::wstring& folder) {
    MakeFolder(folder);
    const std::wstring from = FolderOf(exe);
    const std::wstring copy = folder + L"\\Tavimo.exe";
    if (!::CopyFileW(exe.c_str(), copy.c_str(), TRUE)) {
        throw KitError("cannot copy " + Utf8(exe));
    }
    if (!::CopyFileW((from + L"\\nUsbDevice.dll").c_str(), (folder + L"\\nUsbDevice.dll").c_str(), TRUE)) {
        throw KitError("no nUsbDevice.dll beside " + Utf8(exe));
    }
    // The read-me is only opened from the Help menu; the build's own copy does when the exe has none.
    if (!::CopyFileW((from + L"\\ReadMe.txt").c_str(), (folder + L"\\ReadMe.txt").c_str(), TRUE)) {
        ::CopyFileW((OwnFolder() + L"\\ReadMe.txt").c_str(), (folder + L"\\ReadMe.txt").c_str(), TRUE);
    }
    return copy;
}

struct TreeSize {
    int folders = 0;
    int files = 0;
};

TreeSize CountTree(const std::wstring& folder) {
    TreeSize size;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return size;
    }
    do {
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const TreeSize inner = CountTree(folder + L"\\" + found.cFileName);
            size.folders += 1 + inner.folders;
            size.files += inner.files;
        } else {
            ++size.files;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return size;
}

int EntriesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        count += std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return count;
}

double ReadMicrosAsMs(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw KitError("no result in " + Utf8(path));
    }
    char text[32] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    return std::atof(text) / 1000.0;
}

// Every program once per round, forward in even rounds and backward in odd ones, so none always runs
// right after the same other; the warm-up rounds run but are not kept.
template <typename Measure> void Rounds(int warmup, int runs, size_t programs, Measure measure) {
    for (int round = 0; round < warmup + runs; ++round) {
        for (size_t k = 0; k < programs; ++k) {
            ::Sleep(kSettleMs);
            measure(round % 2 ? programs - 1 - k : k, round >= warmup);
        }
    }
}

std::string Quoted(const std::wstring& text) {
    return "\"" + Utf8(text) + "\"";
}

std::string WineVersion() {
    using Version = const char*(__cdecl*)();
    const auto version = reinterpret_cast<Version>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return version ? std::string("Wine ") + version() : std::string("Windows");
}

struct SwitchCase {
    const wchar_t* name;
    const wchar_t* yardstick;
    const wchar_t* yardstickArguments;
    const char* yardstickText;
};

constexpr SwitchCase kSwitches[] = {
    {L"/recent", L"bench_recent.exe", L"", "`SHAddToRecentDocs` with a null path"},
    {L"/cashe", L"bench_url_cache.exe", L"", "cache walk, other entries deleted"},
    {L"/cookie", L"bench_url_cache.exe", L"/cookie", "cache walk, cookie entries deleted"},
    {L"/history", L"bench_url_history.exe", L"", "`CUrlHistory` `ClearHistory`"},
};

int Run(const Options& options) {
    const std::wstring bin = OwnFolder() + L"\\";
    wchar_t tempPath[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tempPath);
    const std::wstring work =
        std::wstring(tempPath) + L"tavimo-bench-" + std::to_wstring(::GetCurrentProcessId());
    MakeFolder(work);
    const std::wstring tavimo = CopyTavimo(options.tavimo, work + L"\\app");
    std::set<std::string> notes;

    // Start-up and peak memory, from the same runs.
    const Program windows[] = {{tavimo, L"", "Tavimo.exe"},
                               {bin + L"bench_same_window.exe", L"", "same window"},
                               {bin + L"bench_bare_window.exe", L"", "bare window"}};
    std::array<Series, 3> startMs, peak;
    for (size_t i = 0; i < 3; ++i) {
        startMs[i] = {windows[i].label + ": start-up", "ms", {}};
        peak[i] = {windows[i].label + ": peak working set", "MiB", {}};
    }
    Progress("window start-up and memory");
    Rounds(options.warmup, options.runs, 3, [&](size_t i, bool keep) {
        const WindowRun run = MeasureWindowStart(windows[i]);
        if (run.killed) {
            notes.insert(windows[i].label + " did not end within 10 s of WM_CLOSE and was killed.");
        }
        if (keep) {
            startMs[i].values.push_back(run.ms);
            peak[i].values.push_back(run.peakMiB);
        }
    });

    // The chore switches: Tavimo, its yardstick, the bare exe.
    std::array<std::array<Series, 3>, std::size(kSwitches)> switchMs;
    for (size_t s = 0; s < std::size(kSwitches); ++s) {
        const SwitchCase& c = kSwitches[s];
        const Program programs[] = {
            {tavimo, c.name, "Tavimo.exe " + Utf8(c.name)},
            {bin + c.yardstick, c.yardstickArguments,
             Utf8(c.yardstick) + (*c.yardstickArguments ? " " : "") + Utf8(c.yardstickArguments)},
            {bin + L"bench_bare_exe.exe", L"", "bare exe"}};
        for (size_t i = 0; i < 3; ++i) {
            switchMs[s][i] = {programs[i].label + (i == 2 ? " (" + Utf8(c.name) + " row)" : ""), "ms", {}};
        }
        Progress("switch " + Utf8(c.name));
        Rounds(options.warmup, options.runs, 3, [&](size_t i, bool keep) {
            const ExitRun run = MeasureRunToExit(programs[i], kSwitchTimeoutMs);
            if (run.exitCode != 0) {
                notes.insert(programs[i].label + " exited with " + std::to_string(run.exitCode) + ".");
            }
            if (keep) {
                switchMs[s][i].values.push_back(run.ms);
            }
        });
    }

    // The temporary-files deletion, on a fresh tree every run.
    const Program deleters[] = {{bin + L"bench_temp_tavimo.exe", L"", "Tavimo's DeleteTempFiles"},
                                {bin + L"bench_temp_loop.exe", L"", "plain loop"}};
    std::array<Series, 2> deleteMs;
    for (size_t i = 0; i < 2; ++i) {
        deleteMs[i] = {deleters[i].label + ": deletion", "ms", {}};
    }
    const TreeSize treeSize = options.trees.empty() ? TreeSize{} : CountTree(options.trees + L"\\tree1");
    if (!options.trees.empty()) {
        if (treeSize.files == 0) {
            throw KitError("no tree to delete in " + Utf8(options.trees) + "\\tree1");
        }
        Progress("temporary-files deletion (" + std::to_string(treeSize.files) + " files in " +
                 std::to_string(treeSize.folders) + " folders)");
        // No warm-up: only the deletion is timed, never the programs' start, and each tree is new.
        int tree = 0;
        Rounds(0, options.tempRuns, 2, [&](size_t i, bool) {
            ++tree;
            const std::wstring root = options.trees + L"\\tree" + std::to_wstring(tree);
            const std::wstring result = work + L"\\deleted" + std::to_wstring(tree) + L".txt";
            if (::GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES) {
                throw KitError("no tree " + Utf8(root));
            }
            Program program = deleters[i];
            program.arguments = L"\"" + root + L"\" \"" + result + L"\"";
            const ExitRun run = MeasureRunToExit(program, kDeletionTimeoutMs);
            if (run.exitCode != 0) {
                notes.insert(program.label + " exited with " + std::to_string(run.exitCode) + ".");
            }
            if (const int left = EntriesIn(root)) {
                notes.insert(program.label + " left entries in the tree (" + std::to_string(left) +
                             " at the top).");
            }
            deleteMs[i].values.push_back(ReadMicrosAsMs(result));
        });
    }

    Progress("done");

    // The tables.
    std::vector<RatioRow> rows;
    rows.push_back({"window start-up: launch → shown, painted, idle", "same window", &startMs[0], &startMs[1],
                    "bare window", &startMs[2]});
    for (size_t s = 0; s < std::size(kSwitches); ++s) {
        rows.push_back({"\"" + Utf8(kSwitches[s].name) + "\": launch → exit", kSwitches[s].yardstickText,
                        &switchMs[s][0], &switchMs[s][1], "bare exe", &switchMs[s][2]});
    }
    rows.push_back({"peak memory at idle (PeakWorkingSetSize)", "same window", &peak[0], &peak[1],
                    "bare window", &peak[2]});
    std::string size = "| `Tavimo.exe` size | — | ";
    const double built = FileKiB(options.tavimo);
    size +=
        options.stripped.empty() ? "(not stripped)" : Fixed(FileKiB(options.stripped), 0) + " KiB stripped";
    size += " | " + Fixed(built, 0) + " KiB as built | — | | |\n";
    std::string temp;
    if (!options.trees.empty()) {
        temp = "| temp-folder deletion, " + std::to_string(treeSize.files) + " files in " +
               std::to_string(treeSize.folders) +
               " folders (this checkout's `DeleteTempFiles`) | "
               "`FindFirstFileW`/`DeleteFileW`/`RemoveDirectoryW` loop | " +
               PairedRatio(deleteMs[0].values, deleteMs[1].values) + " | " +
               Ratio(Minimum(deleteMs[0].values), Minimum(deleteMs[1].values)) + " | — | | |\n";
    }
    std::string out = "## Tavimo against minimal programs\n\n";
    out += "Tavimo: " + Quoted(options.tavimo) + ". " + WineVersion() +
           ". Runs per program and row: " + std::to_string(options.runs) +
           ", interleaved, after warm-up rounds: " + std::to_string(options.warmup) +
           "; deletion runs: " + std::to_string(options.tempRuns) + ", a fresh tree each.\n\n";
    out += RatioTable(rows, size + temp);
    out +=
        "\nMedian: the median of the ratios of the runs of one round (run side by side, under the same "
        "load); "
        "minimum: the ratio of the two minima. Start-up: CreateProcess → a visible window, WaitForInputIdle, "
        "WM_NULL answered. Switches: CreateProcess → exit. Memory: GetProcessMemoryInfo PeakWorkingSetSize "
        "once idle (under Wine the process's VmHWM). Deletion: timed inside each program around the "
        "deletion alone.\n\n### Raw figures\n\n";
    std::vector<const Series*> raw;
    for (const Series& s : startMs) {
        raw.push_back(&s);
    }
    for (const Series& s : peak) {
        raw.push_back(&s);
    }
    for (const auto& row : switchMs) {
        for (const Series& s : row) {
            raw.push_back(&s);
        }
    }
    for (const Series& s : deleteMs) {
        raw.push_back(&s);
    }
    out += RawTable(raw);
    if (!notes.empty()) {
        out += "\nNotes:\n";
        for (const std::string& note : notes) {
            out += "- " + note + "\n";
        }
    }
    Write(STD_OUTPUT_HANDLE, out);
    return 0;
}

} // namespace

} // namespace bench

int wmain(int argc, wchar_t** argv) {
    try {
        return bench::Run(bench::ParseOptions(argc, argv));
    } catch (const std::exception& error) {
        bench::Write(STD_ERROR_HANDLE, std::string("bench_runner: ") + error.what() + "\n");
        return 1;
    }
}
