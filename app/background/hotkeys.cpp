// The hotkey table, its set-up and the mapping of presses to slot actions.
#include "background/hotkeys.h"

namespace quillet {

namespace {

constexpr int kF1 = 112;

constexpr std::array<HotkeyBinding, kHotkeyCount> MakeTable() {
    std::array<HotkeyBinding, kHotkeyCount> table{};
    for (int i = 0; i < 10; ++i) table[i] = {kF1 + i, {HotkeyKind::Copy, i}};
    for (int i = 0; i < 9; ++i) table[10 + i] = {'1' + i, {HotkeyKind::Paste, i}};
    table[19] = {'0', {HotkeyKind::Paste, 9}};
    return table;
}

constexpr std::array<HotkeyBinding, kHotkeyCount> kTable = MakeTable();

bool IsDigitKey(int keyCode) {
    return keyCode >= '0' && keyCode <= '9';
}

std::wstring NamesWith(const std::vector<HotkeyMiss>& missing, HotkeyMissReason reason,
                       size_t& count) {
    std::wstring names;
    count = 0;
    for (const HotkeyMiss& miss : missing) {
        if (miss.reason != reason) continue;
        if (count++) names += L", ";
        names += HotkeyName(kTable[miss.index]);
    }
    return names;
}

}  // namespace

const std::array<HotkeyBinding, kHotkeyCount>& HotkeyTable() {
    return kTable;
}

bool HotkeysSettingOn(std::string_view setting) {
    return setting != "0";
}

std::wstring HotkeyName(const HotkeyBinding& binding) {
    std::wstring name = L"Ctrl+Alt+";
    if (binding.keyCode >= kF1 && binding.keyCode < kF1 + 24)
        name += L"F" + std::to_wstring(binding.keyCode - kF1 + 1);
    else
        name += static_cast<wchar_t>(binding.keyCode);
    return name;
}

void HotkeyBindings::SetUp(HotkeyService* service, KeyboardLayout& layout) {
    ids_.fill(0);
    missing_.clear();
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (!service) {
            missing_.push_back({i, HotkeyMissReason::NoComponent});
            continue;
        }
        // A failing statement is skipped and the next binding still tries.
        try {
            if (IsDigitKey(kTable[i].keyCode) && layout.CtrlAltTypesCharacter(kTable[i].keyCode)) {
                missing_.push_back({i, HotkeyMissReason::TypesCharacter});
                continue;
            }
            ids_[i] = service->SetHotKey(kTable[i].keyCode, kHotkeyModifiers);
        } catch (...) {
            ids_[i] = 0;
        }
        if (ids_[i] == 0) missing_.push_back({i, HotkeyMissReason::Refused});
    }
}

std::optional<HotkeyAction> HotkeyBindings::OnPress(int32_t id, bool hotkeysOn) const {
    // 0 marks an absent binding, so it never matches.
    if (!hotkeysOn || id == 0) return std::nullopt;
    for (size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == id) return kTable[i].action;
    return std::nullopt;
}

std::wstring HotkeyBindings::MissingMessage() const {
    if (!missing_.empty() && missing_.front().reason == HotkeyMissReason::NoComponent)
        return L"The hotkey component Tarnkey.dll could not be loaded, so Quillet runs without "
               L"hotkeys.";
    std::wstring message;
    size_t count = 0;
    const std::wstring typing = NamesWith(missing_, HotkeyMissReason::TypesCharacter, count);
    if (count == 1)
        message = typing + L" types a character on this keyboard layout and is left to it.";
    else if (count > 1)
        message = typing + L" type characters on this keyboard layout and are left to it.";
    const std::wstring refused = NamesWith(missing_, HotkeyMissReason::Refused, count);
    if (count && !message.empty()) message += L"\r\n";
    if (count == 1)
        message += refused + L" is in use by another program.";
    else if (count > 1)
        message += refused + L" are in use by other programs.";
    return message;
}

}  // namespace quillet
