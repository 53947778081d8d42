#include "HotKey_win.h"

#include <olectl.h>

#include <algorithm>
#include <climits>
#include <mutex>
#include <new>
#include <set>

#include "keynames.h"
#include "mSubclass_win.h"
#include "module_win.h"

namespace tarnkey {

namespace {

constexpr HRESULT kErrHotKeyInUse = static_cast<HRESULT>(0x800403E9);
constexpr HRESULT kErrKeyCodeNotValid = static_cast<HRESULT>(0x800403EA);
constexpr HRESULT kErrSubclassFailure = static_cast<HRESULT>(0x800403EB);
constexpr HRESULT kErrReservedKey = static_cast<HRESULT>(0x800403EC);
// The automation errors 380 (invalid property value) and 6 (overflow).
constexpr HRESULT kInvalidPropertyValue = static_cast<HRESULT>(0x800A017C);
constexpr HRESULT kOverflow = static_cast<HRESULT>(0x800A0006);
constexpr DISPID kDispRemoveHotKey = 0x60030008;

// Objects alive now: a press is delivered only to one of them.
std::mutex gLiveLock;
std::set<HotKey*> gLive;

// Raises an automation error with only a number and a description.
HRESULT Fail(HRESULT hr, const std::wstring& description) {
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(::CreateErrorInfo(&create))) {
        create->SetGUID(IID__HotKey);
        create->SetSource(const_cast<LPOLESTR>(L"Tarnkey.HotKey"));
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            ::SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }
    return hr;
}

HRESULT Succeed() {
    ::SetErrorInfo(0, nullptr);
    return S_OK;
}

bool IsWindowsNT() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;  // 148, the ANSI record
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    ::GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A snapshot enumerator of COM items (connection points or connections):
// the standard Next/Skip/Reset/Clone over a vector it owns.
template <typename Enum, typename Item, const IID& kIid>
class Enumerator final : public Enum {
  public:
    explicit Enumerator(std::vector<Item> items) : items_(std::move(items)) {
        for (Item& item : items_) AddRefItem(item);
        AddModuleRef();
    }
    ~Enumerator() {
        for (Item& item : items_) ReleaseItem(item);
        ReleaseModuleRef();
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == kIid) {
            *ppv = static_cast<Enum*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&refs_));
    }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        for (; n < count && next_ < items_.size(); ++n, ++next_) {
            out[n] = items_[next_];
            AddRefItem(out[n]);
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        next_ = std::min(items_.size(), next_ + count);
        return next_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        next_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Enum** copy) override {
        if (!copy) return E_POINTER;
        auto* clone = new (std::nothrow) Enumerator(items_);
        if (!clone) return E_OUTOFMEMORY;
        clone->next_ = next_;
        *copy = clone;
        return S_OK;
    }

  private:
    static void AddRefItem(IConnectionPoint* p) { p->AddRef(); }
    static void ReleaseItem(IConnectionPoint* p) { p->Release(); }
    static void AddRefItem(CONNECTDATA& c) { c.pUnk->AddRef(); }
    static void ReleaseItem(CONNECTDATA& c) { c.pUnk->Release(); }

    LONG refs_ = 1;
    std::vector<Item> items_;
    size_t next_ = 0;
};

using PointEnumerator =
    Enumerator<IEnumConnectionPoints, IConnectionPoint*, IID_IEnumConnectionPoints>;
using ConnectionEnumerator = Enumerator<IEnumConnections, CONNECTDATA, IID_IEnumConnections>;

}  // namespace

HotKey::HotKey() {
    AddModuleRef();
}

HotKey::~HotKey() {
    {
        std::lock_guard<std::mutex> lock(gLiveLock);
        gLive.erase(this);
    }
    RemoveAllHotKeys();
    if (subclassed_ && UnSubclass(hwnd_)) subclassed_ = false;
    if (hwnd_) ::DestroyWindow(hwnd_);
    for (Sink& sink : sinks_) sink.dispatch->Release();
    ReleaseModuleRef();
}

HRESULT HotKey::Init() {
    hwnd_ = CreateSubclassForm(this);
    if (!hwnd_) return HRESULT_FROM_WIN32(::GetLastError());
    std::lock_guard<std::mutex> lock(gLiveLock);
    gLive.insert(this);
    return S_OK;
}

