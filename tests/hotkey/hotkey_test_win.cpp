// A C++ client of the HotKey component, bound through the generated header:
// created by class and interface id, its atoms, its events and its clients'
// mistakes.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Tarnkey_h.h"
#include "support/hotkey_sink_win.h"
#include "support/wine_path_win.h"

namespace {

using Sink = tarnkey::testing::PressSink;
using tarnkey::testing::HiddenWindows;

using Entry = HRESULT(STDAPICALLTYPE*)();
Entry Export(HMODULE library, const char* name) {
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// A client object that is no proper sink: it may lack the dispatch interface,
// and it may throw where COM forbids it, as a careless client might.
class Misfit final : public IDispatch {
  public:
    LONG refs = 1;
    int presses = 0;
    bool isDispatch = false;
    std::function<void()> onQuery;  // before answering for anything but IUnknown
    std::function<void()> onInvoke;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown && onQuery) onQuery();
        *ppv = riid == IID_IUnknown || (isDispatch && riid == IID_IDispatch) ? this : nullptr;
        if (*ppv) AddRef();
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        ++presses;
        if (onInvoke) onInvoke();
        return S_OK;
    }
};

class HotKeyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        library_ = ::LoadLibraryW(quillet::testing::WinePath(TARNKEY_DLL_PATH).c_str());
        ASSERT_TRUE(library_) << "cannot load the built library";
        ASSERT_EQ(Export(library_, "DllRegisterServer")(), S_OK);
    }
    static void TearDownTestSuite() {
        EXPECT_EQ(Export(library_, "DllUnregisterServer")(), S_OK);
        ::CoUninitialize();
    }

    // A new object, and the hidden window it made.
    static _HotKey* Create(HWND* hidden = nullptr) {
        const std::set<HWND> before = hidden ? HiddenWindows() : std::set<HWND>{};
        _HotKey* key = nullptr;
        EXPECT_EQ(::CoCreateInstance(CLSID_HotKey, nullptr, CLSCTX_INPROC_SERVER, IID__HotKey,
                                     reinterpret_cast<void**>(&key)),
                  S_OK);
        for (HWND w : hidden ? HiddenWindows() : before)
            if (!before.count(w)) *hidden = w;
        return key;
    }
    static DWORD Advise(_HotKey* key, Sink& sink) {
        const DWORD cookie = tarnkey::testing::Connect(key, &sink);
        EXPECT_NE(cookie, 0u);
        return cookie;
    }
    static LONG Set(_HotKey* key, LONG code, LONG mods, HRESULT* hr = nullptr) {
        key->put_KeyCode(code);
        key->put_Modifiers(mods);
        LONG id = 0;
        const HRESULT r = key->SetHotKey(0, &id);
        if (hr) *hr = r;
        return id;
    }
    static void Press(HWND hidden, LONG id) {
        ::SendMessageW(hidden, WM_HOTKEY, static_cast<WPARAM>(static_cast<DWORD>(id)), 0);
    }

    static HMODULE library_;
};
HMODULE HotKeyTest::library_ = nullptr;

