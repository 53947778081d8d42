// The in-process server: exports, class factory, module count, type library, registration.
#include <windows.h>
#include <olectl.h>

#include <mutex>
#include <string>

#include "HotKey_win.h"
#include "base/handles_win.h"
#include "base/module_path_win.h"
#include "module_win.h"

#ifdef __MINGW32__
// In oleaut32 since Windows Vista; MinGW's oleauto.h does not declare them.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* lib, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid,
                                                   SYSKIND syskind);
#endif

namespace tarnkey {

using quillet::ComPtr;
using quillet::UniqueKey;

namespace {

HMODULE gModule = nullptr;
LONG gRefs = 0;
std::mutex gTypeLibLock;
ComPtr<ITypeLib> gTypeLib;

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

class ClassFactory final : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const quillet::InterfaceRow rows[] = {
            quillet::RowOf<IClassFactory>(IID_IClassFactory, this)};
        return quillet::QueryInterfaceTable(this, rows, riid, ppv);
    }
    // The factory is static; its references keep the module, not itself.
    STDMETHODIMP_(ULONG) AddRef() override {
        AddModuleRef();
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override {
        ReleaseModuleRef();
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        return Guarded([&] {
            if (!ppv) return E_POINTER;
            *ppv = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            return HotKey::Create(riid, ppv);
        });
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        return Guarded([&] {
            lock ? AddModuleRef() : ReleaseModuleRef();
            return S_OK;
        });
    }
};

ClassFactory gFactory;

struct RegistryRow {
    const wchar_t* key;   // under the classes key; {CLSID} and {LIBID} are filled in
    const wchar_t* name;  // nullptr for the key's default value
    const wchar_t* data;  // %MODULE% is the library's path
};

const RegistryRow kRows[] = {
    {L"CLSID\\{CLSID}", nullptr, L"HotKey"},
    {L"CLSID\\{CLSID}\\InprocServer32", nullptr, L"%MODULE%"},
    {L"CLSID\\{CLSID}\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {L"CLSID\\{CLSID}\\ProgID", nullptr, L"Tarnkey.HotKey"},
    {L"CLSID\\{CLSID}\\TypeLib", nullptr, L"{LIBID}"},
    {L"CLSID\\{CLSID}\\Version", nullptr, L"1.0"},
    {L"CLSID\\{CLSID}\\Programmable", nullptr, L""},
    {L"Tarnkey.HotKey", nullptr, L"HotKey"},
    {L"Tarnkey.HotKey\\CLSID", nullptr, L"{CLSID}"},
};

// Keys removed whole when unregistering.
const wchar_t* const kTrees[] = {L"CLSID\\{CLSID}", L"Tarnkey.HotKey"};

// The user's own classes, where a user without the rights to the machine's registers.
constexpr wchar_t kUserClasses[] = L"Software\\Classes";

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring Fill(std::wstring text) {
    const std::pair<std::wstring, std::wstring> fields[] = {
        {L"{CLSID}", GuidText(CLSID_HotKey)},
        {L"{LIBID}", GuidText(LIBID_Tarnkey)},
        {L"%MODULE%", quillet::ModuleFileName(gModule)}};
    for (const auto& [field, value] : fields)
        for (size_t at = text.find(field); at != std::wstring::npos; at = text.find(field))
            text.replace(at, field.size(), value);
    return text;
}

LSTATUS WriteRows(HKEY classes) {
    for (const RegistryRow& row : kRows) {
        const std::wstring keyPath = Fill(row.key);
        const std::wstring data = Fill(row.data);
        UniqueKey key;
        LSTATUS s = ::RegCreateKeyExW(classes, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                      nullptr, key.put(), nullptr);
        if (s == ERROR_SUCCESS)
            s = ::RegSetValueExW(key.get(), row.name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        if (s != ERROR_SUCCESS) return s;
    }
    return ERROR_SUCCESS;
}

LSTATUS DeleteRows(HKEY classes) {
    for (const wchar_t* tree : kTrees) {
        const LSTATUS s = ::RegDeleteTreeW(classes, Fill(tree).c_str());
        if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) return s;
    }
    return ERROR_SUCCESS;
}

UniqueKey UserClasses(bool create) {
    UniqueKey key;
    if (create)
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.put(), nullptr);
    else
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, KEY_ALL_ACCESS, key.put());
    return key;
}

// A new profile has none of these under its classes until something registers.
constexpr const wchar_t* kUserContainers[] = {L"CLSID", L"Interface", L"TypeLib"};

