// The in-process server: exports, class factory, module count, type library, registration.
#include <windows.h>
#include <olectl.h>

#include <mutex>
#include <string>

#include "HotKey_win.h"
#include "module_win.h"
#include "util/module_path_win.h"

namespace tarnkey {

using quillet::ComPtr;

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
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return Guarded([&] {
            if (!ppv) return E_POINTER;
            if (riid == IID_IUnknown || riid == IID_IClassFactory) {
                *ppv = static_cast<IClassFactory*>(this);
                AddRef();
                return S_OK;
            }
            *ppv = nullptr;
            return E_NOINTERFACE;
        });
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
    const wchar_t* key;   // under HKEY_CLASSES_ROOT; {CLSID} and {LIBID} are filled in
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

// Removes what registration wrote; what is already gone counts as removed.
HRESULT Unregister() {
    for (const wchar_t* tree : kTrees) {
        const LSTATUS s = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, Fill(tree).c_str());
        if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(s);
    }
    // Fails only when the type library was never registered.
    ::UnRegisterTypeLib(LIBID_Tarnkey, 1, 0, 0x409, SYS_WIN64);
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
    return Guarded([] {
        for (const RegistryRow& row : kRows) {
            const std::wstring keyPath = Fill(row.key);
            const std::wstring data = Fill(row.data);
            HKEY key = nullptr;
            LSTATUS s = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0,
                                          KEY_SET_VALUE, nullptr, &key, nullptr);
            if (s == ERROR_SUCCESS) {
                s = ::RegSetValueExW(key, row.name, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
                ::RegCloseKey(key);
            }
            if (s != ERROR_SUCCESS) {
                Unregister();
                return SELFREG_E_CLASS;
            }
        }
        std::wstring path = quillet::ModuleFileName(gModule);
        ComPtr<ITypeLib> lib;
        HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put());
        if (SUCCEEDED(hr)) hr = ::RegisterTypeLib(lib.get(), path.data(), nullptr);
        if (FAILED(hr)) {
            Unregister();
            return SELFREG_E_TYPELIB;
        }
        return S_OK;
    });
}

STDAPI DllUnregisterServer() {
    return Guarded([] { return Unregister(); });
}