HRESULT HotKey::Create(REFIID riid, void** ppv) {
    *ppv = nullptr;
    HotKey* object = new (std::nothrow) HotKey();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->Init();
    if (SUCCEEDED(hr)) hr = object->QueryInterface(riid, ppv);
    object->Release();  // the caller's reference, if any, is the only one left
    return hr;
}

STDMETHODIMP HotKey::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID__HotKey)
        *ppv = static_cast<_HotKey*>(this);
    else if (riid == IID_ISupportErrorInfo)
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo)
        *ppv = static_cast<IProvideClassInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HotKey::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) HotKey::Release() {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP HotKey::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP HotKey::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* type = TypeInfoOf(IID__HotKey);
    if (!type) return TYPE_E_ELEMENTNOTFOUND;
    type->AddRef();
    *info = type;
    return S_OK;
}

STDMETHODIMP HotKey::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    ITypeInfo* type = TypeInfoOf(IID__HotKey);
    if (!type) return TYPE_E_ELEMENTNOTFOUND;
    return ::DispGetIDsOfNames(type, names, count, ids);
}

STDMETHODIMP HotKey::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* excep, UINT* argError) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id == kDispRemoveHotKey && (flags & DISPATCH_METHOD))
        return InvokeRemoveHotKey(params, excep, argError);
    ITypeInfo* type = TypeInfoOf(IID__HotKey);
    if (!type) return TYPE_E_ELEMENTNOTFOUND;
    return ::DispInvoke(static_cast<_HotKey*>(this), type, id, flags, params, result, excep,
                        argError);
}

// Script hosts pass a variable by reference as a variant, which the type
// library's own dispatch refuses for a "long*"; the id is read, never written.
HRESULT HotKey::InvokeRemoveHotKey(DISPPARAMS* params, EXCEPINFO* excep, UINT* argError) {
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    VARIANT value;
    ::VariantInit(&value);
    const HRESULT converted = ::VariantChangeType(&value, &params->rgvarg[0], 0, VT_I4);
    if (FAILED(converted)) {
        if (argError) *argError = 0;
        return converted == DISP_E_OVERFLOW ? converted : DISP_E_TYPEMISMATCH;
    }
    LONG target = value.lVal;
    const HRESULT hr = RemoveHotKey(&target);
    if (SUCCEEDED(hr)) return hr;
    if (excep) {
        *excep = EXCEPINFO{};
        excep->scode = hr;
        IErrorInfo* info = nullptr;
        if (::GetErrorInfo(0, &info) == S_OK && info) {
            info->GetSource(&excep->bstrSource);
            info->GetDescription(&excep->bstrDescription);
            info->Release();
        }
    }
    return DISP_E_EXCEPTION;
}

STDMETHODIMP HotKey::get_KeyCode(LONG* value) {
    if (!value) return E_POINTER;
    *value = keyCode_;
    return Succeed();
}

STDMETHODIMP HotKey::put_KeyCode(LONG value) {
    keyCode_ = value;
    return Succeed();
}

STDMETHODIMP HotKey::get_Modifiers(LONG* value) {
    if (!value) return E_POINTER;
    *value = modifiers_;
    return Succeed();
}

STDMETHODIMP HotKey::put_Modifiers(LONG value) {
    constexpr LONG kKnown = kModAlt | kModControl | kModShift | kModWin;
    if (value != 0 && (value & kKnown) == 0)
        return Fail(kInvalidPropertyValue, L"Invalid property value");
    modifiers_ = value;
    return Succeed();
}

// Every listed id goes once to the system; an atom reference is given back
// only while this object still holds it, so another program's atom of the
// same text survives.
void HotKey::ReleaseAtomOf(LONG id) {
    for (auto it = ids_.rbegin(); it != ids_.rend(); ++it) {
        if (it->id == id && it->holdsAtom) {
            ::GlobalDeleteAtom(static_cast<ATOM>(static_cast<SHORT>(id)));
            it->holdsAtom = false;
            return;
        }
    }
}

STDMETHODIMP HotKey::RemoveAllHotKeys() {
    for (Issued& issued : ids_) {
        ::UnregisterHotKey(hwnd_, issued.id);
        if (issued.holdsAtom) {
            ::GlobalDeleteAtom(static_cast<ATOM>(static_cast<SHORT>(issued.id)));
            issued.holdsAtom = false;
        }
    }
    return Succeed();
}

