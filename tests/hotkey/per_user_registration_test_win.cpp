// Where the library registers itself: the machine's classes when they take
// writes, the user's own classes when they refuse them, and unregistering
// clears both. The refusal is made in this process: HKEY_CLASSES_ROOT is
// pointed at a stand-in whose class key grants reading only.
#include <gtest/gtest.h>
#include <windows.h>
#include <olectl.h>
#include <sddl.h>

#include <string>
#include <utility>

#include "Tarnkey_h.h"
#include "support/wine_path_win.h"

namespace {

constexpr wchar_t kClsid[] = L"{F546DB2F-84DF-4E6D-83EC-75827B8F0704}";
constexpr wchar_t kLibid[] = L"{08C2A4C0-4394-4546-BDF7-D71BF1721CEE}";
constexpr wchar_t kInterface[] = L"{6775AA52-C641-4167-A1ED-86CA9C3BBBB4}";
constexpr wchar_t kUserClasses[] = L"Software\\Classes\\";
constexpr wchar_t kMachineClasses[] = L"Software\\Classes\\";
constexpr wchar_t kStandIn[] = L"Software\\QuilletTest\\MachineClasses";
#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

std::wstring BuiltLibrary() {
    return quillet::testing::WinePath(TARNKEY_DLL_PATH);
}

using Entry = HRESULT(STDAPICALLTYPE*)();

bool Exists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring Text(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t data[MAX_PATH * 2] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"(none)";
    return data;
}

// The keys a registration leaves in one classes key.
struct Traces {
    bool clsid, progid, typelib, iface;
};
Traces TracesIn(HKEY root, const std::wstring& classes) {
    return {Exists(root, classes + L"CLSID\\" + kClsid), Exists(root, classes + L"Tarnkey.HotKey"),
            Exists(root, classes + L"TypeLib\\" + kLibid),
            Exists(root, classes + L"Interface\\" + kInterface)};
}
bool Any(const Traces& t) {
    return t.clsid || t.progid || t.typelib || t.iface;
}

class Registration : public ::testing::Test {
  protected:
    void SetUp() override {
        library_ = ::LoadLibraryW(BuiltLibrary().c_str());
        ASSERT_TRUE(library_) << "cannot load the built library";
        register_ = Entry(reinterpret_cast<void*>(::GetProcAddress(library_, "DllRegisterServer")));
        unregister_ =
            Entry(reinterpret_cast<void*>(::GetProcAddress(library_, "DllUnregisterServer")));
        ASSERT_TRUE(register_ && unregister_);
        ASSERT_EQ(unregister_(), S_OK);
        ASSERT_FALSE(Any(TracesIn(HKEY_CURRENT_USER, kUserClasses)) ||
                     Any(TracesIn(HKEY_LOCAL_MACHINE, kMachineClasses)))
            << "a registration is left from before";
    }
    void TearDown() override {
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        EXPECT_EQ(unregister_(), S_OK);
        if (standIn_) ::RegCloseKey(standIn_);
        RemoveStandIn();
        if (library_) ::FreeLibrary(library_);
    }

    // HKEY_CLASSES_ROOT becomes a key whose CLSID\{class} refuses writes, as
    // the machine's classes do for a user who is no administrator.
    void RefuseMachineWrites() {
        RemoveStandIn();
        HKEY locked = nullptr;
        const std::wstring lockedPath = std::wstring(kStandIn) + L"\\CLSID\\" + kClsid;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, lockedPath.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &locked, nullptr),
                  ERROR_SUCCESS);
        SetAccess(locked, L"D:P(A;;KR;;;WD)");
        ::RegCloseKey(locked);
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kStandIn, 0, KEY_READ, &standIn_),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CLASSES_ROOT, standIn_), ERROR_SUCCESS);
        // The seam must refuse, or the tests below prove nothing.
        HKEY probe = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsid).c_str(),
                                    0, nullptr, 0, KEY_SET_VALUE, nullptr, &probe, nullptr),
                  ERROR_ACCESS_DENIED);
    }

    static void SetAccess(HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                           &sd, nullptr));
        ASSERT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        ::LocalFree(sd);
    }

    static void RemoveStandIn() {
        HKEY locked = nullptr;
        const std::wstring lockedPath = std::wstring(kStandIn) + L"\\CLSID\\" + kClsid;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, lockedPath.c_str(), 0, WRITE_DAC, &locked) ==
            ERROR_SUCCESS) {
            SetAccess(locked, L"D:P(A;;KA;;;WD)");
            ::RegCloseKey(locked);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTest");
    }

    HMODULE library_ = nullptr;
    Entry register_ = nullptr;
    Entry unregister_ = nullptr;
    HKEY standIn_ = nullptr;
};

