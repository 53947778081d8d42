// cRegistry against the real registry. Each test works in its own key below
// HKEY_CURRENT_USER\Software and removes it again; the association tests
// clean up what they write below the machine root.
#include "util/cRegistry.h"
#include "util/registry_value.h"

#include <windows.h>
#include <sddl.h>
#include <winternl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/handles_win.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> BytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

std::string Ascii(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // test names are ASCII
}

bool KeyPresent(HKEY root, const std::wstring& path) {
    UniqueKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void ExpectRegistryError(const std::function<void()>& call, const std::wstring& description,
                         std::int32_t number = kErrRegistry) {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Source(), std::filesystem::path(path).stem().wstring() + L".cRegistry");
        EXPECT_EQ(error.Description(), description);
    }
}

std::wstring Unique(const std::wstring& stem) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    return stem + std::wstring(name.begin(), name.end()) + L"." +
           std::to_wstring(GetCurrentProcessId());
}

// Each test's own key under HKEY_CURRENT_USER\Software.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = L"Software\\" + Unique(L"QuilletProTest.");
        RemoveKey();
    }
    void TearDown() override { RemoveKey(); }

    void RemoveKey() {
        if (locked_) SetDacl(L"D:P(A;;KA;;;WD)");
        locked_ = false;
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }

    cRegistry At(const std::wstring& sub = {}, const std::wstring& valueKey = {}) const {
        cRegistry reg;
        reg.ClassKey(kCurrentUser);
        reg.SectionKey(sub.empty() ? path_ : path_ + L"\\" + sub);
        reg.ValueKey(valueKey);
        return reg;
    }

    void SetDacl(const wchar_t* sddl) {
        UniqueKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, WRITE_DAC, key.put()),
                  ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd,
                                                                         nullptr));
        const LONG result = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }

    std::optional<RawValue> Raw(const std::string& name, const std::wstring& sub = {}) const {
        UniqueKey key;
        const std::wstring path = sub.empty() ? path_ : path_ + L"\\" + sub;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Ascii(path).c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS)
            return std::nullopt;
        RawValue raw;
        raw.data.resize(4 << 20);  // more than any value here
        DWORD length = static_cast<DWORD>(raw.data.size());
        if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &raw.type, raw.data.data(),
                             &length) != ERROR_SUCCESS)
            return std::nullopt;
        raw.data.resize(length);
        return raw;
    }
    // RegSetValueEx under Wine adds a terminator to text that lacks one; the
    // native call stores the bytes exactly, as other programs' values can be
    // stored on Windows. Text arrives as ASCII and goes in as UTF-16.
    void PutRaw(const std::string& name, DWORD type, std::string_view data) {
        using SetValueKey = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
        const auto set = reinterpret_cast<SetValueKey>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
        ASSERT_NE(set, nullptr);
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        std::wstring valueName(name.begin(), name.end());
        const auto nameBytes = static_cast<USHORT>(valueName.size() * sizeof(wchar_t));
        UNICODE_STRING nativeName{nameBytes, nameBytes, valueName.data()};
        std::string bytes(data);
        if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
            const std::wstring wide(data.begin(), data.end());
            bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        }
        ASSERT_EQ(
            set(key.get(), &nativeName, 0, type, bytes.data(), static_cast<ULONG>(bytes.size())),
            0);
    }

    std::wstring path_;
    bool locked_ = false;
};

using RegistryWrite = RegistryTest;