// The scripted clients check the error texts; here, what the system holds:
// the atom of the combination's text and the combination itself, each given
// back once, never another holder's reference; a removed id is reused.
TEST_F(HotKeyTest, RegistersUnderTheTextAtomUntilRemovedOrReleased) {
    _HotKey* key = Create();
    HRESULT hr = E_FAIL;
    LONG id = Set(key, 112, 3, &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_LT(id, 0);
    EXPECT_GE(id, -16384);
    EXPECT_EQ(static_cast<ATOM>(static_cast<SHORT>(id)), ::GlobalFindAtomA("CTRL+ALT+F1"));
    EXPECT_EQ(Set(key, 112, 3, &hr), 0);
    EXPECT_EQ(hr, static_cast<HRESULT>(0x800403E9));
    EXPECT_EQ(key->RemoveHotKey(&id), S_OK);
    EXPECT_EQ(::GlobalFindAtomA("CTRL+ALT+F1"), 0) << "the refused one gave its reference back";
    // The removed id goes to the next combination asked for under it; the
    // freed atom is taken meanwhile, so a new atom would not happen to match.
    const ATOM filler = ::GlobalAddAtomA("QUILLET TEST FILLER");
    key->put_KeyCode('W');
    LONG reused = 0, fresh = 0;
    EXPECT_EQ(key->SetHotKey(id, &reused), S_OK);
    EXPECT_EQ(reused, id);
    ::GlobalDeleteAtom(filler);
    key->put_KeyCode('E');
    EXPECT_EQ(key->SetHotKey(12345, &fresh), S_OK);  // never issued: a new id
    EXPECT_NE(fresh, 12345);

    const ATOM mine = ::GlobalAddAtomA("CTRL+ALT+F2");
    LONG held = Set(key, 113, 3);
    ASSERT_NE(held, 0);
    EXPECT_EQ(key->RemoveHotKey(&held), S_OK);
    EXPECT_EQ(key->RemoveHotKey(&held), S_OK);  // a second remove must not take my reference
    EXPECT_EQ(key->RemoveAllHotKeys(), S_OK);
    ASSERT_NE(Set(key, 114, 3), 0);
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
    EXPECT_FALSE(::RegisterHotKey(probe, 1, 3, 114));
    key->Release();
    EXPECT_EQ(::GlobalFindAtomA("CTRL+ALT+F3"), 0);
    EXPECT_EQ(::GlobalFindAtomA("CTRL+ALT+F2"), mine);
    ::GlobalDeleteAtom(mine);
    EXPECT_EQ(::GlobalFindAtomA("CTRL+ALT+F2"), 0);
    EXPECT_TRUE(::RegisterHotKey(probe, 1, 3, 114)) << "the combination is free again";
    ::UnregisterHotKey(probe, 1);
    ::DestroyWindow(probe);
}

TEST_F(HotKeyTest, PressesReachOnlyTheirOwnObjectAsSignedIds) {
    HWND first = nullptr, second = nullptr;
    _HotKey* a = Create(&first);
    _HotKey* b = Create(&second);
    ASSERT_TRUE(first && second && first != second);
    Sink sinkA, sinkB;
    Advise(a, sinkA);
    Advise(b, sinkB);
    const LONG idA = Set(a, 'A', 3), idB = Set(b, 'B', 3);
    Press(first, idA);
    Press(first, static_cast<LONG>(0xFFFFC123u));
    Press(second, idB);
    EXPECT_EQ(sinkA.presses, (std::vector<LONG>{idA, -16093}));
    EXPECT_EQ(sinkB.presses, (std::vector<LONG>{idB}));
    // Other messages still reach the window's own procedure.
    EXPECT_EQ(::SendMessageW(first, WM_GETTEXTLENGTH, 0, 0), 5);  // "Form1"
    a->Release();
    b->Release();
    EXPECT_EQ(sinkA.refs, 1);  // the released object let go of its sink
}

TEST_F(HotKeyTest, ConnectionPointsAndConnectionsCanBeListed) {
    _HotKey* key = Create();
    Sink first, second;
    Advise(key, first);
    Advise(key, second);
    IConnectionPointContainer* container = nullptr;
    key->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    IEnumConnectionPoints* points = nullptr;
    ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
    IConnectionPoint* point = nullptr;
    ULONG got = 0;
    ASSERT_EQ(points->Next(1, &point, &got), S_OK);
    IID iid{};
    point->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, DIID___HotKey);
    EXPECT_EQ(points->Next(1, &point, &got), S_FALSE);  // only the one
    IEnumConnections* connections = nullptr;
    ASSERT_EQ(point->EnumConnections(&connections), S_OK);
    CONNECTDATA data[3] = {};
    EXPECT_EQ(connections->Next(3, data, &got), S_FALSE);
    EXPECT_EQ(got, 2u);
    for (ULONG i = 0; i < got; ++i) data[i].pUnk->Release();
    for (IUnknown* done : {static_cast<IUnknown*>(connections), static_cast<IUnknown*>(point),
                           static_cast<IUnknown*>(points), static_cast<IUnknown*>(container)})
        done->Release();
    key->Release();
    EXPECT_EQ(first.refs, 1);
    EXPECT_EQ(second.refs, 1);
}

// Misfits are refused and nothing of them kept; a handler that throws stops
// at the hidden window, and the object goes on delivering to one that behaves.
TEST_F(HotKeyTest, MisfitsAndThrowingHandlersAreContained) {
    HWND hidden = nullptr;
    _HotKey* key = Create(&hidden);
    IConnectionPoint* point = tarnkey::testing::EventPointOf(key);
    ASSERT_TRUE(point);
    Misfit plain, exhausted, broken;
    exhausted.onQuery = [] { throw std::bad_alloc(); };
    broken.onQuery = [] { throw std::runtime_error("broken sink"); };
    const std::pair<Misfit*, HRESULT> refused[] = {
        {&plain, CONNECT_E_CANNOTCONNECT}, {&exhausted, E_OUTOFMEMORY}, {&broken, E_UNEXPECTED}};
    for (const auto& [sink, hr] : refused) {
        DWORD cookie = 99;
        EXPECT_EQ(point->Advise(sink, &cookie), hr);
        EXPECT_EQ(cookie, 0u);
        EXPECT_EQ(sink->refs, 1);
    }
    IEnumConnections* connections = nullptr;
    ASSERT_EQ(point->EnumConnections(&connections), S_OK);
    CONNECTDATA data{};
    ULONG got = 99;
    EXPECT_EQ(connections->Next(1, &data, &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    connections->Release();

    Misfit thrower;  // without the event interface's own IID, IDispatch is enough
    thrower.isDispatch = true;
    thrower.onInvoke = [] { throw std::runtime_error("handler failed"); };
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&thrower, &cookie), S_OK);
    const LONG id = Set(key, 'T', 3);
    ASSERT_NE(id, 0);
    LRESULT result = -1;
    EXPECT_NO_THROW(
        result = ::SendMessageW(hidden, WM_HOTKEY, static_cast<WPARAM>(static_cast<DWORD>(id)), 0));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(thrower.presses, 1);
    EXPECT_EQ(thrower.refs, 2);  // the connection's; the delivery gave its own back
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(thrower.refs, 1);
    Sink steady;
    Advise(key, steady);
    Press(hidden, id);
    EXPECT_EQ(steady.presses, (std::vector<LONG>{id}));
    point->Release();
    EXPECT_EQ(key->Release(), 0u);
    EXPECT_EQ(steady.refs, 1);
}

TEST_F(HotKeyTest, ManyLifetimesLeaveNothingBehind) {
    for (int i = 0; i < 1000; ++i) {
        _HotKey* key = Create();
        ASSERT_TRUE(key);
        Sink sink;
        ASSERT_TRUE(tarnkey::testing::Disconnect(key, Advise(key, sink)));
        ASSERT_EQ(key->Release(), 0u);
        ASSERT_EQ(sink.refs, 1);
    }
    EXPECT_TRUE(HiddenWindows().empty());
    EXPECT_EQ(Export(library_, "DllCanUnloadNow")(), S_OK);
}

}  // namespace
