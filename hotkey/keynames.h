// Names of key combinations: the text a hotkey's id is made from, and the
// two names that refuse a combination.
#pragma once

#include <cstdint>
#include <string>

namespace tarnkey {

inline constexpr char kUnsupported[] = "Unsupported";
inline constexpr char kReserved[] = "Reserved";

inline constexpr int32_t kModAlt = 1;
inline constexpr int32_t kModControl = 2;
inline constexpr int32_t kModShift = 4;
inline constexpr int32_t kModWin = 8;

// The key's name for a virtual-key code; F12 alone is reserved on the NT
// family and Enter with Alt alone everywhere.
std::string KeyName(int32_t keyCode, int32_t modifiers, bool windowsNT);

// "CTRL+", "ALT+", "SHIFT+", "WINKEY+" in that order, for the bits set.
std::string ModifierText(int32_t modifiers);

}  // namespace tarnkey
