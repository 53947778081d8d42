// cRegistry over the 8-bit registry functions of advapi32; text the code page
// cannot hold goes in through the wide call.
#include "util/cRegistry.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string_view>

#include "base/handles_win.h"
#include "base/module_path_win.h"
#include "base/strings_win.h"

namespace quillet {
namespace {

constexpr REGSAM kAccessRead = KEY_QUERY_VALUE;
constexpr REGSAM kAccessWrite = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                                KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK;
static_assert(kAccessWrite == 0x3F);

// Value names run to 16,383 characters; a double-byte code page needs up to
// two bytes for each.
constexpr std::size_t kLongestNameBytes = 2 * 16383 + 1;
// Key names run to 255 characters.
constexpr std::size_t kLongestKeyNameBytes = 2 * 255 + 1;

// Predefined keys are 32-bit values that Windows sign-extends on 64-bit.
HKEY RootKey(std::int32_t key) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(key));
}

[[noreturn]] void Raise(std::int32_t number, std::wstring description) {
    throw RegistryError(number, RegistryErrorSource(ModuleFileName()), std::move(description));
}

UniqueKey OpenKey(std::int32_t root, const std::wstring& section, REGSAM access,
                  LONG* error = nullptr) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(RootKey(root), Narrow(section).c_str(), 0, access, &key);
    if (error) *error = result;
    if (result != ERROR_SUCCESS) return {};
    return UniqueKey(key);
}

UniqueKey CreateOrOpenKey(std::int32_t root, const std::wstring& section, LONG& error) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    error = RegCreateKeyExA(RootKey(root), Narrow(section).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, kAccessWrite, nullptr, &key, &disposition);
    if (error != ERROR_SUCCESS) return {};
    return UniqueKey(key);
}

// The data and type of one value, however large; the size is asked again when
// the value grows between the two calls.
bool QueryValue(HKEY key, const std::string& name, DWORD& type, RegistryBytes& data) {
    DWORD size = 0;
    const LONG probe = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (probe != ERROR_SUCCESS && probe != ERROR_MORE_DATA) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        data.resize(std::max<DWORD>(size, 1));
        DWORD length = static_cast<DWORD>(data.size());
        const LONG result =
            RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &length);
        if (result == ERROR_SUCCESS) {
            data.resize(std::min<std::size_t>(length, data.size()));
            return true;
        }
        if (result != ERROR_MORE_DATA || length <= data.size()) return false;
        size = length;
    }
    return false;
}

std::string Expand(const std::string& text) {
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    for (int attempt = 0; needed != 0 && attempt < 4; ++attempt) {
        std::string out(needed, '\0');
        const DWORD written = ExpandEnvironmentStringsA(text.c_str(), out.data(), needed);
        if (written == 0) break;
        if (written <= needed) {
            out.resize(
                static_cast<std::size_t>(std::find(out.begin(), out.end(), '\0') - out.begin()));
            return out;
        }
        needed = written;
    }
    return text;
}

LONG SetValue(HKEY key, const std::string& name, DWORD type, const void* data, std::size_t size) {
    if (size > MAXDWORD) return ERROR_INVALID_PARAMETER;
    static const BYTE kNothing = 0;
    const BYTE* bytes = size ? static_cast<const BYTE*>(data) : &kNothing;
    return RegSetValueExA(key, name.c_str(), 0, type, bytes, static_cast<DWORD>(size));
}

