// Conversions to the code pages that refuse flags. The settings file's page
// can be one of them (UTF-8, where the system uses it for every program),
// and a refused conversion would write every text as nothing. Wine has one
// such page besides UTF-8: Symbol.
#include <gtest/gtest.h>

#include "base/strings_win.h"

namespace quillet {
namespace {

constexpr UINT kSymbol = 42;

TEST(CodePages, PagesThatTakeNoFlagsConvertAndTellWhatTheyLose) {
    EXPECT_EQ(Narrow(L"\uF041\uF062", kSymbol), "Ab");
    EXPECT_EQ(Widen("Ab", kSymbol), L"\uF041\uF062");
    EXPECT_TRUE(Represents(L"\uF041\uF062", kSymbol));
    EXPECT_FALSE(Represents(L"caf\u00E9", kSymbol));
    EXPECT_EQ(Narrow(L"Za\u017C\u00F3\u0142\u0107", CP_UTF8), "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87");
    EXPECT_TRUE(Represents(L"Za\u017C\u00F3\u0142\u0107", CP_UTF8));
}

}  // namespace
}  // namespace quillet
