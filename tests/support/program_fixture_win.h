// The two ways the Wine tests meet the program: the real one, installed and
// started as a user starts it, or its main window made in the test's own
// process, where the test can reach its controls and logic directly. Either
// way drive C: is as a first start finds it before and after each test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "frmMain_win.h"
#include "platform/ole_win.h"
#include "support/program_win.h"

namespace quillet::testing {

// A settings file that asks nothing at start (no import offer) and shows
// store `store`, with `more` lines of [Settings] after that.
inline std::string SettingsFile(int store = 1, const std::string& more = {}) {
    return "[Settings]\r\naskImport=1\r\nStoreNumber=" + std::to_string(store) + "\r\n" + more;
}

class ProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InstallProgram(); }
    void SetUp() override { CleanDriveC(); }
    void TearDown() override { CleanDriveC(); }
    // Starts `app` over this settings file.
    static bool StartWith(RunningProgram& app, const std::string& settings) {
        WriteFileBytes(kSettingsFile, settings);
        return app.Start();
    }
    // What a message box shows.
    static std::wstring BoxText(HWND box) {
        return RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF));
    }
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { CleanDriveC(); }
    void TearDown() override {
        window_.reset();  // the window goes before OLE does
        if (ole_) ::OleUninitialize();
        CleanDriveC();
    }
    // Makes the window over `settings` (none: a first start); `dragDrop`
    // registers its drop targets.
    bool Open(const std::string& settings = {}, bool dragDrop = false) {
        if (!settings.empty()) WriteFileBytes(kSettingsFile, settings);
        if (dragDrop && !ole_) ole_ = SUCCEEDED(::OleInitialize(nullptr));
        window_ = std::make_unique<frmMain>();
        if (!window_->Create(::GetModuleHandleW(nullptr), kInstallFolder)) return false;
        if (dragDrop) window_->EnableDragDrop();
        return true;
    }
    frmMain& window() { return *window_; }
    HWND Control(int id) { return window_->Control(id); }
    void Menu(int id) { ::SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    UINT MenuState(int id) { return ::GetMenuState(::GetMenu(window_->hwnd()), id, MF_BYCOMMAND); }
    // Drags the payload over a drop target, at a window's corner, and drops
    // it there as OLE does: both times the target takes a copy.
    static void DropOn(IDropTarget* target, const DragPayload& payload, HWND over) {
        ASSERT_TRUE(target);
        ComPtr<IDataObject> data = MakeDataObject(payload);
        RECT r{};
        ::GetWindowRect(over, &r);
        const POINTL at{r.left + 2, r.top + 2};
        for (bool enter : {true, false}) {
            DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            ASSERT_EQ(enter ? target->DragEnter(data.get(), MK_LBUTTON, at, &effect)
                            : target->Drop(data.get(), 0, at, &effect),
                      S_OK);
            EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        }
    }

    std::unique_ptr<frmMain> window_;
    bool ole_ = false;
};

}  // namespace quillet::testing
