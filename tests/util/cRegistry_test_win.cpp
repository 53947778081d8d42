// cRegistry against the real registry. Each test works in its own key below
// HKEY_CURRENT_USER\Software and removes it again; the association and
// Auto Run tests clean up what they write below the machine root.
#include "util/cRegistry.h"

#include <windows.h>
#include <sddl.h>
#include <winternl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "util/handles_win.h"

namespace quillet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

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

std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::string& name) {
    UniqueKey key;
    if (RegOpenKeyExA(root, Ascii(path).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue raw;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &raw.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    raw.data.resize(size + 1);
    DWORD length = static_cast<DWORD>(raw.data.size());
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &raw.type, raw.data.data(), &length) !=
        ERROR_SUCCESS)
        return std::nullopt;
    raw.data.resize(length);
    return raw;
}

void WriteRaw(HKEY root, const std::wstring& path, const std::string& name, DWORD type,
              const std::vector<std::uint8_t>& data) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(root, Ascii(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), name.c_str(), 0, type, data.data(),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

bool KeyPresent(HKEY root, const std::wstring& path) {
    UniqueKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring ExpectedSource() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::filesystem::path(path).stem().wstring() + L".cRegistry";
}

void ExpectRegistryError(const std::function<void()>& call, std::int32_t number,
                         const std::wstring& description) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Source(), ExpectedSource());
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
        if (locked_) SetDacl(path_, L"D:P(A;;KA;;;WD)");
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

    static void SetDacl(const std::wstring& path, const wchar_t* sddl) {
        UniqueKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.put()),
                  ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd,
                                                                         nullptr));
        const LONG result = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
        ASSERT_EQ(result, ERROR_SUCCESS);
    }

    // Everyone may read, and change the security and delete so the test can
    // clean up, but nobody may write values or create keys.
    void LockAgainstWriting() {
        SetDacl(path_, L"D:P(A;;0x70019;;;WD)");
        locked_ = true;
        UniqueKey probe;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_SET_VALUE, probe.put()),
                  ERROR_ACCESS_DENIED)
            << "the registry does not enforce the key's security";
    }

    std::optional<RawValue> Raw(const std::string& name, const std::wstring& sub = {}) const {
        return ReadRaw(HKEY_CURRENT_USER, sub.empty() ? path_ : path_ + L"\\" + sub, name);
    }
    void PutRaw(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data) {
        WriteRaw(HKEY_CURRENT_USER, path_, name, type, data);
    }

    // RegSetValueEx under Wine adds a terminator to text that lacks one; the
    // native call stores the characters exactly, as other programs' values
    // can be stored on Windows.
    void PutExactText(const std::wstring& name, DWORD type, std::wstring_view text) {
        using SetValueKey = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
        const auto set = reinterpret_cast<SetValueKey>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
        ASSERT_NE(set, nullptr);
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        std::wstring valueName = name;
        const auto nameBytes = static_cast<USHORT>(valueName.size() * sizeof(wchar_t));
        UNICODE_STRING nativeName{nameBytes, nameBytes, valueName.data()};
        std::wstring data(text);
        ASSERT_EQ(set(key.get(), &nativeName, 0, type, data.data(),
                      static_cast<ULONG>(data.size() * sizeof(wchar_t))),
                  0);
    }

    std::wstring path_;
    bool locked_ = false;
};

// --- Writing values -------------------------------------------------------

using RegistryWrite = RegistryTest;

TEST_F(RegistryWrite, TextIsStoredInTheAnsiCodePageWithOneNul) {
    cRegistry reg = At({}, L"Path");
    reg.ValueType(kRegSz);
    reg.Value(std::wstring(L"C:\\Tools\\app.exe"));

    const auto raw = Raw("Path");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->data.size(), 17u);
    EXPECT_EQ(raw->data, BytesOf(std::string_view("C:\\Tools\\app.exe\0", 17)));
}

