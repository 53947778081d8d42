// A MainForm over fakes of every seam, with helpers to look into the file.
#pragma once

#include <gtest/gtest.h>

#include "find/letter_cases.h"
#include "main_form.h"
#include "pictures/fake_pictures.h"
#include "resource.h"
#include "support/fake_desktop.h"
#include "support/fake_filesystem.h"
#include "support/fake_paste_desktop.h"
#include "support/fake_view.h"

namespace quillet {

inline const std::wstring kIni = L"C:\\quilbdx.ini";
inline const std::wstring kFolder = L"C:\\Program Files\\Quillet Pro";

class MainFormTest : public ::testing::Test {
  protected:
    testing::FakeFileSystem fs;
    testing::FakeView view;
    testing::ScriptedPrompt prompt;
    Windows1252Codec codec;
    testing::FakeClipboard clipboard;
    testing::LetterCases cases;
    testing::HeldKeys keys;
    testing::FixedClock clock;
    testing::RecordingShell shell;
    testing::FakeResolver resolver;
    testing::FakeAutoRun autoRun;
    testing::FakeHotkeyHost hotkeys;
    testing::RecordingWallpaper wallpaper{fs};
    testing::FakePasteDesktop paste;
    testing::RecordingWindows windows{view.visible};
    testing::ScriptedInput input;
    testing::DiskPictureSlots slots{fs};
    MainForm form = Restarted();

    // Another start of the program over the same fakes.
    MainForm Restarted() {
        return MainForm{view,
                        slots,
                        prompt,
                        fs,
                        codec,
                        clipboard,
                        cases,
                        Desktop{keys, clock, shell, resolver, autoRun, hotkeys, wallpaper, paste},
                        SecondaryWindows{windows, windows, windows, windows, input}};
    }
    // Starts the program on `store` with the file as it stands.
    void StartIn(int store) {
        Store("Settings", "StoreNumber", std::to_wstring(store));
        ASSERT_TRUE(form.FormLoad(kFolder));
        ASSERT_EQ(form.CurrentStore(), store);
    }

    std::wstring Stored(std::string_view section, std::string_view key) {
        Settings s(fs, codec);
        return s.ReadSetting(kIni, section, key, L"");
    }
    // Whether the file holds the entry at all, empty or not.
    bool Present(std::string_view section, std::string_view key) {
        return IniDocument(fs.files[kIni]).Find(section, key).has_value();
    }
    void Store(std::string_view section, std::string_view key, std::wstring_view value) {
        Settings s(fs, codec);
        s.WriteSetting(kIni, section, key, value);
    }
    // The one message shown since the last look, as "title|text".
    std::wstring Told() {
        EXPECT_EQ(prompt.messages.size(), 1u);
        std::wstring told;
        if (!prompt.messages.empty())
            told = prompt.messages.back().title + L"|" + prompt.messages.back().text;
        prompt.messages.clear();
        return told;
    }
};

}  // namespace quillet
