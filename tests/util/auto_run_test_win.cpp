// RegistryAutoRun against the real registry. Both root keys are redirected
// into a key of the test's own, so neither real Run key changes and the
// machine's can be closed to writing as it is for a normal user.
#include "util/auto_run_win.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles_win.h"
#include "base/strings_win.h"
#include "store/encoding.h"

namespace quillet {
namespace {

using Scope = AutoRunEntries::Scope;

const std::wstring kAbsent = L"<absent>";

class RegistryAutoRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = L"Software\\QuilletProTest.AutoRun." + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        // Both stand-ins are made before the user's root is redirected too.
        const std::pair<UniqueKey*, const wchar_t*> standIns[] = {{&machine_, L"\\machine"},
                                                                  {&user_, L"\\user"}};
        for (const auto& [key, name] : standIns) {
            ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + name).c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, key->put(), nullptr),
                      ERROR_SUCCESS);
        }
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get()), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_.get()), ERROR_SUCCESS);
    }
    void TearDown() override {
        if (locked_) SetRunKeyDacl(Scope::kMachine, L"D:P(A;;KA;;;WD)");
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        machine_.reset();
        user_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
    }

    // Through the stand-in itself, which also shows the redirection worked.
    HKEY Root(Scope scope) const { return scope == Scope::kMachine ? machine_.get() : user_.get(); }

    // The value's text when it is stored as plain text, and what else is there.
    std::wstring Stored(Scope scope) const {
        wchar_t data[512] = {};
        DWORD type = REG_NONE, size = sizeof data;
        if (RegGetValueW(Root(scope), std::wstring(kRunKey).c_str(),
                         std::wstring(kAutoRunValue).c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data, &size) != ERROR_SUCCESS)
            return kAbsent;
        return type == REG_SZ ? data : L"<type " + std::to_wstring(type) + L">";
    }

    void SetRunKeyDacl(Scope scope, const wchar_t* sddl) {
        UniqueKey key;
        ASSERT_EQ(
            RegOpenKeyExW(Root(scope), std::wstring(kRunKey).c_str(), 0, WRITE_DAC, key.put()),
            ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd,
                                                                         nullptr));
        const LONG result = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }

    RegistryAutoRun run;
    std::wstring base_;
    UniqueKey machine_, user_;
    bool locked_ = false;
};

TEST_F(RegistryAutoRunTest, EachScopeWritesAndRemovesOnlyItsOwnValue) {
    // Japanese and Thai share no 8-bit code page.
    const std::wstring command = L"\"C:\\\u65E5\u672C \u0E44\u0E17\u0E22\\quilletpro.exe\"";
    const std::wstring moved = L"\"D:\\Q\\quilletpro.exe\"";
    for (const Scope scope : {Scope::kMachine, Scope::kUser}) {
        const Scope other = scope == Scope::kMachine ? Scope::kUser : Scope::kMachine;
        SCOPED_TRACE(scope == Scope::kMachine ? "machine" : "user");
        IoResult result = run.Remove(scope);
        EXPECT_TRUE(result) << "no Run key at all: " << Utf8FromWide(result.reason);
        result = run.Set(scope, command);
        ASSERT_TRUE(result) << Utf8FromWide(result.reason);
        EXPECT_EQ(Stored(scope), command);
        EXPECT_EQ(Stored(other), kAbsent);
        ASSERT_TRUE(run.Set(scope, moved));
        EXPECT_EQ(Stored(scope), moved);
        EXPECT_TRUE(run.Remove(scope));
        EXPECT_EQ(Stored(scope), kAbsent);
        result = run.Remove(scope);
        EXPECT_TRUE(result) << "no value: " << Utf8FromWide(result.reason);
    }
}

// A normal user may read the machine's Run key but not write it: both calls
// answer the system's words, and the user's key still takes the value.
TEST_F(RegistryAutoRunTest, AMachineKeyClosedToWritingRefusesInTheSystemsWords) {
    const std::wstring earlier = L"\"C:\\Old\\quilletpro.exe\"";
    ASSERT_TRUE(run.Set(Scope::kMachine, earlier));
    // Anyone may read it, and change its security and delete it so the test
    // can clean up.
    SetRunKeyDacl(Scope::kMachine, L"D:P(A;;0x70019;;;WD)");
    locked_ = true;

    const std::wstring denied = SystemMessage(ERROR_ACCESS_DENIED);
    const std::wstring command = L"\"C:\\Program Files\\Quillet Pro\\quilletpro.exe\"";
    const IoResult set = run.Set(Scope::kMachine, command);
    EXPECT_FALSE(set);
    EXPECT_EQ(set.reason, denied);
    const IoResult removed = run.Remove(Scope::kMachine);
    EXPECT_FALSE(removed);
    EXPECT_EQ(removed.reason, denied);
    EXPECT_EQ(Stored(Scope::kMachine), earlier);

    EXPECT_TRUE(run.Set(Scope::kUser, command));
    EXPECT_EQ(Stored(Scope::kUser), command);
}

}  // namespace
}  // namespace quillet