TEST_F(RegistryWrite, NonAsciiTextTakesOneBytePerCharacterInWestern) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs the Western ANSI code page";
    cRegistry reg = At({}, L"Name");
    reg.ValueType(kRegSz);
    reg.Value(std::wstring(L"caf\u00e9"));

    const auto raw = Raw("Name");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->data, (std::vector<std::uint8_t>{'c', 'a', 'f', 0xE9, 0}));
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"caf\u00e9")));
}

TEST_F(RegistryWrite, PercentPairDecidesBetweenPlainAndExpandableText) {
    cRegistry reg = At();
    reg.ValueType(kRegSz);
    reg.ValueKey(L"Expand");
    reg.Value(std::wstring(L"%WINDIR%\\x.exe"));
    reg.ValueKey(L"Plain");
    reg.Value(std::wstring(L"50% off"));
    reg.ValueType(kRegExpandSz);
    reg.ValueKey(L"AskedExpandable");
    reg.Value(std::wstring(L"no variables"));
    reg.ValueKey(L"Adjacent");
    reg.Value(std::wstring(L"100%%"));

    EXPECT_EQ(Raw("Expand")->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Raw("Expand")->data, BytesOf(std::string_view("%WINDIR%\\x.exe\0", 15)));
    EXPECT_EQ(Raw("Plain")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Raw("AskedExpandable")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Raw("Adjacent")->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryWrite, NumbersAsTextWhenTheTypeIsText) {
    cRegistry reg = At({}, L"Count");
    reg.ValueType(kRegSz);
    reg.Value(std::int32_t{-42});
    EXPECT_EQ(Raw("Count")->data, BytesOf(std::string_view("-42\0", 4)));
}

TEST_F(RegistryWrite, NumbersAreAlwaysStoredLittleEndian) {
    cRegistry reg = At();
    reg.ValueKey(L"Big");
    reg.ValueType(kRegDwordBigEndian);
    reg.Value(std::int32_t{7});
    reg.ValueKey(L"Little");
    reg.ValueType(kRegDword);
    reg.Value(std::int32_t{-2});

    const auto big = Raw("Big");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(big->data, (std::vector<std::uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(Raw("Little")->data, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));

    reg.ValueKey(L"Big");
    reg.ValueType(kRegDwordBigEndian);
    EXPECT_EQ(reg.Value(), RegistryValue(std::int32_t{7}));
    EXPECT_EQ(reg.ValueType(), kRegDword);
}

TEST_F(RegistryWrite, LeavesValuesOfTheWrongKindUnwritten) {
    cRegistry reg = At();
    reg.ValueKey(L"TextAsNumber");
    reg.ValueType(kRegDword);
    reg.Value(std::wstring(L"7"));
    reg.ValueKey(L"BytesAsNumber");
    reg.ValueType(kRegDwordBigEndian);
    reg.Value(RegistryBytes{7, 0, 0, 0});
    reg.ValueKey(L"MultiText");
    reg.ValueType(kRegMultiSz);
    reg.Value(std::wstring(L"a"));
    reg.ValueKey(L"NoType");
    reg.ValueType(kRegNone);
    reg.Value(std::wstring(L"a"));

    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, path_));
    std::vector<std::wstring> names{L"stale"};
    std::int32_t count = -1;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_THAT(names, IsEmpty());
    EXPECT_EQ(count, 0);
}

TEST_F(RegistryWrite, BinaryNeedsABytesValue) {
    cRegistry reg = At({}, L"Blob");
    reg.ValueType(kRegBinary);
    ExpectRegistryError([&] { reg.Value(std::wstring(L"abc")); }, kErrRegistry, L"");
    EXPECT_FALSE(Raw("Blob"));

    const RegistryBytes bytes{0x00, 0x01, 0xFF, 0x80, 0x00};
    reg.Value(bytes);
    const auto raw = Raw("Blob");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw->data, bytes);

    reg.ValueType(kRegNone);
    EXPECT_EQ(reg.Value(), RegistryValue(bytes));
    EXPECT_EQ(reg.ValueType(), kRegBinary);

    reg.ValueType(kRegBinary);
    reg.Value(RegistryBytes{});
    EXPECT_EQ(Raw("Blob")->data.size(), 0u);
    EXPECT_EQ(reg.Value(), RegistryValue(RegistryBytes{}));
}