TEST_F(RegistryWrite, EachKindIsStoredAsItsTypeAsks) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", L"C:\\Expanded"));
    struct Case {
        std::wstring name;
        std::int32_t type;
        RegistryValue value;
        DWORD storedType;  // REG_NONE: left unwritten
        std::string stored;
        RegistryValue readBack = {};  // empty: the value written
    };
    const RegistryBytes bytes{0x00, 0x01, 0xFF, 0x80, 0x00};
    // The longest name a value may have, and a text of a million characters.
    std::wstring large(1 << 20, L'x');
    large.back() = L'!';
    std::vector<Case> cases = {
        {L"Path", kRegSz, L"C:\\Tools\\app.exe"s, REG_SZ, "C:\\Tools\\app.exe\0"s},
        {L"Count", kRegSz, std::int32_t{-42}, REG_SZ, "-42\0"s, L"-42"s},
        {L"Tool", kRegSz, L"%QUILLETPROTEST_DIR%\\x"s, REG_EXPAND_SZ, "%QUILLETPROTEST_DIR%\\x\0"s,
         L"C:\\Expanded\\x"s},
        {L"Plain", kRegSz, L"50% off"s, REG_SZ, "50% off\0"s},
        {L"ExpandableAsked", kRegExpandSz, L"none"s, REG_SZ, "none\0"s},
        {L"BigEndianAsked", kRegDwordBigEndian, std::int32_t{7}, REG_DWORD, "\x07\0\0\0"s},
        {L"Negative", kRegDword, std::int32_t{-2}, REG_DWORD, "\xFE\xFF\xFF\xFF"s},
        {L"Blob", kRegBinary, bytes, REG_BINARY, "\0\x01\xFF\x80\0"s},
        {L"NoBytes", kRegBinary, RegistryBytes{}, REG_BINARY, ""},
        {L"TextAsNumber", kRegDword, L"7"s, REG_NONE, ""},
        {L"BytesAsNumber", kRegDwordBigEndian, RegistryBytes{7, 0, 0, 0}, REG_NONE, ""},
        {L"MultiText", kRegMultiSz, L"a"s, REG_NONE, ""},
        {L"NoType", kRegNone, L"a"s, REG_NONE, ""},
        {std::wstring(16383, L'n'), kRegSz, large, REG_SZ, Ascii(large) + '\0'},
    };
    if (GetACP() == 1252)
        cases.push_back({L"Accented", kRegSz, L"caf\u00e9"s, REG_SZ, "caf\xE9\0"s});
    for (const Case& c : cases) {
        SCOPED_TRACE(Ascii(c.name));
        cRegistry reg = At({}, c.name);
        reg.ValueType(c.type);
        reg.Value(c.value);
        const auto raw = Raw(Ascii(c.name));
        ASSERT_EQ(raw.has_value(), c.storedType != REG_NONE);
        if (!raw) continue;
        EXPECT_EQ(raw->type, c.storedType);
        EXPECT_EQ(raw->data, BytesOf(c.stored));
        reg.ValueType(kRegNone);
        const bool same = std::holds_alternative<std::monostate>(c.readBack);
        EXPECT_EQ(reg.Value(), same ? c.value : c.readBack);
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.storedType));
    }
    SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", nullptr);

    cRegistry deeper = At(L"new\\deeper");
    deeper.ValueType(kRegSz);
    deeper.Value(std::wstring(L"top"));
    EXPECT_EQ(Raw("", L"new\\deeper")->data, BytesOf("top\0"s)) << "a new key's default value";
}

TEST_F(RegistryWrite, FailedWritesRaiseAndWriteNothing) {
    cRegistry blob = At({}, L"Blob");
    blob.ValueType(kRegBinary);
    ExpectRegistryError([&] { blob.Value(std::wstring(L"abc")); }, L"");
    EXPECT_FALSE(Raw("Blob"));

    // The key opens, but no value may have a name this long.
    const std::wstring name(16384, L'n');
    cRegistry tooLong = At({}, name);
    tooLong.ValueType(kRegSz);
    ExpectRegistryError([&] { tooLong.Value(std::wstring(L"x")); },
                        SetValueFailedText(kCurrentUser, path_, name, L"x"));
    std::vector<std::wstring> names;
    std::int32_t count = -1;
    tooLong.EnumerateValues(names, count);
    EXPECT_EQ(count, 0);

    cRegistry noRoot;
    noRoot.SectionKey(path_);
    noRoot.ValueKey(L"Path");
    noRoot.ValueType(kRegDword);
    ExpectRegistryError([&] { noRoot.Value(std::int32_t{12}); },
                        SetValueFailedText(0, path_, L"Path", L"12"));
    ExpectRegistryError([&] { noRoot.CreateKey(); }, CreateKeyFailedText(path_));
}

