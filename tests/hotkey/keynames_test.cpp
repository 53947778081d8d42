#include <gtest/gtest.h>

#include "keynames.h"

namespace tarnkey {
namespace {

std::string Text(int32_t code, int32_t mods, bool nt = true) {
    const std::string name = KeyName(code, mods, nt);
    if (name == kUnsupported || name == kReserved) return name;
    return ModifierText(mods) + name;
}

TEST(KeyName, LettersDigitsAndNumPad) {
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(KeyName(c, 0, true), std::string(1, char(c)));
    for (int c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(KeyName(c, 0, true), std::string(1, char(c)));
    for (int c = 96; c <= 105; ++c)
        EXPECT_EQ(KeyName(c, 0, true), "NumPad" + std::to_string(c - 96));
    EXPECT_EQ(KeyName(97, 0, true), "NumPad1");
    EXPECT_EQ(KeyName(106, 0, true), "NumPadMultiplication");
    EXPECT_EQ(KeyName(107, 0, true), "NumPadAddition");
    EXPECT_EQ(KeyName(108, 0, true), "NumPadEnter");
    EXPECT_EQ(KeyName(109, 0, true), "NumPadSubtraction");
    EXPECT_EQ(KeyName(110, 0, true), "NumPadDecimal");
    EXPECT_EQ(KeyName(111, 0, true), "NumPadDivision");
}

TEST(KeyName, FunctionKeysAndTheF12Rule) {
    for (int c = 112; c <= 127; ++c) {
        if (c == 123) continue;
        EXPECT_EQ(KeyName(c, 0, true), "F" + std::to_string(c - 111));
    }
    EXPECT_EQ(KeyName(123, 0, true), kReserved);
    EXPECT_EQ(KeyName(123, 0, false), "F12");
    EXPECT_EQ(Text(123, 4), "SHIFT+F12");
    for (int c = 128; c <= 135; ++c) EXPECT_EQ(KeyName(c, 2, true), kUnsupported);  // F17-F24
}

TEST(KeyName, NamedKeysSpelledExactly) {
    const std::pair<int, const char*> table[] = {
        {8, "Backspace"},  {9, "Tab"},         {18, "Menu"},        {19, "Pause"},
        {20, "Caps Lock"}, {27, "Esc"},        {32, "SpaceBar"},    {33, "PageUp"},
        {34, "PageDown"},  {35, "End"},        {36, "Home"},        {37, "LeftArrow"},
        {38, "UpArrow"},   {39, "RightArrow"}, {42, "PrintScreen"}, {45, "Insert"},
        {46, "Delete"},    {144, "NumLock"},   {145, "ScrollLock"}, {13, "ENTER"}};
    for (const auto& [code, name] : table) EXPECT_EQ(KeyName(code, 0, true), name) << code;
}

TEST(KeyName, EnterWithAltAloneIsReserved) {
    EXPECT_EQ(KeyName(13, 1, true), kReserved);
    EXPECT_EQ(Text(13, 5), "ALT+SHIFT+ENTER");
    EXPECT_EQ(Text(13, 3), "CTRL+ALT+ENTER");
    EXPECT_EQ(Text(13, 0), "ENTER");
}

TEST(KeyName, UnsupportedCodes) {
    for (int code : {0, 1, 16, 17, 40, 44, 91, 92, 93, 146, 255, 256, -1, 65 + 256})
        for (int mods : {0, 1, 2, 15}) EXPECT_EQ(KeyName(code, mods, true), kUnsupported) << code;
}

TEST(ModifierText, FixedOrderWhateverTheBits) {
    EXPECT_EQ(ModifierText(0), "");
    EXPECT_EQ(ModifierText(1), "ALT+");
    EXPECT_EQ(ModifierText(3), "CTRL+ALT+");
    EXPECT_EQ(ModifierText(15), "CTRL+ALT+SHIFT+WINKEY+");
    EXPECT_EQ(ModifierText(16 | 4), "SHIFT+");
    EXPECT_EQ(Text(65, 2), "CTRL+A");
    EXPECT_EQ(Text(48, 3), "CTRL+ALT+0");
    EXPECT_EQ(Text(36, 8), "WINKEY+Home");
    EXPECT_EQ(Text(112, 3), "CTRL+ALT+F1");
}

}  // namespace
}  // namespace tarnkey