template <size_t N>
void RemoveIfEmpty(HKEY parent, const wchar_t* const (&names)[N]) {
    for (const wchar_t* name : names) {
        UniqueKey key;
        DWORD subkeys = 1, values = 1;
        if (::RegOpenKeyExW(parent, name, 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
            ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        key.reset();
        if (subkeys == 0 && values == 0) ::RegDeleteKeyW(parent, name);
    }
}

// Wine's per-user type library calls write through HKEY_CLASSES_ROOT; pointed
// at the user's classes for the call they land where Windows puts them.
template <class Call>
HRESULT ForUser(HKEY userClasses, Call&& call) {
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, userClasses);
    const HRESULT hr = call();
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    return hr;
}

// Removes what registration wrote in both places; what is already gone
// counts as removed. The first failure is the answer, after both were tried.
HRESULT Unregister() {
    HRESULT result = S_OK;
    LSTATUS s = DeleteRows(HKEY_CLASSES_ROOT);
    if (s == ERROR_SUCCESS)
        // Fails only when the type library was not registered.
        ::UnRegisterTypeLib(LIBID_Tarnkey, 1, 0, 0x409, kSysKind);
    else
        result = HRESULT_FROM_WIN32(s);
    if (UniqueKey user = UserClasses(false)) {
        s = DeleteRows(user.get());
        if (s != ERROR_SUCCESS && result == S_OK) result = HRESULT_FROM_WIN32(s);
        ForUser(user.get(),
                [] { return ::UnRegisterTypeLibForUser(LIBID_Tarnkey, 1, 0, 0x409, kSysKind); });
        RemoveIfEmpty(user.get(), kUserContainers);
    }
    return result;
}

bool Refused(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) || hr == TYPE_E_REGISTRYACCESS;
}

HRESULT Register() {
    std::wstring path = quillet::ModuleFileName(gModule);
    ComPtr<ITypeLib> lib;
    if (FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()))) return SELFREG_E_TYPELIB;

    const LSTATUS s = WriteRows(HKEY_CLASSES_ROOT);
    HRESULT hr = HRESULT_FROM_WIN32(s);
    if (s == ERROR_SUCCESS) hr = ::RegisterTypeLib(lib.get(), path.data(), nullptr);
    if (SUCCEEDED(hr)) return S_OK;
    Unregister();
    if (!Refused(hr)) return s == ERROR_SUCCESS ? SELFREG_E_TYPELIB : SELFREG_E_CLASS;

    // Without the rights to the machine's classes (no administrator), the
    // class is registered for this user alone, which needs no elevation.
    UniqueKey user = UserClasses(true);
    if (!user || WriteRows(user.get()) != ERROR_SUCCESS) {
        Unregister();
        return SELFREG_E_CLASS;
    }
    hr = ForUser(user.get(),
                 [&] { return ::RegisterTypeLibForUser(lib.get(), path.data(), nullptr); });
    if (FAILED(hr)) {
        Unregister();
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

}  // namespace

HMODULE ModuleHandle() {
    return gModule;
}
void AddModuleRef() {
    ::InterlockedIncrement(&gRefs);
}
void ReleaseModuleRef() {
    ::InterlockedDecrement(&gRefs);
}

ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid) {
    std::lock_guard<std::mutex> lock(gTypeLibLock);
    if (!gTypeLib && FAILED(::LoadTypeLibEx(quillet::ModuleFileName(gModule).c_str(), REGKIND_NONE,
                                            gTypeLib.put())))
        return nullptr;
    ComPtr<ITypeInfo> info;
    if (FAILED(gTypeLib->GetTypeInfoOfGuid(guid, info.put()))) return nullptr;
    return info;
}

}  // namespace tarnkey

using namespace tarnkey;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return Guarded([&] {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (clsid != CLSID_HotKey) return CLASS_E_CLASSNOTAVAILABLE;
        return gFactory.QueryInterface(riid, ppv);
    });
}

STDAPI DllCanUnloadNow() {
    return Guarded([] {
        if (gRefs != 0) return S_FALSE;
        std::lock_guard<std::mutex> lock(gTypeLibLock);
        gTypeLib = nullptr;
        return S_OK;
    });
}

STDAPI DllRegisterServer() {
    return Guarded([] { return Register(); });
}

STDAPI DllUnregisterServer() {
    return Guarded([] { return Unregister(); });
}
