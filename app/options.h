// The user's choices from the Options menu, as the program holds them while
// it runs; the menu's check marks are drawn from here and never read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "main_view.h"
#include "resource.h"
#include "store/encoding.h"
#include "store_session.h"
#include "util/auto_run.h"

namespace quillet {

struct Options {
    bool autoRun = false;      // "AutoRun" is "1"
    bool startInTray = false;  // "StartTray" is "1"
    bool hotkeys = false;      // "Hotkeys" is anything but "0"
    int16_t mirror = 0;        // "Mirror" as a number: checked at 1, mirrored when not 0
    bool stayOnTop = false;    // "MainOnTop" is "1" once settings were stored
    bool autoSave = false;     // "AutoSave" is "1"
    bool sounds = true;        // "Sounds" is anything but "0"
};

// The Options menu's on/off items: each is written as "1" or "0" the moment
// it changes, and its check mark follows. Mirror, a number, is apart.
struct OptionItem {
    int menuItem;
    std::string_view key;
    bool Options::*on;
};
inline constexpr OptionItem kOptionItems[] = {
    {IDM_AUTORUN, "AutoRun", &Options::autoRun},
    {IDM_STARTTRAY, "StartTray", &Options::startInTray},
    {IDM_HOTKEYS, "Hotkeys", &Options::hotkeys},
    {IDM_STAYTOP, "MainOnTop", &Options::stayOnTop},
    {IDM_AUTOSAVE, "AutoSave", &Options::autoSave},
    {IDM_SOUNDS, "Sounds", &Options::sounds},
};

// The options with their check marks, where they are stored, and what the
// two that reach outside the window (top-most, starting with Windows) do.
class ProgramOptions {
  public:
    ProgramOptions(MainView& view, StoreSession& stores, Prompt& prompt, const TextCodec& codec,
                   AutoRunEntries& autoRun)
        : view_(view), stores_(stores), prompt_(prompt), codec_(codec), autoRun_(autoRun) {}

    // The options as the file holds them at start; `autoRunCommand` is what
    // the Run keys get.
    void Read(const SettingsSnapshot& stored, std::wstring autoRunCommand);
    // Every check mark from the options held.
    void Show();
    // Flips an on/off option and writes it at once; its new state.
    bool Toggle(int menuItem);
    void ToggleMirror();
    // Stay on top from the file again, as the help and print windows leave
    // it; before any settings were stored the window is never kept on top.
    void ApplyMainOnTop();

    // For all users where the user may, else for this user.
    void AutoRunOn(bool tell = true);
    void AutoRunOff();

    const Options& Current() const { return options_; }
    void BeepIfSounds() { if (options_.sounds) view_.Beep(); }

  private:
    void ApplyMainOnTop(bool settingsStored, std::wstring_view mainOnTop);

    MainView& view_;
    StoreSession& stores_;
    Prompt& prompt_;
    const TextCodec& codec_;
    AutoRunEntries& autoRun_;
    Options options_;
    std::wstring autoRunCommand_;
};

}  // namespace quillet
