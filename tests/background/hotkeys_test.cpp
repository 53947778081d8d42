// The hotkey table, its set-up over a fake component and layout, and presses.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "background/hotkeys.h"

namespace quillet {
namespace {

// Hands out ids like the component's atoms (negative, distinct) and refuses
// the combinations another program holds.
class FakeService : public HotkeyService {
  public:
    std::set<int> held;
    std::vector<std::pair<int, int>> calls;  // key code, modifiers
    int32_t SetHotKey(int keyCode, int modifiers) override {
        calls.emplace_back(keyCode, modifiers);
        if (held.count(keyCode)) return 0;
        return -16384 + static_cast<int32_t>(calls.size()) * 7;
    }
};

class FakeLayout : public KeyboardLayout {
  public:
    std::set<int> typing;
    std::vector<int> asked;
    bool CtrlAltTypesCharacter(int virtualKey) override {
        asked.push_back(virtualKey);
        return typing.count(virtualKey) > 0;
    }
};

// The key of combination i: F1 ... F10, then 1 ... 9 and 0.
int KeyOf(int i) {
    return i < 10 ? 112 + i : (i < 19 ? '1' + i - 10 : '0');
}

TEST(HotkeyBindings, RegistersTwentyCombinationsWithCtrlAltAndMapsTheirPresses) {
    FakeService service;
    FakeLayout us;
    HotkeyBindings bindings;
    bindings.SetUp(&service, us);

    // Ctrl+Alt+F1 ... F10 copy slots 1 ... 10; Ctrl+Alt+1 ... 9 and 0 paste
    // into them.
    ASSERT_EQ(service.calls.size(), 20u);
    EXPECT_TRUE(bindings.Missing().empty());
    EXPECT_EQ(bindings.MissingMessage(), L"");
    const auto& ids = bindings.HotkeyIDs();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(service.calls[i], std::make_pair(KeyOf(i), 3)) << i;
        EXPECT_NE(ids[i], 0);
        EXPECT_EQ(bindings.OnPress(ids[i], true),
                  (HotkeyAction{i < 10 ? HotkeyKind::Copy : HotkeyKind::Paste, i % 10}))
            << i;
    }
    EXPECT_EQ(bindings.OnPress(12345, true), std::nullopt);
    // While the hotkeys are off, presses count for nothing; hand-edited
    // settings turn them on as long as they are not "0".
    EXPECT_EQ(bindings.OnPress(ids[2], false), std::nullopt);
    EXPECT_FALSE(HotkeysSettingOn("0"));
    for (const char* on : {"1", "yes", "2"}) EXPECT_TRUE(HotkeysSettingOn(on)) << on;
}

TEST(HotkeyBindings, DigitsThatTypeCharactersWithAltGrAreLeftToTheLayout) {
    FakeService service;
    FakeLayout german;
    german.typing = {'2', '3', '7', '8', '9', '0', 112};  // F1 never types
    HotkeyBindings bindings;
    bindings.SetUp(&service, german);

    // Ctrl+Alt+F1 stays, whatever the layout says.
    const std::set<int> left = {11, 12, 16, 17, 18, 19};  // Ctrl+Alt+2, 3, 7, 8, 9, 0
    std::vector<HotkeyMiss> expected;
    std::vector<int> registered;
    for (int i = 0; i < 20; ++i) {
        if (left.count(i))
            expected.push_back({static_cast<size_t>(i), HotkeyMissReason::TypesCharacter});
        else
            registered.push_back(KeyOf(i));
        EXPECT_EQ(bindings.HotkeyIDs()[i] == 0, left.count(i) == 1) << i;
    }
    std::vector<int> called;
    for (const auto& call : service.calls) called.push_back(call.first);
    EXPECT_EQ(called, registered);
    EXPECT_EQ(bindings.Missing(), expected);
    EXPECT_EQ(bindings.OnPress(0, true), std::nullopt);
    EXPECT_EQ(bindings.MissingMessage(),
              L"Ctrl+Alt+2, Ctrl+Alt+3, Ctrl+Alt+7, Ctrl+Alt+8, Ctrl+Alt+9, Ctrl+Alt+0 type "
              L"characters on this keyboard layout and are left to it.");
}

TEST(HotkeyBindings, RefusedCombinationsAreListedAndTheOthersStillWork) {
    FakeService service;
    service.held = {113};  // another program holds Ctrl+Alt+F2
    FakeLayout polish;
    polish.typing = {'5'};
    HotkeyBindings bindings;
    bindings.SetUp(&service, polish);

    EXPECT_EQ(bindings.HotkeyIDs()[1], 0);
    EXPECT_EQ(bindings.OnPress(bindings.HotkeyIDs()[2], true), (HotkeyAction{HotkeyKind::Copy, 2}));
    const std::vector<HotkeyMiss> expected = {{1, HotkeyMissReason::Refused},
                                              {14, HotkeyMissReason::TypesCharacter}};
    EXPECT_EQ(bindings.Missing(), expected);
    EXPECT_EQ(bindings.MissingMessage(),
              L"Ctrl+Alt+5 types a character on this keyboard layout and is left to it.\r\n"
              L"Ctrl+Alt+F2 is in use by another program.");
    service.held = {113, 121, '6'};
    FakeLayout us;
    bindings.SetUp(&service, us);
    EXPECT_EQ(bindings.MissingMessage(),
              L"Ctrl+Alt+F2, Ctrl+Alt+F10, Ctrl+Alt+6 are in use by other programs.");
}

TEST(HotkeyBindings, WithoutTheComponentNothingIsBoundAndTheUserIsTold) {
    FakeLayout us;
    HotkeyBindings bindings;
    bindings.SetUp(nullptr, us);
    for (int32_t id : bindings.HotkeyIDs()) EXPECT_EQ(id, 0);
    EXPECT_EQ(bindings.Missing().size(), 20u);
    EXPECT_EQ(bindings.OnPress(0, true), std::nullopt);
    EXPECT_NE(bindings.MissingMessage().find(L"Tarnkey.dll"), std::wstring::npos);
}

TEST(HotkeyBindings, ASecondSetUpReplacesTheFirst) {
    FakeService first;
    first.held = {114};
    FakeLayout us;
    HotkeyBindings bindings;
    bindings.SetUp(&first, us);
    const int32_t oldF1 = bindings.HotkeyIDs()[0];

    FakeService second;
    second.calls.resize(100);  // its ids differ from the first service's
    bindings.SetUp(&second, us);
    EXPECT_TRUE(bindings.Missing().empty());
    EXPECT_NE(bindings.HotkeyIDs()[2], 0);
    EXPECT_EQ(bindings.OnPress(oldF1, true), std::nullopt);
}

}  // namespace
}  // namespace quillet