// Japanese and Thai share no 8-bit code page, so one of them is always
// outside the system's.
TEST_F(RegistryWrite, TextOrANameTheCodePageLacksGoesInAsItIs) {
    const std::wstring foreign = L"C:\\\u65E5\u672C \u0E44\u0E17\u0E22\\app.exe";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Plain", foreign},
        {L"\u65E5\u0E44", L"C:\\app.exe"},
        {L"Expandable", L"%SystemRoot%\\" + foreign},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(::testing::Message() << name.size() << " characters named");
        cRegistry reg = At({}, name);
        reg.ValueType(kRegSz);
        reg.Value(text);
        wchar_t stored[256] = {};
        DWORD type = REG_NONE, size = sizeof stored;
        ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(),
                               RRF_RT_ANY | RRF_NOEXPAND, &type, stored, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(std::wstring(stored), text);
        EXPECT_EQ(type, static_cast<DWORD>(text[0] == L'%' ? REG_EXPAND_SZ : REG_SZ));
    }
}

using RegistryRead = RegistryTest;

TEST_F(RegistryRead, MissingValuesAnswerDefaultAndKeepTheType) {
    PutRaw("Other", REG_SZ, "x\0"s);
    cRegistry reg = At({}, L"Missing");
    reg.ValueType(kRegBinary);
    EXPECT_EQ(reg.Value(), RegistryValue{});
    reg.Default(std::wstring(L"fallback"));
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"fallback")));
    EXPECT_EQ(reg.ValueType(), kRegBinary);

    cRegistry noKey = At(L"absent", L"Other");
    noKey.Default(std::int32_t{5});
    noKey.ValueType(kRegSz);
    EXPECT_EQ(noKey.Value(), RegistryValue(std::int32_t{5}));
    EXPECT_EQ(noKey.ValueType(), kRegSz);
}

TEST_F(RegistryRead, EachTypeReadsAsItsKind) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", L"C:\\Expanded"));
    struct Case {
        DWORD type;
        std::string data;
        RegistryValue value;
    };
    std::vector<Case> cases = {
        {REG_SZ, "abc", L"abc"s},  // no terminator
        {REG_SZ, "ab\0cd\0"s, L"ab"s},
        {REG_SZ, "", std::wstring()},
        {REG_MULTI_SZ, "one\0two\0\0"s, std::wstring(L"one\0two\0", 8)},
        {REG_EXPAND_SZ, "%QUILLETPROTEST_DIR%", L"C:\\Expanded"s},
        {REG_DWORD, "\x01\x02\x03\x04", std::int32_t{0x04030201}},
        {REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04", std::int32_t{0x01020304}},
    };
    const std::string other = "\x10\0\x20\x30\x40\x50\x60\x70\x80"s;
    for (DWORD type : {DWORD{REG_NONE}, DWORD{REG_BINARY}, DWORD{REG_LINK},
                       DWORD{REG_RESOURCE_LIST}, DWORD{REG_QWORD}, DWORD{42}})
        cases.push_back({type, other, RegistryBytes(other.begin(), other.end())});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "type " << c.type << ", " << c.data.size() << " bytes");
        PutRaw("Value", c.type, c.data);
        ASSERT_EQ(Raw("Value")->data.size(), c.data.size());
        cRegistry reg = At({}, L"Value");
        reg.Default(std::wstring(L"fallback"));
        EXPECT_EQ(reg.Value(), c.value);
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.type));
    }
    SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", nullptr);
}

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateCheckAndDelete) {
    cRegistry reg = At(L"child");
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\child"));
    EXPECT_TRUE(reg.CreateKey());  // an existing key opens
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\child"));
    ExpectRegistryError([&] { reg.DeleteKey(); },
                        DeleteKeyFailedText(kCurrentUser, path_ + L"\\child"));
}

