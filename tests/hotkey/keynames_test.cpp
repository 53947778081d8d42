// Key and modifier names against the fixed table a hotkey's text is made from.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "keynames.h"

namespace tarnkey {
namespace {

using Table = std::initializer_list<std::pair<int32_t, const char*>>;

// With Ctrl alone, so that neither F12 nor Enter is reserved.
void ExpectNames(Table table) {
    for (const auto& [code, name] : table) EXPECT_EQ(KeyName(code, 2, true), name) << code;
}

TEST(KeyName, DigitsLettersFunctionKeysAndTheNumPadAreNumbered) {
    for (int32_t code = '0'; code <= '9'; ++code)
        EXPECT_EQ(KeyName(code, 2, true), std::string(1, static_cast<char>(code)));
    for (int32_t code = 'A'; code <= 'Z'; ++code)
        EXPECT_EQ(KeyName(code, 2, true), std::string(1, static_cast<char>(code)));
    for (int32_t n = 1; n <= 16; ++n) EXPECT_EQ(KeyName(111 + n, 2, true), "F" + std::to_string(n));
    for (int32_t n = 0; n <= 9; ++n)
        EXPECT_EQ(KeyName(96 + n, 2, true), "NumPad" + std::to_string(n));
}

TEST(KeyName, OtherNamedKeysSpelledExactly) {
    ExpectNames({{8, "Backspace"},  {9, "Tab"},        {13, "ENTER"},      {18, "Menu"},
                 {19, "Pause"},     {20, "Caps Lock"}, {27, "Esc"},        {32, "SpaceBar"},
                 {33, "PageUp"},    {34, "PageDown"},  {35, "End"},        {36, "Home"},
                 {37, "LeftArrow"}, {38, "UpArrow"},   {39, "RightArrow"}, {42, "PrintScreen"},
                 {45, "Insert"},    {46, "Delete"},    {144, "NumLock"},   {145, "ScrollLock"}});
    ExpectNames({{106, "NumPadMultiplication"}, {107, "NumPadAddition"}, {108, "NumPadEnter"}});
    ExpectNames({{109, "NumPadSubtraction"}, {110, "NumPadDecimal"}, {111, "NumPadDivision"}});
}

TEST(KeyName, EveryOtherCodeIsUnsupportedWhateverTheModifiers) {
    // The down arrow, 44, Shift, Control, the Windows keys, F17-F24, the
    // neighbours of each named range, and codes that are named modulo 256.
    for (int32_t code : {40, 44, 16, 17, 91, 92,  128, 131, 135, 0,        1,
                         47, 58, 64, 93, 95, 146, 255, 256, -1,  65 + 256, 112 + 256})
        for (int32_t mods : {0, 1, 2, 15})
            EXPECT_EQ(KeyName(code, mods, true), kUnsupported) << code;
}

TEST(KeyName, F12AloneIsReservedOnlyOnTheNtFamily) {
    EXPECT_EQ(KeyName(123, 0, true), kReserved);
    EXPECT_EQ(KeyName(123, 0, false), "F12");
    EXPECT_EQ(KeyName(123, 4, true), "F12");
    EXPECT_EQ(KeyName(122, 0, true), "F11");
}

TEST(KeyName, EnterIsReservedWithAltAloneOnly) {
    for (const bool nt : {true, false}) EXPECT_EQ(KeyName(13, 1, nt), kReserved);
    for (const int32_t mods : {0, 3, 5, 9}) EXPECT_EQ(KeyName(13, mods, true), "ENTER") << mods;
    EXPECT_EQ(KeyName(108, 1, true), "NumPadEnter");
}

TEST(ModifierText, CtrlAltShiftWinInThatOrderWhateverTheBits) {
    const std::pair<int32_t, const char*> cases[] = {{0, ""},
                                                     {1, "ALT+"},
                                                     {2, "CTRL+"},
                                                     {4, "SHIFT+"},
                                                     {8, "WINKEY+"},
                                                     {3, "CTRL+ALT+"},
                                                     {5, "ALT+SHIFT+"},
                                                     {10, "CTRL+WINKEY+"},
                                                     {16 | 4, "SHIFT+"},
                                                     {16, ""},
                                                     {15, "CTRL+ALT+SHIFT+WINKEY+"}};
    for (const auto& [mods, text] : cases) EXPECT_EQ(ModifierText(mods), text) << mods;
}

}  // namespace
}  // namespace tarnkey
