// Settings files in the Unicode form between the engine and the profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "store/Module1.h"
#include "store/encoding.h"

namespace quillet {
namespace {

const wchar_t kPath[] = L"C:\\unicode_profile.ini";
const std::wstring kPolish =
    L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 \u65E5\u672C\u8A9E \xD83D\xDE00";

std::wstring WideProfile(const wchar_t* section, const wchar_t* key) {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, kPath);  // forget any cached copy
    std::vector<wchar_t> buffer(70000);
    const DWORD n = ::GetPrivateProfileStringW(section, key, L"<absent>", buffer.data(),
                                               static_cast<DWORD>(buffer.size()), kPath);
    return std::wstring(buffer.data(), n);
}

std::string AnsiProfile(const char* section, const char* key) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "C:\\unicode_profile.ini");
    std::vector<char> buffer(70000);
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, "<absent>", buffer.data(),
                                   static_cast<DWORD>(buffer.size()), "C:\\unicode_profile.ini");
    return std::string(buffer.data(), n);
}

class UnicodeProfile : public ::testing::Test {
  protected:
    void SetUp() override { ::DeleteFileW(kPath); }
    void TearDown() override { ::DeleteFileW(kPath); }
    Settings settings{RealFileSystem(), SystemCodec()};
};

// What the engine writes, in either form, reads the same through the 8-bit
// and the wide profile functions; the marker stays two characters.
TEST_F(UnicodeProfile, EngineFilesReadTheSameThroughBothProfileFunctions) {
    ASSERT_TRUE(settings.WriteSetting(kPath, "Savings1", "txt(0)", L"caf\u00E9\r\nbar"));
    EXPECT_EQ(AnsiProfile("Savings1", "txt(0)"),
              "caf\xE9\xFF\xF6"
              "bar");
    EXPECT_EQ(WideProfile(L"Savings1", L"txt(0)"),
              L"caf\u00E9\u00FF\u00F6"
              L"bar");

    ASSERT_TRUE(settings.WriteSetting(kPath, "Savings1", "txt(1)", kPolish + L"\r\nend"));
    EXPECT_EQ(WideProfile(L"Savings1", L"txt(1)"), kPolish +
                                                       L"\u00FF\u00F6"
                                                       L"end");
    EXPECT_EQ(WideProfile(L"Savings1", L"txt(0)"),
              L"caf\u00E9\u00FF\u00F6"
              L"bar");
    EXPECT_EQ(AnsiProfile("Savings1", "txt(0)"),
              "caf\xE9\xFF\xF6"
              "bar");
    EXPECT_EQ(settings.ReadSetting(kPath, "Savings1", "txt(1)", L""), kPolish + L"\r\nend");
}

TEST_F(UnicodeProfile, FilesOfTheWideProfileFunctionsReadTheSameThroughTheEngine) {
    // The profile functions keep a file in the form they find it in.
    HANDLE file = ::CreateFileW(kPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    ::WriteFile(file, "\xFF\xFE", 2, &put, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Savings2", L"txt(3)",
                                             (kPolish + L"\u00FF\u00F6x").c_str(), kPath));
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Settings", L"StoreNumber", L"2", kPath));
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, kPath);
    EXPECT_EQ(settings.ReadSetting(kPath, "Savings2", "txt(3)", L""), kPolish + L"\r\nx");
    EXPECT_EQ(settings.ReadSetting(kPath, "Settings", "StoreNumber", L""), L"2");
    // A write of the engine keeps what the profile functions wrote.
    ASSERT_TRUE(settings.WriteSetting(kPath, "Settings", "StoreNumber", L"5"));
    EXPECT_EQ(WideProfile(L"Savings2", L"txt(3)"), kPolish + L"\u00FF\u00F6x");
    EXPECT_EQ(WideProfile(L"Settings", L"StoreNumber"), L"5");
}

}  // namespace
}  // namespace quillet