TEST_F(RegistryWrite, CreatesMissingKeysAndWritesTheDefaultValue) {
    cRegistry reg = At(L"new\\deeper");
    reg.ValueType(kRegSz);
    reg.Value(std::wstring(L"top"));
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_EQ(Raw("", L"new\\deeper")->data, BytesOf(std::string_view("top\0", 4)));
}

TEST_F(RegistryWrite, LongNamesAndLargeTextsGoInWhole) {
    const std::wstring name(16383, L'n');
    std::wstring text(1 << 20, L'x');
    text.back() = L'!';
    cRegistry reg = At({}, name);
    reg.ValueType(kRegSz);
    reg.Value(text);

    const auto raw = Raw(std::string(16383, 'n'));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->data.size(), text.size() + 1);
    EXPECT_EQ(reg.Value(), RegistryValue(text));
}

TEST_F(RegistryWrite, AFailedWriteRaisesEvenAfterTheKeyOpened) {
    // The key opens, but no value may have a name this long.
    const std::wstring name(16384, L'n');
    cRegistry reg = At({}, name);
    reg.ValueType(kRegSz);
    ExpectRegistryError([&] { reg.Value(std::wstring(L"C:\\Tools\\app.exe")); }, kErrRegistry,
                        L"Failed to set registry value Key: '-2147483647',Section: '" + path_ +
                            L"',Key: '" + name + L"' to value: 'C:\\Tools\\app.exe'");
    EXPECT_TRUE(reg.KeyExists());
    std::vector<std::wstring> names;
    std::int32_t count = 0;
    reg.EnumerateValues(names, count);
    EXPECT_EQ(count, 0);
}

TEST_F(RegistryWrite, AKeyThatCannotBeCreatedRaises) {
    cRegistry reg;  // no root key set
    reg.SectionKey(path_);
    reg.ValueKey(L"Path");
    reg.ValueType(kRegDword);
    ExpectRegistryError([&] { reg.Value(std::int32_t{12}); }, kErrRegistry,
                        L"Failed to set registry value Key: '0',Section: '" + path_ +
                            L"',Key: 'Path' to value: '12'");
}

// --- Reading values -------------------------------------------------------

using RegistryRead = RegistryTest;

TEST_F(RegistryRead, MissingValuesAnswerDefaultAndKeepTheType) {
    PutRaw("Other", REG_SZ, BytesOf(std::string_view("x\0", 2)));
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

TEST_F(RegistryRead, TextEndsAtTheFirstNulOrWithTheData) {
    PutRaw("Terminated", REG_SZ, BytesOf(std::string_view("abc\0", 4)));
    PutExactText(L"Unterminated", REG_SZ, L"abc");
    ASSERT_EQ(Raw("Unterminated")->data.size(), 3u);
    PutRaw("Inner", REG_SZ, BytesOf(std::string_view("ab\0cd\0", 6)));
    PutRaw("Empty", REG_SZ, {});

    cRegistry reg = At();
    reg.ValueKey(L"Terminated");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"abc")));
    EXPECT_EQ(reg.ValueType(), kRegSz);
    reg.ValueKey(L"Unterminated");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"abc")));
    reg.ValueKey(L"Inner");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"ab")));
    reg.ValueKey(L"Empty");
    reg.Default(std::wstring(L"fallback"));
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring()));
}

TEST_F(RegistryRead, AMegabyteOfTextReadsWhole) {
    std::wstring text(1 << 20, L'a');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(L'a' + i % 26);
    PutExactText(L"Large", REG_SZ, text);  // no terminator either
    ASSERT_EQ(Raw("Large")->data.size(), text.size());

    cRegistry reg = At({}, L"Large");
    const RegistryValue value = reg.Value();
    ASSERT_TRUE(std::holds_alternative<std::wstring>(value));
    EXPECT_EQ(std::get<std::wstring>(value), text);
}

