// The HotKey object: its members, its errors, and the connection point for HotKeyPress.
#include "HotKey_win.h"

#include <olectl.h>

#include <algorithm>
#include <climits>
#include <new>
#include <set>
#include <string>

#include "base/strings_win.h"
#include "keynames.h"
#include "mSubclass_win.h"
#include "module_win.h"

namespace tarnkey {

using quillet::ComPtr;

namespace {

constexpr HRESULT kErrHotKeyInUse = static_cast<HRESULT>(0x800403E9);
constexpr HRESULT kErrKeyCodeNotValid = static_cast<HRESULT>(0x800403EA);
constexpr HRESULT kErrSubclassFailure = static_cast<HRESULT>(0x800403EB);
constexpr HRESULT kErrReservedKey = static_cast<HRESULT>(0x800403EC);
// The automation errors 380 (invalid property value) and 6 (overflow).
constexpr HRESULT kInvalidPropertyValue = static_cast<HRESULT>(0x800A017C);
constexpr HRESULT kOverflow = static_cast<HRESULT>(0x800A0006);
constexpr DISPID kDispRemoveHotKey = 0x60030008;

// Objects alive now: a press is delivered only to one of them. An SRW lock
// cannot fail, so the destructor, which takes it, cannot throw.
SRWLOCK gLiveLock = SRWLOCK_INIT;
std::set<HotKey*> gLive;

class LiveLock {
  public:
    LiveLock() { ::AcquireSRWLockExclusive(&gLiveLock); }
    ~LiveLock() { ::ReleaseSRWLockExclusive(&gLiveLock); }
    LiveLock(const LiveLock&) = delete;
    LiveLock& operator=(const LiveLock&) = delete;
};

// Raises an automation error with only a number and a description.
HRESULT Fail(HRESULT hr, const std::wstring& description) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
        create->SetGUID(IID__HotKey);
        create->SetSource(const_cast<LPOLESTR>(L"Tarnkey.HotKey"));
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(IID_IErrorInfo, info))) ::SetErrorInfo(0, info.get());
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

// A listed connection as the connection enumerator holds it.
struct Connection {
    ComPtr<IDispatch> sink;
    DWORD cookie;
};

// What Next hands out: a held item with a reference of the caller's own.
IConnectionPoint* Lend(const ComPtr<IConnectionPoint>& point) {
    return ComPtr<IConnectionPoint>(point).detach();
}
CONNECTDATA Lend(const Connection& connection) {
    return {ComPtr<IDispatch>(connection.sink).detach(), connection.cookie};
}

// A snapshot enumerator of COM items (connection points or connections):
// the standard Next/Skip/Reset/Clone over a vector it owns.
template <typename Enum, typename Item, typename Held, const IID& kIid>
class Enumerator final : public quillet::RefCounted<Enum> {
  public:
    explicit Enumerator(std::vector<Held> items) : items_(std::move(items)) { AddModuleRef(); }
    ~Enumerator() override { ReleaseModuleRef(); }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const quillet::InterfaceRow rows[] = {quillet::RowOf<Enum>(kIid, this)};
        return quillet::QueryInterfaceTable(this, rows, riid, ppv);
    }
    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        return Guarded([&] {
            if (!out || (count > 1 && !fetched)) return E_POINTER;
            ULONG n = 0;
            for (; n < count && next_ < items_.size(); ++n, ++next_) out[n] = Lend(items_[next_]);
            if (fetched) *fetched = n;
            return n == count ? S_OK : S_FALSE;
        });
    }
    STDMETHODIMP Skip(ULONG count) override {
        return Guarded([&] {
            next_ = std::min<size_t>(items_.size(), next_ + count);
            return next_ < items_.size() ? S_OK : S_FALSE;
        });
    }
    STDMETHODIMP Reset() override {
        return Guarded([&] {
            next_ = 0;
            return S_OK;
        });
    }
    STDMETHODIMP Clone(Enum** copy) override {
        return Guarded([&] {
            if (!copy) return E_POINTER;
            auto clone = ComPtr<Enumerator>::Adopt(new (std::nothrow) Enumerator(items_));
            if (!clone) return E_OUTOFMEMORY;
            clone->next_ = next_;
            *copy = clone.detach();
            return S_OK;
        });
    }

  private:
    std::vector<Held> items_;
    size_t next_ = 0;
};

using PointEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*,
                                   ComPtr<IConnectionPoint>, IID_IEnumConnectionPoints>;
using ConnectionEnumerator =
    Enumerator<IEnumConnections, CONNECTDATA, Connection, IID_IEnumConnections>;

}  // namespace

HotKey::HotKey() {
    AddModuleRef();
}

HotKey::~HotKey() {
    {
        LiveLock lock;
        gLive.erase(this);
    }
    RemoveAllHotKeys();
    if (subclassed_ && UnSubclass(hwnd_)) subclassed_ = false;
    if (hwnd_) ::DestroyWindow(hwnd_);
    sinks_.clear();  // while the module still counts this object
    ReleaseModuleRef();
}