// The user's classes when the machine's refuse, the machine's once they take
// writes; unregistering clears whatever is there, both places at once.
TEST_F(Registration, GoesWhereTheClassesTakeWritesAndUnregisteringClearsBoth) {
    RefuseMachineWrites();
    ASSERT_EQ(register_(), S_OK);
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    const std::wstring cls = std::wstring(kUserClasses) + L"CLSID\\" + kClsid;
    const std::wstring lib = std::wstring(kUserClasses) + L"TypeLib\\" + kLibid + L"\\1.0";
    const std::pair<std::wstring, std::wstring> values[] = {
        {Text(HKEY_CURRENT_USER, cls + L"\\InprocServer32"), BuiltLibrary()},
        {Text(HKEY_CURRENT_USER, cls + L"\\InprocServer32", L"ThreadingModel"), L"Apartment"},
        {Text(HKEY_CURRENT_USER, cls + L"\\ProgID"), L"Tarnkey.HotKey"},
        {Text(HKEY_CURRENT_USER, cls + L"\\TypeLib"), kLibid},
        {Text(HKEY_CURRENT_USER, std::wstring(kUserClasses) + L"Tarnkey.HotKey\\CLSID"), kClsid},
        {Text(HKEY_CURRENT_USER, lib), L"Tarnkey"},
        {Text(HKEY_CURRENT_USER, lib + L"\\409\\" + kPlatform), BuiltLibrary()}};
    for (const auto& [found, expected] : values) EXPECT_EQ(found, expected);
    EXPECT_TRUE(TracesIn(HKEY_CURRENT_USER, kUserClasses).iface);
    // Nothing reached the machine's classes or the refusing stand-in.
    EXPECT_FALSE(Any(TracesIn(HKEY_LOCAL_MACHINE, kMachineClasses)));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, std::wstring(kStandIn) + L"\\Tarnkey.HotKey"));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, std::wstring(kStandIn) + L"\\TypeLib"));
    ASSERT_EQ(unregister_(), S_OK);
    EXPECT_FALSE(Any(TracesIn(HKEY_CURRENT_USER, kUserClasses)));

    ASSERT_EQ(register_(), S_OK);  // the machine's classes take it now
    const Traces machine = TracesIn(HKEY_LOCAL_MACHINE, kMachineClasses);
    EXPECT_TRUE(machine.clsid && machine.progid && machine.typelib);
    EXPECT_FALSE(Any(TracesIn(HKEY_CURRENT_USER, kUserClasses)));

    RefuseMachineWrites();
    ASSERT_EQ(register_(), S_OK);  // now for the user as well
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    ASSERT_TRUE(TracesIn(HKEY_CURRENT_USER, kUserClasses).clsid);
    ASSERT_EQ(unregister_(), S_OK);
    EXPECT_FALSE(Any(TracesIn(HKEY_CURRENT_USER, kUserClasses)));
    EXPECT_FALSE(Any(TracesIn(HKEY_LOCAL_MACHINE, kMachineClasses)));
    EXPECT_EQ(unregister_(), S_OK);
}

}  // namespace