STDMETHODIMP HotKey::SetHotKey(LONG hotKeyId, LONG* id) {
    if (!id) return E_POINTER;
    const std::string name = KeyName(keyCode_, modifiers_, IsWindowsNT());
    if (name == kUnsupported)
        return Fail(kErrKeyCodeNotValid, L"KeyCode or Keycode combination is not supported");
    if (name == kReserved)
        return Fail(kErrReservedKey, L"Keycode or Keycode combination is reserved by Windows");
    const std::string text = ModifierText(modifiers_) + name;

    bool added = false;
    bool known = false;
    for (const Issued& issued : ids_) known = known || issued.id == hotKeyId;
    if (known) {
        id_ = hotKeyId;
    } else {
        if (idCount_ == LONG_MAX) return Fail(kOverflow, L"Overflow");
        const ATOM atom = ::GlobalAddAtomA(text.c_str());
        id_ = static_cast<LONG>(static_cast<SHORT>(atom));
        ++idCount_;
        ids_.push_back({id_, atom != 0});
        added = atom != 0;
    }

    if (id_ != 0 &&
        !::RegisterHotKey(hwnd_, id_, static_cast<UINT>(modifiers_), static_cast<UINT>(keyCode_))) {
        if (added) ReleaseAtomOf(id_);
        return Fail(kErrHotKeyInUse,
                    Widen(text) + L" is already in use by Windows or another program");
    }

    if (!subclassed_) {
        subclassed_ = Subclass(hwnd_);
        if (!subclassed_) {
            RemoveAllHotKeys();
            return Fail(kErrSubclassFailure, L"Unable to initialize subclass");
        }
    }
    *id = id_;
    return Succeed();
}

STDMETHODIMP HotKey::RemoveHotKey(LONG* id) {
    if (!id) return E_POINTER;
    ::UnregisterHotKey(hwnd_, *id);
    if (*id < SHRT_MIN || *id > SHRT_MAX) return Fail(kOverflow, L"Overflow");
    ReleaseAtomOf(*id);
    return Succeed();
}

STDMETHODIMP HotKey::InterfaceSupportsErrorInfo(REFIID riid) {
    return riid == IID__HotKey ? S_OK : S_FALSE;
}

STDMETHODIMP HotKey::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    if (!ppEnum) return E_POINTER;
    *ppEnum = new (std::nothrow) PointEnumerator({&events_});
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HotKey::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID___HotKey) return CONNECT_E_NOCONNECTION;
    *ppCP = &events_;
    events_.AddRef();
    return S_OK;
}

STDMETHODIMP HotKey::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = TypeInfoOf(CLSID_HotKey);
    if (!*info) return TYPE_E_ELEMENTNOTFOUND;
    (*info)->AddRef();
    return S_OK;
}

void HotKey::RaiseHotKeyPress(HotKey* object, LONG id) {
    {
        std::lock_guard<std::mutex> lock(gLiveLock);
        if (!gLive.count(object)) return;
    }
    // A handler may release the object or unadvise itself while it runs.
    object->AddRef();
    std::vector<IDispatch*> targets;
    for (const Sink& sink : object->sinks_) {
        sink.dispatch->AddRef();
        targets.push_back(sink.dispatch);
    }
    for (IDispatch* target : targets) {
        VARIANTARG arg;
        ::VariantInit(&arg);
        arg.vt = VT_I4;
        arg.lVal = id;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        target->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                       nullptr);
        target->Release();
    }
    object->Release();
}

STDMETHODIMP HotKey::EventPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP HotKey::EventPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID___HotKey;
    return S_OK;
}

STDMETHODIMP HotKey::EventPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (!ppCPC) return E_POINTER;
    *ppCPC = &owner_;
    owner_.AddRef();
    return S_OK;
}

STDMETHODIMP HotKey::EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(DIID___HotKey, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = owner_.nextCookie_++;
    owner_.sinks_.push_back({*cookie, dispatch});
    return S_OK;
}

STDMETHODIMP HotKey::EventPoint::Unadvise(DWORD cookie) {
    for (auto it = owner_.sinks_.begin(); it != owner_.sinks_.end(); ++it) {
        if (it->cookie == cookie) {
            IDispatch* dispatch = it->dispatch;
            owner_.sinks_.erase(it);
            dispatch->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP HotKey::EventPoint::EnumConnections(IEnumConnections** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<CONNECTDATA> connections;
    for (const Sink& sink : owner_.sinks_) connections.push_back({sink.dispatch, sink.cookie});
    *ppEnum = new (std::nothrow) ConnectionEnumerator(std::move(connections));
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

}  // namespace tarnkey