HRESULT HotKey::Init() {
    hwnd_ = CreateSubclassForm(this);
    if (!hwnd_) return HRESULT_FROM_WIN32(::GetLastError());
    LiveLock lock;
    gLive.insert(this);
    return S_OK;
}

HRESULT HotKey::Create(REFIID riid, void** ppv) {
    *ppv = nullptr;
    const auto object = ComPtr<HotKey>::Adopt(new (std::nothrow) HotKey());
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->Init();
    // On success the caller's reference is the only one left.
    return SUCCEEDED(hr) ? object->QueryInterface(riid, ppv) : hr;
}

STDMETHODIMP HotKey::QueryInterface(REFIID riid, void** ppv) noexcept {
    static const quillet::InterfaceRow rows[] = {
        quillet::RowOf<_HotKey>(IID__HotKey, this),
        quillet::RowOf<_HotKey>(IID_IDispatch, this),
        quillet::RowOf<ISupportErrorInfo>(IID_ISupportErrorInfo, this),
        quillet::RowOf<IConnectionPointContainer>(IID_IConnectionPointContainer, this),
        quillet::RowOf<IProvideClassInfo>(IID_IProvideClassInfo, this),
    };
    return quillet::QueryInterfaceTable(this, rows, riid, ppv);
}

STDMETHODIMP HotKey::GetTypeInfoCount(UINT* count) {
    return Guarded([&] {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    });
}

STDMETHODIMP HotKey::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return Guarded([&] {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        ComPtr<ITypeInfo> type = TypeInfoOf(IID__HotKey);
        if (!type) return TYPE_E_ELEMENTNOTFOUND;
        *info = type.detach();
        return S_OK;
    });
}

STDMETHODIMP HotKey::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return Guarded([&] {
        const ComPtr<ITypeInfo> type = TypeInfoOf(IID__HotKey);
        if (!type) return TYPE_E_ELEMENTNOTFOUND;
        return ::DispGetIDsOfNames(type.get(), names, count, ids);
    });
}

STDMETHODIMP HotKey::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* excep, UINT* argError) {
    return Guarded([&] {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (id == kDispRemoveHotKey && (flags & DISPATCH_METHOD))
            return InvokeRemoveHotKey(params, excep, argError);
        const ComPtr<ITypeInfo> type = TypeInfoOf(IID__HotKey);
        if (!type) return TYPE_E_ELEMENTNOTFOUND;
        return ::DispInvoke(static_cast<_HotKey*>(this), type.get(), id, flags, params, result,
                            excep, argError);
    });
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
        ComPtr<IErrorInfo> info;
        if (::GetErrorInfo(0, info.put()) == S_OK && info) {
            info->GetSource(&excep->bstrSource);
            info->GetDescription(&excep->bstrDescription);
        }
    }
    return DISP_E_EXCEPTION;
}

STDMETHODIMP HotKey::get_KeyCode(LONG* value) {
    return Guarded([&] {
        if (!value) return E_POINTER;
        *value = keyCode_;
        return Succeed();
    });
}

STDMETHODIMP HotKey::put_KeyCode(LONG value) {
    return Guarded([&] {
        keyCode_ = value;
        return Succeed();
    });
}

STDMETHODIMP HotKey::get_Modifiers(LONG* value) {
    return Guarded([&] {
        if (!value) return E_POINTER;
        *value = modifiers_;
        return Succeed();
    });
}

STDMETHODIMP HotKey::put_Modifiers(LONG value) {
    return Guarded([&] {
        constexpr LONG kKnown = kModAlt | kModControl | kModShift | kModWin;
        if (value != 0 && (value & kKnown) == 0)
            return Fail(kInvalidPropertyValue, L"Invalid property value");
        modifiers_ = value;
        return Succeed();
    });
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
    return Guarded([&] {
        for (Issued& issued : ids_) {
            ::UnregisterHotKey(hwnd_, issued.id);
            if (issued.holdsAtom) {
                ::GlobalDeleteAtom(static_cast<ATOM>(static_cast<SHORT>(issued.id)));
                issued.holdsAtom = false;
            }
        }
        return Succeed();
    });
}

STDMETHODIMP HotKey::SetHotKey(LONG hotKeyId, LONG* id) {
    return Guarded([&] {
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
            ids_.reserve(ids_.size() + 1);  // so that no atom is taken and then not listed
            const ATOM atom = ::GlobalAddAtomA(text.c_str());
            id_ = static_cast<LONG>(static_cast<SHORT>(atom));
            ++idCount_;
            ids_.push_back({id_, atom != 0});
            added = atom != 0;
        }

        if (id_ != 0 && !::RegisterHotKey(hwnd_, id_, static_cast<UINT>(modifiers_),
                                          static_cast<UINT>(keyCode_))) {
            if (added) ReleaseAtomOf(id_);
            return Fail(kErrHotKeyInUse,
                        quillet::Widen(text) + L" is already in use by Windows or another program");
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
    });
}

