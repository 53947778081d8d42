// Reads and writes one registry location at a time: a root key, a key path,
// a value name and a data type, set through properties before each call.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "util/registry_value.h"

namespace quillet {

// Registry failures reach the caller as RegistryError; reads that find nothing
// answer Default instead.
class cRegistry {
  public:
    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    // False when the key opens but holds no such value.
    bool DeleteValue();

    // Sets ValueType from the stored type when the value is found. Text goes
    // in through the 8-bit calls unless the code page lacks one of its
    // characters or of the name's.
    RegistryValue Value();
    void Value(const RegistryValue& vValue);

    // A key that cannot be opened lists nothing and still answers true;
    // EnumerateSections answers false only when it cannot finish the list.
    bool EnumerateValues(std::vector<std::wstring>& sKeyNames, std::int32_t& iKeyCount);
    bool EnumerateSections(std::vector<std::wstring>& sSect, std::int32_t& iSectCount);

    // Writes under HKEY_CLASSES_ROOT and again under HKEY_LOCAL_MACHINE
    // "SOFTWARE\Classes\"; leaves ClassKey at HKEY_LOCAL_MACHINE.
    void CreateEXEAssociation(const std::wstring& sExePath, const std::wstring& sClassName,
                              const std::wstring& sClassDescription,
                              const std::wstring& sAssociation,
                              const std::wstring& sOpenMenuText = {}, bool bSupportPrint = false,
                              const std::wstring& sPrintMenuText = {}, bool bSupportNew = false,
                              const std::wstring& sNewMenuText = {}, bool bSupportInstall = false,
                              const std::wstring& sInstallMenuText = {},
                              std::int32_t lDefaultIconIndex = -1);
    // vItems is a flat list of (verb name, menu text, command) triples.
    void CreateAdditionalEXEAssociations(std::wstring sClassName,
                                         const std::vector<RegistryValue>& vItems);

    std::int32_t ValueType() const { return m_eValueType; }
    void ValueType(std::int32_t eValueType) { m_eValueType = eValueType; }
    std::int32_t ClassKey() const { return m_hClassKey; }
    void ClassKey(std::int32_t eKey) { m_hClassKey = eKey; }
    const std::wstring& SectionKey() const { return m_sSectionKey; }
    void SectionKey(std::wstring sSectionKey) { m_sSectionKey = std::move(sSectionKey); }
    const std::wstring& ValueKey() const { return m_sValueKey; }
    void ValueKey(std::wstring sValueKey) { m_sValueKey = std::move(sValueKey); }
    const RegistryValue& Default() const { return m_vDefault; }
    void Default(RegistryValue vDefault) { m_vDefault = std::move(vDefault); }
    // The system's error code from the last CreateKey, DeleteKey, DeleteValue
    // or value write; 0 when it went through, or failed for a reason of the
    // class's own. RegistryError carries no code, and DeleteValue's false does
    // not say whether the value was missing.
    std::int32_t LastError() const { return m_lLastError; }

  private:
    void WriteBothRoots(const std::wstring& sSectionKey, const std::wstring& sText);

    std::int32_t m_hClassKey = 0;
    std::wstring m_sSectionKey;
    std::wstring m_sValueKey;
    std::int32_t m_eValueType = 0;
    RegistryValue m_vDefault;
    RegistryValue m_vValue;
    std::int32_t m_lLastError = 0;
};

}  // namespace quillet