LONG SetWideText(HKEY key, const std::wstring& name, DWORD type, const std::wstring& text) {
    if (text.size() >= MAXDWORD / sizeof(wchar_t)) return ERROR_INVALID_PARAMETER;
    return RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

bool cRegistry::KeyExists() const {
    return static_cast<bool>(OpenKey(m_hClassKey, m_sSectionKey, kAccessRead));
}

bool cRegistry::CreateKey() {
    LONG result = ERROR_SUCCESS;
    const bool created = static_cast<bool>(CreateOrOpenKey(m_hClassKey, m_sSectionKey, result));
    m_lLastError = result;
    if (!created) Raise(kErrRegistry, CreateKeyFailedText(m_sSectionKey));
    return true;
}

bool cRegistry::DeleteKey() {
    m_lLastError = RegDeleteKeyA(RootKey(m_hClassKey), Narrow(m_sSectionKey).c_str());
    if (m_lLastError != ERROR_SUCCESS) {
        Raise(kErrRegistry, DeleteKeyFailedText(m_hClassKey, m_sSectionKey));
    }
    return true;
}

bool cRegistry::DeleteValue() {
    LONG result = ERROR_SUCCESS;
    const UniqueKey key = OpenKey(m_hClassKey, m_sSectionKey, kAccessWrite, &result);
    m_lLastError = result;
    if (!key) Raise(kErrRegistry, OpenForDeleteFailedText(m_hClassKey, m_sSectionKey));
    m_lLastError = RegDeleteValueA(key.get(), Narrow(m_sValueKey).c_str());
    return m_lLastError == ERROR_SUCCESS;
}

RegistryValue cRegistry::Value() {
    const UniqueKey key = OpenKey(m_hClassKey, m_sSectionKey, kAccessRead);
    if (!key) return m_vDefault;
    DWORD type = REG_NONE;
    RegistryBytes data;
    if (!QueryValue(key.get(), Narrow(m_sValueKey), type, data)) return m_vDefault;

    m_eValueType = static_cast<std::int32_t>(type);
    switch (type) {
        case REG_SZ:
            return Widen(TextFromRegistryData(data));
        case REG_MULTI_SZ:
            return Widen(MultiTextFromRegistryData(data));
        case REG_EXPAND_SZ:
            return Widen(Expand(TextFromRegistryData(data)));
        case REG_DWORD:
            return NumberFromLittleEndian(data);
        case REG_DWORD_BIG_ENDIAN:
            return NumberFromBigEndian(data);
        default:
            return data;
    }
}

void cRegistry::Value(const RegistryValue& vValue) {
    auto raiseFailed = [&]() {
        Raise(kErrRegistry, SetValueFailedText(m_hClassKey, m_sSectionKey, m_sValueKey,
                                               RegistryValueText(vValue)));
    };
    LONG result = ERROR_SUCCESS;
    const UniqueKey key = CreateOrOpenKey(m_hClassKey, m_sSectionKey, result);
    m_lLastError = result;
    if (!key) raiseFailed();

    const std::string name = Narrow(m_sValueKey);
    switch (m_eValueType) {
        case kRegSz:
        case kRegExpandSz: {
            const std::wstring text = RegistryValueText(vValue);
            const DWORD type = IsExpandableText(text) ? REG_EXPAND_SZ : REG_SZ;
            if (Represents(text) && Represents(m_sValueKey)) {
                const std::string data = Narrow(text);
                result = SetValue(key.get(), name, type, data.c_str(), data.size() + 1);
            } else {
                // The 8-bit call would store "?" for every character the code
                // page lacks, and a program path with one would not start.
                result = SetWideText(key.get(), m_sValueKey, type, text);
            }
            break;
        }
        case kRegBinary: {
            const auto* bytes = std::get_if<RegistryBytes>(&vValue);
            if (!bytes) Raise(kErrRegistry, {});
            result = SetValue(key.get(), name, REG_BINARY, bytes->data(), bytes->size());
            break;
        }
        case kRegDword:
        case kRegDwordBigEndian:
            // Stored little-endian whatever was asked; other kinds are left unwritten.
            if (const auto* number = std::get_if<std::int32_t>(&vValue)) {
                const auto data = NumberToLittleEndian(*number);
                result = SetValue(key.get(), name, REG_DWORD, data.data(), data.size());
            }
            break;
        default:
            break;
    }
    m_lLastError = result;
    if (result != ERROR_SUCCESS) raiseFailed();
    m_vValue = vValue;
}

bool cRegistry::EnumerateValues(std::vector<std::wstring>& sKeyNames, std::int32_t& iKeyCount) {
    iKeyCount = 0;
    sKeyNames.clear();
    const UniqueKey key = OpenKey(m_hClassKey, m_sSectionKey, kAccessRead);
    if (!key) return true;

    DWORD longest = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longest, nullptr, nullptr, nullptr);
    std::vector<char> name(std::min<std::size_t>(longest, kLongestNameBytes) + 1);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result = RegEnumValueA(key.get(), index, name.data(), &length, nullptr, nullptr,
                                          nullptr, nullptr);
        // The longest length is in characters and may fall short of the bytes a
        // double-byte name needs.
        if (result == ERROR_MORE_DATA && name.size() < kLongestNameBytes) {
            name.resize(std::min(name.size() * 2, kLongestNameBytes));
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        sKeyNames.push_back(Widen({name.data(), std::min<std::size_t>(length, name.size())}));
        ++iKeyCount;
        ++index;
    }
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::wstring>& sSect, std::int32_t& iSectCount) {
    iSectCount = 0;
    sSect.clear();
    try {
        const UniqueKey key = OpenKey(m_hClassKey, m_sSectionKey, KEY_ENUMERATE_SUB_KEYS);
        if (!key) return true;
        RegistryBytes name(256);
        for (DWORD index = 0;;) {
            const LONG result = RegEnumKeyA(key.get(), index, reinterpret_cast<char*>(name.data()),
                                            static_cast<DWORD>(name.size()));
            if (result == ERROR_MORE_DATA && name.size() < kLongestKeyNameBytes) {
                name.assign(kLongestKeyNameBytes, 0);
                continue;
            }
            if (result != ERROR_SUCCESS) break;
            sSect.push_back(Widen(TextFromRegistryData(name)));
            ++iSectCount;
            ++index;
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void cRegistry::WriteBothRoots(const std::wstring& sSectionKey, const std::wstring& sText) {
    const std::wstring saved = m_sSectionKey;
    try {
        m_hClassKey = kClassesRoot;
        m_sSectionKey = sSectionKey;
        Value(sText);
        m_hClassKey = kLocalMachine;
        m_sSectionKey = L"SOFTWARE\\Classes\\" + sSectionKey;
        Value(sText);
    } catch (...) {
        m_sSectionKey = saved;
        throw;
    }
    m_sSectionKey = saved;
}

void cRegistry::CreateEXEAssociation(const std::wstring& sExePath, const std::wstring& sClassName,
                                     const std::wstring& sClassDescription,
                                     const std::wstring& sAssociation,
                                     const std::wstring& sOpenMenuText, bool bSupportPrint,
                                     const std::wstring& sPrintMenuText, bool bSupportNew,
                                     const std::wstring& sNewMenuText, bool bSupportInstall,
                                     const std::wstring& sInstallMenuText,
                                     std::int32_t lDefaultIconIndex) {
    m_eValueType = kRegSz;
    m_sValueKey.clear();
    const ExeAssociation association{sExePath,        sClassName,       sClassDescription,
                                     sAssociation,    sOpenMenuText,    bSupportPrint,
                                     sPrintMenuText,  bSupportNew,      sNewMenuText,
                                     bSupportInstall, sInstallMenuText, lDefaultIconIndex};
    for (const AssociationEntry& row : ExeAssociationEntries(association)) {
        WriteBothRoots(row.key, row.text);
    }
}

void cRegistry::CreateAdditionalEXEAssociations(std::wstring sClassName,
                                                const std::vector<RegistryValue>& vItems) {
    if (vItems.size() % 3 != 0) {
        Raise(kErrInvalidAssociationList, std::wstring(InvalidAssociationListText()));
    }
    m_sSectionKey = sClassName;
    if (!KeyExists()) Raise(kErrClassNotDefined, std::wstring(ClassNotDefinedText()));

    m_eValueType = kRegSz;
    m_sValueKey.clear();
    for (std::size_t i = 0; i < vItems.size(); i += 3) {
        const std::wstring verb = sClassName + L"\\shell\\" + RegistryValueText(vItems[i]);
        WriteBothRoots(verb, RegistryValueText(vItems[i + 1]));
        WriteBothRoots(verb + L"\\command", RegistryValueText(vItems[i + 2]));
    }
}

}  // namespace quillet