TEST_F(RegistryRead, MultiTextKeepsItsSeparators) {
    PutRaw("List", REG_MULTI_SZ, BytesOf(std::string_view("one\0two\0\0", 9)));
    cRegistry reg = At({}, L"List");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"one\0two\0", 8)));
    EXPECT_EQ(reg.ValueType(), kRegMultiSz);
}

TEST_F(RegistryRead, ExpandableTextIsExpanded) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", L"C:\\Expanded"));
    PutRaw("Tool", REG_EXPAND_SZ, BytesOf(std::string_view("%QUILLETPROTEST_DIR%\\x.exe\0", 27)));
    PutExactText(L"Bare", REG_EXPAND_SZ, L"%QUILLETPROTEST_DIR%");

    cRegistry reg = At({}, L"Tool");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"C:\\Expanded\\x.exe")));
    EXPECT_EQ(reg.ValueType(), kRegExpandSz);
    reg.ValueKey(L"Bare");
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"C:\\Expanded")));
    SetEnvironmentVariableW(L"QUILLETPROTEST_DIR", nullptr);
}

TEST_F(RegistryRead, NumbersInBothByteOrders) {
    PutRaw("Little", REG_DWORD, {0x01, 0x02, 0x03, 0x04});
    PutRaw("Big", REG_DWORD_BIG_ENDIAN, {0x01, 0x02, 0x03, 0x04});
    PutRaw("Negative", REG_DWORD_BIG_ENDIAN, {0xFF, 0xFF, 0xFF, 0xFE});

    cRegistry reg = At({}, L"Little");
    EXPECT_EQ(reg.Value(), RegistryValue(std::int32_t{0x04030201}));
    EXPECT_EQ(reg.ValueType(), kRegDword);
    reg.ValueKey(L"Big");
    EXPECT_EQ(reg.Value(), RegistryValue(std::int32_t{0x01020304}));
    EXPECT_EQ(reg.ValueType(), kRegDwordBigEndian);
    reg.ValueKey(L"Negative");
    EXPECT_EQ(reg.Value(), RegistryValue(std::int32_t{-2}));
}

TEST_F(RegistryRead, EveryOtherTypeReadsAsItsBytes) {
    const std::vector<std::uint8_t> data{0x10, 0x00, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
    const DWORD types[] = {REG_NONE, REG_BINARY, REG_LINK, REG_RESOURCE_LIST, REG_QWORD, 42};
    for (DWORD type : types) {
        PutRaw("Raw", type, data);
        cRegistry reg = At({}, L"Raw");
        EXPECT_EQ(reg.Value(), RegistryValue(data)) << "type " << type;
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(type));
    }
}

// --- Keys and deletion ----------------------------------------------------

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateCheckAndDelete) {
    cRegistry reg = At(L"child");
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\child"));
    EXPECT_TRUE(reg.CreateKey());  // an existing key opens
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\child"));

    ExpectRegistryError(
        [&] { reg.DeleteKey(); }, kErrRegistry,
        L"Failed to delete registry Key: '-2147483647',Section: '" + path_ + L"\\child");
}

TEST_F(RegistryKeys, CreateKeyFailureNamesTheSection) {
    cRegistry reg;
    reg.SectionKey(path_);
    ExpectRegistryError([&] { reg.CreateKey(); }, kErrRegistry,
                        L"Failed to create registry Key: '" + path_);
}

TEST_F(RegistryKeys, DeleteValueAnswersWhetherTheValueWentAway) {
    PutRaw("Gone", REG_SZ, BytesOf(std::string_view("x\0", 2)));
    PutRaw("Stays", REG_SZ, BytesOf(std::string_view("y\0", 2)));

    cRegistry reg = At({}, L"Gone");
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_FALSE(Raw("Gone"));
    EXPECT_TRUE(Raw("Stays"));
    EXPECT_FALSE(reg.DeleteValue());
}

TEST_F(RegistryKeys, DeleteValueOnAKeyThatCannotBeOpenedRaises) {
    cRegistry reg = At(L"missing", L"Value");
    ExpectRegistryError(
        [&] { reg.DeleteValue(); }, kErrRegistry,
        L"Failed to open key '-2147483647',Section: '" + path_ + L"\\missing' for delete access");
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, path_ + L"\\missing"));
}

