// The Options menu: reading, showing, toggling and applying the options.
#include "options.h"

#include <vector>

#include "background/hotkeys.h"

namespace quillet {

void ProgramOptions::Read(const SettingsSnapshot& stored, std::wstring autoRunCommand) {
    auto read = [&stored](std::string_view key) { return stored.Read(kSettingsSection, key, L""); };
    autoRunCommand_ = std::move(autoRunCommand);
    options_.autoSave = read("AutoSave") == L"1";
    options_.sounds = read("Sounds") != L"0";
    options_.autoRun = read("AutoRun") == L"1";
    options_.startInTray = read("StartTray") == L"1";
    options_.mirror = ToInt16(stored.Read(kSettingsSection, "Mirror", L"0")).value_or(0);
    const std::wstring hotkeys = stored.Read(kSettingsSection, "Hotkeys", L"0");
    options_.hotkeys = HotkeysSettingOn(codec_.ToBytes(hotkeys));
    ApplyMainOnTop(stores_.NumberStored(), read("MainOnTop"));
}

void ProgramOptions::Show() {
    for (const OptionItem& item : kOptionItems) view_.SetChecked(item.menuItem, options_.*item.on);
    view_.SetChecked(IDM_MIRROR, options_.mirror == 1);
}

bool ProgramOptions::Toggle(int menuItem) {
    for (const OptionItem& item : kOptionItems) {
        if (item.menuItem != menuItem) continue;
        bool& on = options_.*item.on;
        on = !on;
        view_.SetChecked(item.menuItem, on);
        stores_.Write(item.key, on ? L"1" : L"0");
        return on;
    }
    return false;
}

void ProgramOptions::ToggleMirror() {
    options_.mirror = options_.mirror == 1 ? 0 : 1;
    view_.SetChecked(IDM_MIRROR, options_.mirror == 1);
    stores_.Write("Mirror", options_.mirror == 1 ? L"1" : L"0");
}

void ProgramOptions::ApplyMainOnTop() {
    const std::vector<std::wstring> values =
        stores_.File().ReadSettings(stores_.Path(), kSettingsSection, {"StoreNumber", "MainOnTop"});
    ApplyMainOnTop(!values[0].empty(), values[1]);
}

void ProgramOptions::ApplyMainOnTop(bool settingsStored, std::wstring_view mainOnTop) {
    options_.stayOnTop = settingsStored && mainOnTop == L"1";
    view_.SetTopMost(options_.stayOnTop);
    view_.SetChecked(IDM_STAYTOP, options_.stayOnTop);
}

// A normal user has no right to the machine's Run key, and the check mark
// must not lie.
void ProgramOptions::AutoRunOn(bool tell) {
    if (autoRun_.Set(AutoRunEntries::Scope::kMachine, autoRunCommand_)) return;
    const IoResult user = autoRun_.Set(AutoRunEntries::Scope::kUser, autoRunCommand_);
    if (!user && tell)
        prompt_.Tell(kProgramTitle,
                     L"Quillet Pro could not be set to start with Windows.\r\n\r\n" + user.reason,
                     Prompt::Icon::kExclamation);
}

void ProgramOptions::AutoRunOff() {
    const IoResult machine = autoRun_.Remove(AutoRunEntries::Scope::kMachine);
    const IoResult user = autoRun_.Remove(AutoRunEntries::Scope::kUser);
    if (!machine && !user)
        prompt_.Tell(
            kProgramTitle,
            L"Quillet Pro could not be kept from starting with Windows.\r\n\r\n" + machine.reason,
            Prompt::Icon::kExclamation);
}

}  // namespace quillet
