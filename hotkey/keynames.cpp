// The names of keys and modifiers that a hotkey's text is made of.
#include "keynames.h"

namespace tarnkey {

namespace {

const char* FixedName(int32_t code) {
    switch (code) {
        case 8:
            return "Backspace";
        case 9:
            return "Tab";
        case 18:
            return "Menu";
        case 19:
            return "Pause";
        case 20:
            return "Caps Lock";
        case 27:
            return "Esc";
        case 32:
            return "SpaceBar";
        case 33:
            return "PageUp";
        case 34:
            return "PageDown";
        case 35:
            return "End";
        case 36:
            return "Home";
        case 37:
            return "LeftArrow";
        case 38:
            return "UpArrow";
        case 39:
            return "RightArrow";
        case 42:
            return "PrintScreen";
        case 45:
            return "Insert";
        case 46:
            return "Delete";
        case 106:
            return "NumPadMultiplication";
        case 107:
            return "NumPadAddition";
        case 108:
            return "NumPadEnter";
        case 109:
            return "NumPadSubtraction";
        case 110:
            return "NumPadDecimal";
        case 111:
            return "NumPadDivision";
        case 144:
            return "NumLock";
        case 145:
            return "ScrollLock";
        default:
            return nullptr;
    }
}

}  // namespace

std::string KeyName(int32_t keyCode, int32_t modifiers, bool windowsNT) {
    if ((keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z'))
        return std::string(1, static_cast<char>(keyCode));
    if (keyCode >= 96 && keyCode <= 105) return "NumPad" + std::to_string(keyCode - 96);
    if (keyCode == 123 && modifiers == 0 && windowsNT) return kReserved;
    if (keyCode >= 112 && keyCode <= 127) return "F" + std::to_string(keyCode - 111);
    if (keyCode == 13) return modifiers == kModAlt ? kReserved : "ENTER";
    if (const char* name = FixedName(keyCode)) return name;
    return kUnsupported;
}

std::string ModifierText(int32_t modifiers) {
    std::string text;
    if (modifiers & kModControl) text += "CTRL+";
    if (modifiers & kModAlt) text += "ALT+";
    if (modifiers & kModShift) text += "SHIFT+";
    if (modifiers & kModWin) text += "WINKEY+";
    return text;
}

}  // namespace tarnkey