// --- Enumeration ----------------------------------------------------------

using RegistryEnumerate = RegistryTest;

TEST_F(RegistryEnumerate, ValuesListEveryNameWhole) {
    const std::string longName(16383, 'v');
    PutRaw("alpha", REG_SZ, BytesOf(std::string_view("1\0", 2)));
    PutRaw("beta", REG_DWORD, {1, 0, 0, 0});
    PutRaw("", REG_SZ, BytesOf(std::string_view("default\0", 8)));
    PutRaw(longName, REG_BINARY, {1});

    cRegistry reg = At();
    std::vector<std::wstring> names{L"stale"};
    std::int32_t count = 0;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 4);
    EXPECT_THAT(names, UnorderedElementsAre(L"alpha", L"beta", L"",
                                            std::wstring(longName.begin(), longName.end())));
}

TEST_F(RegistryEnumerate, ValuesOfAMissingKeyAreNone) {
    cRegistry reg = At(L"missing");
    std::vector<std::wstring> names{L"stale"};
    std::int32_t count = 3;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_THAT(names, IsEmpty());
}

TEST_F(RegistryEnumerate, SectionsListEverySubkey) {
    const std::wstring longName(255, L'k');
    for (const std::wstring& sub : {std::wstring(L"one"), std::wstring(L"two")}) {
        ASSERT_TRUE(At(sub).CreateKey());
    }
    ASSERT_TRUE(At(L"one\\grandchild").CreateKey());
    {
        // The 8-bit calls take a whole path of at most 260 characters under
        // Wine, so the longest possible name is made relative to its parent.
        UniqueKey parent, child;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_CREATE_SUB_KEY, parent.put()),
            ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(parent.get(), longName.c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                                  child.put(), nullptr),
                  ERROR_SUCCESS);
    }

    cRegistry reg = At();
    std::vector<std::wstring> sections;
    std::int32_t count = 0;
    EXPECT_TRUE(reg.EnumerateSections(sections, count));
    EXPECT_EQ(count, 3);
    EXPECT_THAT(sections, UnorderedElementsAre(L"one", L"two", longName));
}

TEST_F(RegistryEnumerate, SectionsOfALeafOrMissingKeyAreNone) {
    PutRaw("value", REG_SZ, BytesOf(std::string_view("x\0", 2)));
    cRegistry leaf = At();
    std::vector<std::wstring> sections{L"stale"};
    std::int32_t count = 7;
    EXPECT_TRUE(leaf.EnumerateSections(sections, count));
    EXPECT_EQ(count, 0);
    EXPECT_THAT(sections, IsEmpty());

    cRegistry missing = At(L"missing");
    sections = {L"stale"};
    count = 7;
    EXPECT_TRUE(missing.EnumerateSections(sections, count));
    EXPECT_EQ(count, 0);
    EXPECT_THAT(sections, IsEmpty());
}

// --- Access rights --------------------------------------------------------

using RegistryAccess = RegistryTest;

TEST_F(RegistryAccess, AKeyClosedToWritingRaisesAndKeepsItsValues) {
    PutRaw("Kept", REG_SZ, BytesOf(std::string_view("old\0", 4)));
    LockAgainstWriting();

    cRegistry reg = At({}, L"Kept");
    ExpectRegistryError([&] { reg.CreateKey(); }, kErrRegistry,
                        L"Failed to create registry Key: '" + path_);
    ExpectRegistryError(
        [&] { reg.DeleteValue(); }, kErrRegistry,
        L"Failed to open key '-2147483647',Section: '" + path_ + L"' for delete access");
    reg.ValueType(kRegSz);
    ExpectRegistryError([&] { reg.Value(std::wstring(L"new")); }, kErrRegistry,
                        L"Failed to set registry value Key: '-2147483647',Section: '" + path_ +
                            L"',Key: 'Kept' to value: 'new'");
    reg.ValueKey(L"Fresh");
    ExpectRegistryError([&] { reg.Value(std::int32_t{1}); }, kErrRegistry,
                        L"Failed to set registry value Key: '-2147483647',Section: '" + path_ +
                            L"',Key: 'Fresh' to value: '1'");

    EXPECT_EQ(Raw("Kept")->data, BytesOf(std::string_view("old\0", 4)));
    EXPECT_FALSE(Raw("Fresh"));
    // Reading needs only the rights that remain.
    reg.ValueKey(L"Kept");
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_EQ(reg.Value(), RegistryValue(std::wstring(L"old")));
}