TEST_F(RegistryKeys, DeleteValueAnswersWhetherTheValueWentAway) {
    PutRaw("Gone", REG_SZ, "x\0"s);
    PutRaw("Stays", REG_SZ, "y\0"s);
    cRegistry reg = At({}, L"Gone");
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_FALSE(Raw("Gone"));
    EXPECT_TRUE(Raw("Stays"));
    EXPECT_FALSE(reg.DeleteValue());
    EXPECT_EQ(reg.LastError(), ERROR_FILE_NOT_FOUND);

    cRegistry missing = At(L"missing", L"Value");
    ExpectRegistryError([&] { missing.DeleteValue(); },
                        OpenForDeleteFailedText(kCurrentUser, path_ + L"\\missing"));
    EXPECT_EQ(missing.LastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\missing"));
    PutRaw("Value", REG_SZ, "z\0"s);
    missing.SectionKey(path_);
    EXPECT_TRUE(missing.DeleteValue());
    EXPECT_EQ(missing.LastError(), ERROR_SUCCESS);
}

using RegistryEnumerate = RegistryTest;

TEST_F(RegistryEnumerate, ValuesAndSectionsListEveryNameWholeOrNothing) {
    const std::string longValue(16383, 'v');
    const std::wstring longKey(255, L'k');
    PutRaw("alpha", REG_SZ, "1\0"s);
    PutRaw("", REG_SZ, "default\0"s);
    PutRaw(longValue, REG_BINARY, "\x01");
    ASSERT_TRUE(At(L"one").CreateKey());
    ASSERT_TRUE(At(L"one\\grandchild").CreateKey());
    {
        // The 8-bit calls take a whole path of at most 260 characters under
        // Wine, so the longest possible name is made relative to its parent.
        UniqueKey parent, child;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_CREATE_SUB_KEY, parent.put()),
            ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(parent.get(), longKey.c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                                  child.put(), nullptr),
                  ERROR_SUCCESS);
    }

    cRegistry reg = At();
    std::vector<std::wstring> names{L"stale"};
    std::int32_t count = 0;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 3);
    EXPECT_THAT(names, UnorderedElementsAre(L"alpha", L"",
                                            std::wstring(longValue.begin(), longValue.end())));
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(count, 2);
    EXPECT_THAT(names, UnorderedElementsAre(L"one", longKey));

    // A leaf lists no sections; a key that cannot be opened lists nothing.
    for (const wchar_t* sub : {L"one\\grandchild", L"missing"}) {
        SCOPED_TRACE(Ascii(sub));
        cRegistry none = At(sub);
        names = {L"stale"};
        count = 7;
        EXPECT_TRUE(none.EnumerateSections(names, count));
        EXPECT_EQ(count, 0);
        EXPECT_THAT(names, IsEmpty());
        EXPECT_TRUE(none.EnumerateValues(names, count));
        EXPECT_EQ(count, 0);
        EXPECT_THAT(names, IsEmpty());
    }
}

TEST_F(RegistryTest, AKeyClosedToWritingRaisesAndKeepsItsValues) {
    PutRaw("Kept", REG_SZ, "old\0"s);
    // Everyone may read, and change the security and delete so the test can
    // clean up, but nobody may write values or create keys.
    SetDacl(L"D:P(A;;0x70019;;;WD)");
    locked_ = true;
    UniqueKey probe;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_SET_VALUE, probe.put()),
              ERROR_ACCESS_DENIED)
        << "the registry does not enforce the key's security";

    // Each call on a fresh object, so that its error is its own.
    const std::pair<std::function<void(cRegistry&)>, std::wstring> refused[] = {
        {[](cRegistry& reg) { reg.CreateKey(); }, CreateKeyFailedText(path_)},
        {[](cRegistry& reg) { reg.DeleteValue(); }, OpenForDeleteFailedText(kCurrentUser, path_)},
        {[](cRegistry& reg) { reg.Value(std::wstring(L"new")); },
         SetValueFailedText(kCurrentUser, path_, L"Kept", L"new")},
    };
    for (const auto& [call, description] : refused) {
        cRegistry reg = At({}, L"Kept");
        reg.ValueType(kRegSz);
        ExpectRegistryError([&] { call(reg); }, description);
        EXPECT_EQ(reg.LastError(), ERROR_ACCESS_DENIED) << Ascii(description);
    }
    cRegistry reg = At({}, L"Kept");
    EXPECT_EQ(Raw("Kept")->data, BytesOf("old\0"s));
    // Reading needs only the rights that remain.
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"old")));
}

// Every key below one root key: path relative to it -> default value text.
using Tree = std::map<std::wstring, std::wstring>;

void ReadTree(HKEY root, const std::wstring& path, const std::wstring& relative, Tree& tree) {
    UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) == ERROR_SUCCESS) {
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << Ascii(relative);
        tree[relative] = data;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring sub(name, nameLength);
        ReadTree(root, path + L"\\" + sub, relative.empty() ? sub : relative + L"\\" + sub, tree);
    }
}

