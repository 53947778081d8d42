// The twenty Ctrl+Alt hotkeys: their table, their set-up over the hotkey
// component and the keyboard layout, and what a press asks the program to do.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Registers one system-wide combination; the id that presses will carry, or
// 0 when the system or the component refused it.
class HotkeyService {
  public:
    virtual ~HotkeyService() = default;
    virtual int32_t SetHotKey(int keyCode, int modifiers) = 0;
};

// The keyboard layout the user types with.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // True when the key, pressed with Ctrl and Alt held (AltGr on many
    // layouts), types a character.
    virtual bool CtrlAltTypesCharacter(int virtualKey) = 0;
};

enum class HotkeyKind { Copy, Paste };

struct HotkeyAction {
    HotkeyKind kind;
    int slot;  // 0 … 9
    bool operator==(const HotkeyAction&) const = default;
};

struct HotkeyBinding {
    int keyCode;  // a Windows virtual-key code
    HotkeyAction action;
};

// MOD_CONTROL + MOD_ALT.
constexpr int kHotkeyModifiers = 3;
constexpr size_t kHotkeyCount = 20;

// Ctrl+Alt+F1 … F10 copy slots 0 … 9; Ctrl+Alt+1 … 9 paste into slots
// 0 … 8 and Ctrl+Alt+0 into slot 9. The order is the registration order.
const std::array<HotkeyBinding, kHotkeyCount>& HotkeyTable();

// The Hotkeys setting means on for every text but "0": a hand-edited value
// turns them on at start, so presses must not be ignored afterwards either.
bool HotkeysSettingOn(std::string_view setting);

enum class HotkeyMissReason {
    TypesCharacter,  // left to the keyboard layout, never registered
    Refused,         // the system or the component said no
    NoComponent,     // the hotkey component could not be made
};

struct HotkeyMiss {
    size_t index;  // into HotkeyTable()
    HotkeyMissReason reason;
    bool operator==(const HotkeyMiss&) const = default;
};

// "Ctrl+Alt+F3", "Ctrl+Alt+0".
std::wstring HotkeyName(const HotkeyBinding& binding);

class HotkeyBindings {
  public:
    // Registers the table in order. A digit whose Ctrl+Alt combination types
    // a character is skipped: registering it would take that character from
    // every program. Without a service (the component could not be made)
    // nothing is registered. May run again; the ids are replaced.
    void SetUp(HotkeyService* service, KeyboardLayout& layout);

    // What a press of `id` asks for; nothing while hotkeys are off or for an
    // id none of the bindings holds.
    std::optional<HotkeyAction> OnPress(int32_t id, bool hotkeysOn) const;

    // Per table entry the id SetHotKey gave, 0 where it is absent.
    const std::array<int32_t, kHotkeyCount>& HotkeyIDs() const { return ids_; }
    const std::vector<HotkeyMiss>& Missing() const { return missing_; }

    // What to tell the user about the bindings that are absent, in lines
    // joined by CR LF; empty when all twenty work.
    std::wstring MissingMessage() const;

  private:
    std::array<int32_t, kHotkeyCount> ids_{};
    std::vector<HotkeyMiss> missing_;
};

}  // namespace quillet