// --- Auto Run -------------------------------------------------------------

TEST(RegistryAutoRun, WritesAndDeletesAMachineRunValue) {
    const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::wstring name = L"QuilletProTest." + std::to_wstring(GetCurrentProcessId());
    const std::wstring command = L"\"C:\\Program Files\\Quillet Pro\\quilletpro.exe\"";

    cRegistry reg;
    reg.ClassKey(kLocalMachine);
    reg.SectionKey(run);
    reg.ValueKey(name);
    reg.ValueType(kRegSz);
    reg.Value(command);

    const auto raw = ReadRaw(HKEY_LOCAL_MACHINE, run, Ascii(name));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->data.size(), command.size() + 1);
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, run, Ascii(name)));
    EXPECT_FALSE(reg.DeleteValue());
}

// --- File associations ----------------------------------------------------

// Every key below one root key: path relative to it -> value name -> (type, text).
using Tree = std::map<std::wstring, std::map<std::wstring, std::pair<DWORD, std::wstring>>>;

void ReadTree(HKEY root, const std::wstring& path, const std::wstring& relative, Tree& tree) {
    UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    auto& values = tree[relative];
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[1024];
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            break;
        std::wstring text(data, size / sizeof(wchar_t));
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        values[std::wstring(name, nameLength)] = {type, text};
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

Tree TreeAt(HKEY root, const std::wstring& path) {
    Tree tree;
    ReadTree(root, path, L"", tree);
    return tree;
}

std::map<std::wstring, std::pair<DWORD, std::wstring>> DefaultText(const std::wstring& text) {
    return {{L"", {REG_SZ, text}}};
}

class RegistryAssociation : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::wstring id = std::to_wstring(GetCurrentProcessId());
        className_ = Unique(L"QuilletProTest.Doc.");
        extension_ = L"qpt" + id;
        Remove();
    }
    void TearDown() override { Remove(); }

    void Remove() const {
        for (const std::wstring& key : {className_, L"." + extension_}) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\Classes\\" + key).c_str());
        }
    }

    // What the class key holds under one root, and the extension's key.
    void ExpectUnderBothRoots(const Tree& classTree, const std::wstring& description) const {
        const std::pair<HKEY, std::wstring> roots[] = {
            {HKEY_CLASSES_ROOT, L""}, {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\"}};
        for (const auto& [root, prefix] : roots) {
            SCOPED_TRACE(prefix.empty() ? "HKEY_CLASSES_ROOT" : "HKEY_LOCAL_MACHINE");
            EXPECT_EQ(TreeAt(root, prefix + L"." + extension_),
                      (Tree{{L"", DefaultText(className_)}}));
            Tree expected = classTree;
            expected[L""] = DefaultText(description);
            EXPECT_EQ(TreeAt(root, prefix + className_), expected);
        }
    }

    std::wstring className_;
    std::wstring extension_;
};

TEST_F(RegistryAssociation, WritesEveryVerbUnderBothRoots) {
    cRegistry reg;
    reg.SectionKey(L"Kept\\Section");
    reg.ValueKey(L"Kept");
    reg.ValueType(kRegDword);
    reg.CreateEXEAssociation(L" C:\\Tools\\app.exe ", className_, L"Quillet Test Document",
                             extension_, L"&View", true, L"P&rint it", true, L"Ne&w one", true,
                             L"&Add it", 3);

    const std::wstring exe = L"\"C:\\Tools\\app.exe\"";
    ExpectUnderBothRoots(
        {
            {L"shell", {}},
            {L"shell\\open", DefaultText(L"&View")},
            {L"shell\\open\\command", DefaultText(exe + L" \"%1\"")},
            {L"shell\\print", DefaultText(L"P&rint it")},
            {L"shell\\print\\command", DefaultText(exe + L" /p \"%1\"")},
            {L"shell\\add", DefaultText(L"&Add it")},
            {L"shell\\add\\command", DefaultText(exe + L" /a \"%1\"")},
            {L"shell\\new", DefaultText(L"Ne&w one")},
            {L"shell\\new\\command", DefaultText(exe + L" /n \"%1\"")},
            {L"DefaultIcon", DefaultText(exe + L",3")},
        },
        L"Quillet Test Document");

    EXPECT_EQ(reg.ClassKey(), kLocalMachine);
    EXPECT_EQ(reg.SectionKey(), L"Kept\\Section");
    EXPECT_EQ(reg.ValueKey(), L"");
    EXPECT_EQ(reg.ValueType(), kRegSz);
}

TEST_F(RegistryAssociation, WritesOnlyTheOpenVerbWithoutOptions) {
    cRegistry reg;
    reg.CreateEXEAssociation(L"\"C:\\Tools\\app.exe\"", className_, L"Plain", extension_, L"",
                             false, L"", false, L"", false, L"", -1);

    ExpectUnderBothRoots(
        {
            {L"shell", {}},
            {L"shell\\open", DefaultText(L"&Open")},
            {L"shell\\open\\command", DefaultText(L"\"C:\\Tools\\app.exe\" \"%1\"")},
        },
        L"Plain");
}

TEST_F(RegistryAssociation, AdditionalVerbsJoinARegisteredClass) {
    cRegistry reg;
    reg.CreateEXEAssociation(L"C:\\a.exe", className_, L"Doc", extension_, L"", false, L"", false,
                             L"", false, L"", 0);
    reg.ClassKey(kClassesRoot);
    reg.CreateAdditionalEXEAssociations(
        className_,
        {std::wstring(L"edit"), std::wstring(L"&Edit"), std::wstring(L"\"C:\\a.exe\" /e \"%1\""),
         std::wstring(L"play"), std::wstring(L"&Play"), std::wstring(L"\"C:\\a.exe\" /play")});

    ExpectUnderBothRoots(
        {
            {L"shell", {}},
            {L"shell\\open", DefaultText(L"&Open")},
            {L"shell\\open\\command", DefaultText(L"\"C:\\a.exe\" \"%1\"")},
            {L"shell\\edit", DefaultText(L"&Edit")},
            {L"shell\\edit\\command", DefaultText(L"\"C:\\a.exe\" /e \"%1\"")},
            {L"shell\\play", DefaultText(L"&Play")},
            {L"shell\\play\\command", DefaultText(L"\"C:\\a.exe\" /play")},
            {L"DefaultIcon", DefaultText(L"\"C:\\a.exe\",0")},
        },
        L"Doc");
    EXPECT_EQ(reg.ClassKey(), kLocalMachine);
    EXPECT_EQ(reg.SectionKey(), className_);
}

TEST_F(RegistryAssociation, AdditionalVerbsNeedTriplesAndADefinedClass) {
    cRegistry reg;
    reg.ClassKey(kClassesRoot);
    ExpectRegistryError(
        [&] {
            reg.CreateAdditionalEXEAssociations(
                className_, {std::wstring(L"edit"), std::wstring(L"&Edit"), std::wstring(L"cmd"),
                             std::wstring(L"extra")});
        },
        static_cast<std::int32_t>(0x800469ACu),
        L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
        L"Name/Text/Command");
    ExpectRegistryError(
        [&] {
            reg.CreateAdditionalEXEAssociations(
                className_, {std::wstring(L"edit"), std::wstring(L"&Edit"), std::wstring(L"cmd")});
        },
        static_cast<std::int32_t>(0x800469ADu),
        L"Error - attempt to create additional associations before class defined.");
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, className_));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + className_));
}

}  // namespace
}  // namespace quillet
