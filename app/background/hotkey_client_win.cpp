// Creates and connects the Tarnkey HotKey object and reads the keyboard layout.
#include "background/hotkey_client_win.h"

#include <ocidl.h>
#include <oleauto.h>

#include <new>
#include <utility>

#include "base/guard_win.h"
#include "base/module_path_win.h"

namespace quillet {

namespace {

// The one event of __HotKey.
constexpr DISPID kHotKeyPress = 1;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

template <class Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// An unregistered copy beside the program still works, as a portable
// install would have it: the object comes from the library's own factory.
HRESULT CreateFromFolder(const std::wstring& folder, UniqueModule& library, ComPtr<_HotKey>& key) {
    if (folder.empty()) return E_INVALIDARG;
    std::wstring path = folder;
    if (path.back() != L'\\') path += L'\\';
    path += L"Tarnkey.dll";
    // A full path and the library's own folder for its dependencies: no search
    // of the current folder, where a planted copy could sit.
    UniqueModule module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) return HRESULT_FROM_WIN32(::GetLastError());
    const auto getClassObject = Export<GetClassObjectFn>(module.get(), "DllGetClassObject");
    if (!getClassObject) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(CLSID_HotKey, IID_IClassFactory, factory.putVoid());
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(nullptr, IID__HotKey, key.putVoid());
    if (FAILED(hr)) return hr;
    library = std::move(module);
    return S_OK;
}

}  // namespace

// Receives HotKeyPress and hands the id on. It outlives its client when the
// component still holds it, so the client detaches the handler first.
class HotkeyPressSink final : public RefCounted<IDispatch> {
  public:
    explicit HotkeyPressSink(HotkeyClient::PressHandler handler) : handler_(std::move(handler)) {}

    void Detach() { handler_ = nullptr; }

    // The component asks for its event interface, which is dispatch only.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const InterfaceRow rows[] = {RowOf<IDispatch>(IID_IDispatch, this),
                                            RowOf<IDispatch>(DIID___HotKey, this)};
        return QueryInterfaceTable(this, rows, riid, ppv);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT* argError) override {
        return Guarded([&] {
            if (id != kHotKeyPress) return DISP_E_MEMBERNOTFOUND;
            if (!params || params->cArgs != 1 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
            // ID is a by-value long; a caller passing it by reference or as
            // another integer type is served too.
            VARIANT arg;
            ::VariantInit(&arg);
            if (FAILED(::VariantChangeType(&arg, &params->rgvarg[0], 0, VT_I4))) {
                if (argError) *argError = 0;
                return DISP_E_TYPEMISMATCH;
            }
            // A copy: the handler may destroy the client, which detaches this.
            const HotkeyClient::PressHandler handler = handler_;
            if (handler) handler(arg.lVal);
            return S_OK;
        });
    }

  private:
    ~HotkeyPressSink() override = default;

    HotkeyClient::PressHandler handler_;
};

std::unique_ptr<HotkeyClient> HotkeyClient::Create(PressHandler onPress) noexcept {
    std::wstring folder;
    const HRESULT hr = Guarded([&] {
        folder = ModuleFolder();
        return S_OK;
    });
    return SUCCEEDED(hr) ? Create(std::move(onPress), folder) : nullptr;
}

std::unique_ptr<HotkeyClient> HotkeyClient::Create(PressHandler onPress,
                                                   const std::wstring& libraryFolder) noexcept {
    std::unique_ptr<HotkeyClient> client;
    const HRESULT hr = Guarded([&] {
        client.reset(new HotkeyClient());
        return client->Connect(std::move(onPress), libraryFolder);
    });
    return SUCCEEDED(hr) ? std::move(client) : nullptr;
}

