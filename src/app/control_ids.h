#pragma once
// The main window's control ids: each control array's index is added to its base. Also what the
// whole-process tests address the controls by.

namespace tavimo {

enum ControlId : int {
    kListView1Base = 100, // ListView1(0) device list, ListView1(1) CD tray list
    kCmdMenuBase = 200,   // cmdMenu(0) .. cmdMenu(5)
};

inline constexpr int kDeviceList = 0;
inline constexpr int kCdList = 1;
inline constexpr int kCmdMenuCount = 6;

} // namespace tavimo
