// The real program saving the full settings file, killed at random moments:
// after every kill the file holds the old or the new store whole, and the
// profile functions read every value of it. QUILLET_KILLS sets the count.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "support/program_win.h"

namespace quillet::testing {
namespace {

constexpr int kStores = 16, kSlots = 10, kTextLength = 31999;

// A slot's stored text: lines of 78 letters closed by the stored line break,
// no two slots alike.
std::string StoredText(int store, int slot) {
    std::string text;
    text.reserve(kTextLength + 1);
    for (int c = 0; c < kTextLength; ++c) {
        if (c % 80 == 78 && c + 1 < kTextLength) {
            text += "\xFF\xF6";
            ++c;
        } else {
            text += static_cast<char>('a' + (c + slot + store) % 26);
        }
    }
    return text;
}

// What the save writes into slot 0 of store 1; versions differ in length so
// that a file cut short or left long shows.
std::wstring Version(int n) {
    std::wstring text = L"version " + std::to_wstring(n) + L" ";
    text.resize(n % 2 ? 3000 : 2000, static_cast<wchar_t>(L'A' + n % 26));
    return text;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // plain ASCII
}

// The file with slot 0 of store 1 as `version` (0 for the first content)
// left it: the save changes that value in place and every other byte stays.
std::string FullFile(int version) {
    std::string file = "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nAutoSave=1\r\n";
    for (int store = 0; store < kStores; ++store) {
        file += "[Savings" + std::to_string(store) + "]\r\n";
        for (int i = 0; i < kSlots; ++i) {
            const std::string key = "(" + std::to_string(i) + ")=";
            const bool saved = store == 1 && i == 0 && version > 0;
            file +=
                "txt" + key + (saved ? Narrow(Version(version)) : StoredText(store, i)) + "\r\n";
            file += "txtTitle" + key + "Slot " + std::to_string(i + 1) + "\r\n";
        }
    }
    return file;
}

std::string Profile(const std::string& section, const std::string& key) {
    static std::vector<char> buffer(70000);
    const DWORD n =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<absent>", buffer.data(),
                                   static_cast<DWORD>(buffer.size()), "C:\\quilbdx.ini");
    return std::string(buffer.data(), n);
}

ULONGLONG LastWrite() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(kSettingsFile, GetFileExInfoStandard, &data);
    return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

class KilledSaveTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InstallProgram(); }
    void SetUp() override {
        CleanDriveC();
        WriteFileBytes(kSettingsFile, FullFile(0));
    }
    void TearDown() override { CleanDriveC(); }

    // Which of two versions the file holds whole, or -1 for neither. The
    // profile functions read each value of the first file of either length;
    // a later file that is byte for byte a version's reads as well (each
    // read of the file by them costs seconds under Wine).
    int Holds(int older, int newer) {
        const std::string bytes = ReadFileBytes(kSettingsFile);
        const int holds = bytes == FullFile(older) ? older : bytes == FullFile(newer) ? newer : -1;
        if (holds >= 0 && !readByProfile_.insert(Version(holds).size()).second) return holds;
        const int read = ReadByProfile(older, newer);
        EXPECT_EQ(read, holds) << "the profile functions read another version than the bytes hold";
        return holds;
    }

    // The same through the profile functions, after checking that every other
    // value is as written.
    int ReadByProfile(int older, int newer) {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "C:\\quilbdx.ini");
        for (int store = 0; store < kStores; ++store) {
            const std::string section = "Savings" + std::to_string(store);
            for (int i = 0; i < kSlots; ++i) {
                const std::string key = "(" + std::to_string(i) + ")";
                EXPECT_EQ(Profile(section, "txtTitle" + key), "Slot " + std::to_string(i + 1))
                    << section << " " << i;
                if (store == 1 && i == 0) continue;
                EXPECT_TRUE(Profile(section, "txt" + key) == StoredText(store, i))
                    << section << " txt" << key << " changed";
            }
        }
        const std::string slot = Profile("Savings1", "txt(0)");
        if (slot == Narrow(Version(older))) return older;
        if (slot == Narrow(Version(newer))) return newer;
        ADD_FAILURE() << "slot 0 holds " << slot.size() << " bytes beginning "
                      << slot.substr(0, 20);
        return -1;
    }

    // The time from the Save command to the new file, once the program runs.
    long long TimeSave(RunningProgram& app, int version) {
        app.SetText(IDC_TXT0, Version(version));
        const ULONGLONG before = LastWrite();
        const auto start = std::chrono::steady_clock::now();
        app.Command(IDM_FILESAVE);
        EXPECT_TRUE(WaitFor([&] { return LastWrite() != before; }));
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }

    std::set<size_t> readByProfile_;  // lengths of the version read that way
};

TEST_F(KilledSaveTest, TheFileHoldsTheOldOrTheNewStoreWhole) {
    const char* wanted = std::getenv("QUILLET_KILLS");
    const int kills = wanted ? std::max(1, std::atoi(wanted)) : 20;
    int version = 0;
    long long pace = 0;
    {
        RunningProgram app;
        ASSERT_TRUE(app.Start());
        long long paces[3] = {};
        for (long long& micros : paces) micros = TimeSave(app, ++version);
        std::sort(std::begin(paces), std::end(paces));
        pace = paces[1];
        app.Kill();
        ASSERT_TRUE(app.WaitForExit());
    }
    ASSERT_EQ(Holds(version - 1, version), version);

    std::mt19937 random(2024);
    long long longest = 2 * pace;
    int sawOld = 0, sawNew = 0, done = 0;
    // More than asked for until both outcomes were seen, the kills spreading
    // wider while none came after a finished save.
    for (; done < kills || ((sawOld == 0 || sawNew == 0) && done < 3 * kills); ++done) {
        if (done % 10 == 9 && sawNew == 0) longest *= 2;
        RunningProgram app;
        ASSERT_TRUE(app.Start());
        const int next = version + 1;
        app.SetText(IDC_TXT0, Version(next));
        ASSERT_EQ(::SendMessageW(app.Control(IDC_TXT0), WM_GETTEXTLENGTH, 0, 0),
                  static_cast<LRESULT>(Version(next).size()));
        std::uniform_int_distribution<long long> delay(0, longest);
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::microseconds(delay(random));
        app.Command(IDM_FILESAVE);
        while (std::chrono::steady_clock::now() < until) {
        }
        app.Kill();
        ASSERT_TRUE(app.WaitForExit());
        const int holds = Holds(version, next);
        ASSERT_NE(holds, -1) << "after kill " << done;
        if (holds == next) {
            version = next;
            ++sawNew;
        } else {
            ++sawOld;
        }
    }
    std::printf("%d kills over 0-%lld us (a save takes about %lld us): %d old, %d new\n", done,
                longest, pace, sawOld, sawNew);
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

}  // namespace
}  // namespace quillet::testing