class RegistryAssociation : public ::testing::Test {
  protected:
    void SetUp() override {
        className_ = Unique(L"QuilletProTest.Doc.");
        extension_ = L"qpt" + std::to_wstring(GetCurrentProcessId());
        Remove();
    }
    void TearDown() override { Remove(); }

    void Remove() const {
        for (const std::wstring& key : {className_, L"." + extension_}) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\Classes\\" + key).c_str());
        }
    }

    std::wstring className_;
    std::wstring extension_;
};

TEST_F(RegistryAssociation, VerbsGoUnderBothRoots) {
    cRegistry reg;
    reg.SectionKey(L"Kept\\Section");
    reg.ValueKey(L"Kept");
    reg.ValueType(kRegDword);
    reg.CreateEXEAssociation(L" C:\\Tools\\app.exe ", className_, L"Quillet Test Document",
                             extension_, L"&View", true, L"P&rint it", true, L"Ne&w one", true,
                             L"&Add it", 3);
    EXPECT_EQ(reg.ClassKey(), kLocalMachine);
    EXPECT_EQ(reg.SectionKey(), L"Kept\\Section");
    EXPECT_EQ(reg.ValueKey(), L"");
    EXPECT_EQ(reg.ValueType(), kRegSz);

    reg.ClassKey(kClassesRoot);
    reg.CreateAdditionalEXEAssociations(
        className_,
        {std::wstring(L"edit"), std::wstring(L"&Edit"), std::wstring(L"\"C:\\a.exe\" /e \"%1\""),
         std::wstring(L"play"), std::wstring(L"&Play"), std::int32_t{7}});
    EXPECT_EQ(reg.ClassKey(), kLocalMachine);
    EXPECT_EQ(reg.SectionKey(), className_);

    const std::wstring exe = L"\"C:\\Tools\\app.exe\"";
    const Tree expected = {
        {L"", L"Quillet Test Document"},
        {L"shell\\open", L"&View"},
        {L"shell\\open\\command", exe + L" \"%1\""},
        {L"shell\\print", L"P&rint it"},
        {L"shell\\print\\command", exe + L" /p \"%1\""},
        {L"shell\\add", L"&Add it"},
        {L"shell\\add\\command", exe + L" /a \"%1\""},
        {L"shell\\new", L"Ne&w one"},
        {L"shell\\new\\command", exe + L" /n \"%1\""},
        {L"shell\\edit", L"&Edit"},
        {L"shell\\edit\\command", L"\"C:\\a.exe\" /e \"%1\""},
        {L"shell\\play", L"&Play"},
        {L"shell\\play\\command", L"7"},
        {L"DefaultIcon", exe + L",3"},
    };
    const std::pair<HKEY, std::wstring> roots[] = {{HKEY_CLASSES_ROOT, L""},
                                                   {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\"}};
    for (const auto& [root, prefix] : roots) {
        SCOPED_TRACE(prefix.empty() ? "HKEY_CLASSES_ROOT" : "HKEY_LOCAL_MACHINE");
        Tree tree;
        ReadTree(root, prefix + L"." + extension_, L"", tree);
        EXPECT_EQ(tree, (Tree{{L"", className_}}));
        tree.clear();
        ReadTree(root, prefix + className_, L"", tree);
        EXPECT_EQ(tree, expected);
    }
}

// The numbers and texts are pinned by the host tests; here, which comes when.
TEST_F(RegistryAssociation, AdditionalVerbsNeedTriplesAndADefinedClass) {
    cRegistry reg;
    reg.ClassKey(kClassesRoot);
    const std::wstring edit = L"edit";
    ExpectRegistryError(
        [&] {
            reg.CreateAdditionalEXEAssociations(className_, {edit, edit, edit, edit});
        },
        std::wstring(InvalidAssociationListText()), kErrInvalidAssociationList);
    ExpectRegistryError(
        [&] {
            reg.CreateAdditionalEXEAssociations(className_, {edit, edit, edit});
        },
        std::wstring(ClassNotDefinedText()), kErrClassNotDefined);
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, className_));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + className_));
}

}  // namespace
}  // namespace quillet