STDMETHODIMP HotKey::RemoveHotKey(LONG* id) {
    return Guarded([&] {
        if (!id) return E_POINTER;
        ::UnregisterHotKey(hwnd_, *id);
        if (*id < SHRT_MIN || *id > SHRT_MAX) return Fail(kOverflow, L"Overflow");
        ReleaseAtomOf(*id);
        return Succeed();
    });
}

STDMETHODIMP HotKey::InterfaceSupportsErrorInfo(REFIID riid) {
    return Guarded([&] { return riid == IID__HotKey ? S_OK : S_FALSE; });
}

STDMETHODIMP HotKey::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return Guarded([&] {
        if (!ppEnum) return E_POINTER;
        *ppEnum = new (std::nothrow) PointEnumerator({ComPtr<IConnectionPoint>::Retain(&events_)});
        return *ppEnum ? S_OK : E_OUTOFMEMORY;
    });
}

STDMETHODIMP HotKey::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return Guarded([&] {
        if (!ppCP) return E_POINTER;
        *ppCP = nullptr;
        if (riid != DIID___HotKey) return CONNECT_E_NOCONNECTION;
        *ppCP = ComPtr<IConnectionPoint>::Retain(&events_).detach();
        return S_OK;
    });
}

STDMETHODIMP HotKey::GetClassInfo(ITypeInfo** info) {
    return Guarded([&] {
        if (!info) return E_POINTER;
        *info = TypeInfoOf(CLSID_HotKey).detach();
        return *info ? S_OK : TYPE_E_ELEMENTNOTFOUND;
    });
}

void HotKey::RaiseHotKeyPress(HotKey* object, LONG id) {
    {
        LiveLock lock;
        if (!gLive.count(object)) return;
    }
    // A handler may release the object or unadvise itself while it runs.
    const auto keepAlive = ComPtr<HotKey>::Retain(object);
    const std::vector<ComPtr<IDispatch>> targets = [&] {
        std::vector<ComPtr<IDispatch>> all;
        for (const Sink& sink : object->sinks_) all.push_back(sink.dispatch);
        return all;
    }();
    for (const ComPtr<IDispatch>& target : targets) {
        VARIANTARG arg;
        ::VariantInit(&arg);
        arg.vt = VT_I4;
        arg.lVal = id;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        target->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                       nullptr);
    }
}

STDMETHODIMP HotKey::EventPoint::QueryInterface(REFIID riid, void** ppv) noexcept {
    static const quillet::InterfaceRow rows[] = {
        quillet::RowOf<IConnectionPoint>(IID_IConnectionPoint, this)};
    return quillet::QueryInterfaceTable(this, rows, riid, ppv);
}

STDMETHODIMP HotKey::EventPoint::GetConnectionInterface(IID* iid) {
    return Guarded([&] {
        if (!iid) return E_POINTER;
        *iid = DIID___HotKey;
        return S_OK;
    });
}

STDMETHODIMP HotKey::EventPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    return Guarded([&] {
        if (!ppCPC) return E_POINTER;
        *ppCPC = ComPtr<IConnectionPointContainer>::Retain(&owner_).detach();
        return S_OK;
    });
}

STDMETHODIMP HotKey::EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    return Guarded([&] {
        if (!sink || !cookie) return E_POINTER;
        *cookie = 0;
        ComPtr<IDispatch> dispatch;
        if (FAILED(sink->QueryInterface(DIID___HotKey, dispatch.putVoid())) &&
            FAILED(sink->QueryInterface(IID_IDispatch, dispatch.putVoid())))
            return CONNECT_E_CANNOTCONNECT;
        owner_.sinks_.push_back({owner_.nextCookie_, std::move(dispatch)});
        *cookie = owner_.nextCookie_++;
        return S_OK;
    });
}

STDMETHODIMP HotKey::EventPoint::Unadvise(DWORD cookie) {
    return Guarded([&] {
        for (auto it = owner_.sinks_.begin(); it != owner_.sinks_.end(); ++it) {
            if (it->cookie == cookie) {
                // Released once the list is whole again: the sink may call back.
                const ComPtr<IDispatch> gone = std::move(it->dispatch);
                owner_.sinks_.erase(it);
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    });
}

STDMETHODIMP HotKey::EventPoint::EnumConnections(IEnumConnections** ppEnum) {
    return Guarded([&] {
        if (!ppEnum) return E_POINTER;
        std::vector<Connection> connections;
        for (const Sink& sink : owner_.sinks_) connections.push_back({sink.dispatch, sink.cookie});
        *ppEnum = new (std::nothrow) ConnectionEnumerator(std::move(connections));
        return *ppEnum ? S_OK : E_OUTOFMEMORY;
    });
}

}  // namespace tarnkey
