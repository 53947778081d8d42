// The main window's logic: start-up and shut-down, the store routines and the
// shared helpers, over the view, the prompt and the settings file.
#pragma once

#include <cstdint>
#include <string>

#include "clipboard.h"
#include "main_view.h"
#include "store/Module1.h"

namespace quillet {

// Why the main window is asked to close.
enum class UnloadMode { kUser, kProgram, kSession };

// Colours of the slot boxes (red in the low byte).
inline constexpr unsigned kTitleBackground = 125 | (210 << 8) | (210 << 16);
inline constexpr unsigned kTextBackground = 200 | (200 << 8) | (255 << 16);
inline constexpr unsigned kCurrentLabelColour = 255;

class MainForm {
public:
    MainForm(MainView& view, Prompt& prompt, FileSystem& fs, const TextCodec& codec,
             Clipboard& clipboard, const CaseMapping& cases)
        : view_(view),
          prompt_(prompt),
          fs_(fs),
          settings_(fs, codec),
          clipboard_(clipboard),
          cases_(cases) {}

    // Start-up from the designed window to the shown (or hidden) program.
    // The single-instance hand-over happens before, in the shell.
    void FormLoad(std::wstring_view programFolder);

    // Returns true when the close is cancelled (the window is only hidden, or
    // a failed save keeps the program open).
    bool FormQueryUnload(UnloadMode mode);
    void FormUnload();
    void CloseMainWindow();

    void mnuClose_Click() { CloseMainWindow(); }
    void mnuFileSave_Click() { SaveStore(); }
    void mnuRevert_Click() { LoadStore(); }
    void lblStore_Click(int store);
    void submnustore_Click(int store);
    void submnuAutoSave_Click();

    void ShowClipboard();
    void GetClipPic();
    void mnuLowerCase_Click();
    void mnuUpperCase_Click();
    void mnuOppositeCase_Click();
    void mnuEmptyClipboard_Click();
    void txtClipboard_Click() { ShowClipboard(); }
    void txtLength_Click() { ShowClipboard(); }

    void LoadStore();
    bool SaveStore();  // false when the file could not be written (the user was told)
    bool CheckStoreChanges();
    void SwitchStore(int16_t store);
    void FormResize();

    void BeepIfSounds();
    void ApplyMainOnTop();
    const std::wstring& MainOnTopSetting() const { return mainOnTopSetting_; }

    int16_t CurrentStore() const { return currentStore_; }
    const std::wstring& SettingsPath() const { return settingsPath_; }
    const ProgramPlaces& Places() const { return places_; }
    int16_t MirrorOn() const { return mirrorOn_; }
    const std::wstring& HotkeysText() const { return hotkeysText_; }
    Settings& SettingsAccess() { return settings_; }

private:
    std::wstring Read(std::string_view key, std::wstring_view fallback) const {
        return settings_.ReadSetting(settingsPath_, kSettingsSection, key, fallback);
    }
    void Write(std::string_view key, std::wstring_view value) {
        settings_.WriteSetting(settingsPath_, kSettingsSection, key, value);
    }
    void LoadPictures();
    void LayOut(const WindowGeometry& g);
    void RewriteClipboard(std::wstring (*change)(const MainForm&, std::wstring_view));

    MainView& view_;
    Prompt& prompt_;
    FileSystem& fs_;
    Settings settings_;
    Clipboard& clipboard_;
    const CaseMapping& cases_;
    ProgramPlaces places_;
    std::wstring settingsPath_;
    int16_t currentStore_ = 0;
    bool storeChanged_ = false;
    std::wstring autoSaveSetting_;
    std::wstring mainOnTopSetting_ = L"0";
    int16_t mirrorOn_ = 0;
    std::wstring hotkeysText_ = L"0";
};

}  // namespace quillet
