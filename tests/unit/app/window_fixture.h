#pragma once
// An in-process main window for one test, its settings in a private folder, and its menus read and
// opened as the system would.

#include "app/app_info.h"
#include "app/frm_device.h"
#include "app/menu_bar.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavimo::test_support {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetSettingsPath(folder_.Path(L"setting.ini"));
        SetReadMePath(folder_.Path(L"ReadMe.txt"));
    }
    void TearDown() override { form_.reset(); }

    frmDevice& Open() {
        form_ = std::make_unique<frmDevice>(L"");
        EXPECT_EQ(form_->Load(), frmDevice::LoadResult::Loaded);
        form_->Show();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        return *form_;
    }

    UINT StateOf(MenuId menu, int index) {
        HMENU bar = ::GetMenu(form_->Window());
        return ::GetMenuState(bar, MenuCommand(menu, index), MF_BYCOMMAND);
    }

    // Opens a menu the way the system does: the window hears WM_INITMENUPOPUP first.
    void OpenMenu(int position) {
        HMENU popup = ::GetSubMenu(::GetMenu(form_->Window()), position);
        ::SendMessageW(form_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), position);
    }

    test_support::Sandbox folder_;
    std::unique_ptr<frmDevice> form_;
};

} // namespace tavimo::test_support