HRESULT HotkeyClient::Connect(PressHandler onPress, const std::wstring& libraryFolder) {
    // Any failure, not only an unregistered class: a registration left
    // behind by a moved or deleted copy fails with other codes.
    HRESULT hr = ::CoCreateInstance(CLSID_HotKey, nullptr, CLSCTX_INPROC_SERVER, IID__HotKey,
                                    key_.putVoid());
    if (FAILED(hr)) {
        hr = CreateFromFolder(libraryFolder, library_, key_);
        if (FAILED(hr)) return hr;
        source_ = Source::LibraryFolder;
    }

    ComPtr<IConnectionPointContainer> container;
    hr = key_.As(IID_IConnectionPointContainer, container);
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID___HotKey, events_.put());
    if (FAILED(hr)) return hr;
    sink_ = ComPtr<HotkeyPressSink>::Adopt(new HotkeyPressSink(std::move(onPress)));
    // Hotkeys whose presses reach nobody would only take the keys from
    // other programs, so an object without its sink is not used.
    hr = events_->Advise(sink_.get(), &cookie_);
    if (FAILED(hr)) cookie_ = 0;
    return hr;
}

HotkeyClient::~HotkeyClient() {
    if (sink_) sink_->Detach();
    if (events_ && cookie_) events_->Unadvise(cookie_);
    events_.reset();
    key_.reset();
    sink_.reset();
    if (library_) {
        // Unloaded only when the library says nothing of it is in use, as
        // CoFreeUnusedLibraries would decide.
        const auto canUnload = Export<CanUnloadNowFn>(library_.get(), "DllCanUnloadNow");
        if (!canUnload || canUnload() != S_OK) library_.release();
    }
}

int32_t HotkeyClient::SetHotKey(int keyCode, int modifiers) noexcept {
    if (!key_) return 0;
    LONG id = 0;
    const bool ok = SUCCEEDED(key_->put_KeyCode(keyCode)) &&
                    SUCCEEDED(key_->put_Modifiers(modifiers)) && SUCCEEDED(key_->SetHotKey(0, &id));
    if (ok) return id;
    // The component leaves its error description for the thread; nobody
    // asks for it, and a later failure elsewhere must not find it.
    ComPtr<IErrorInfo> stale;
    ::GetErrorInfo(0, stale.put());
    return 0;
}

bool ActiveKeyboardLayout::CtrlAltTypesCharacter(int virtualKey) noexcept {
    if (virtualKey < 0 || virtualKey > 255) return false;
    const UINT key = static_cast<UINT>(virtualKey);
    // Wine's ToUnicodeEx ignores Alt in the key-state array, so the layout
    // is also asked the other way round, character by character.
    return ToUnicodeTypes(key) || KeyScanTypes(key);
}

bool ActiveKeyboardLayout::ToUnicodeTypes(UINT key) {
    // Windows reports AltGr as right Alt plus left Ctrl; the layout tables
    // read the generic Ctrl and Alt. All four are down, as when AltGr is held.
    BYTE state[256] = {};
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    const UINT scan = ::MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout_);
    wchar_t out[8] = {};
    // Flag 4 keeps the thread's dead-key state as it is (Windows 10 1607 on).
    constexpr UINT kKeepState = 4;
    const int n = ::ToUnicodeEx(key, scan, state, out, 8, kKeepState, layout_);
    if (n < 0) {
        // A dead key: where the flag is not known, the same key again clears
        // the state it left, so the user's next key types as it should.
        wchar_t flush[8] = {};
        ::ToUnicodeEx(key, scan, state, flush, 8, kKeepState, layout_);
        return true;
    }
    // Ctrl alone can make control codes; only printable text counts.
    for (int i = 0; i < n && i < 8; ++i)
        if (out[i] >= 0x20 && out[i] != 0x7F) return true;
    return false;
}

bool ActiveKeyboardLayout::KeyScanTypes(UINT key) {
    if (!scanned_) {
        scanned_ = true;
        // ASCII, Latin-1 and Latin Extended-A/B, and the euro sign: what
        // AltGr puts on the digit row of the Latin-script layouts.
        auto scanRange = [this](wchar_t first, wchar_t last) {
            for (wchar_t c = first; c <= last; ++c) {
                const SHORT found = ::VkKeyScanExW(c, layout_);
                if (found == -1) continue;
                const UINT shifts = (static_cast<UINT>(found) >> 8) & 0xFF;
                // 2 is Ctrl, 4 is Alt: both together are AltGr.
                if ((shifts & 6) == 6) altGrKeys_.set(static_cast<UINT>(found) & 0xFF);
            }
        };
        scanRange(0x20, 0x7E);
        scanRange(0xA0, 0x24F);
        scanRange(0x20AC, 0x20AC);
    }
    return altGrKeys_.test(key);
}

}  // namespace quillet
