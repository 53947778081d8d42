// The program's client of the real Tarnkey library: made through the
// registry or from the library's folder, presses reaching the bindings, and
// every combination free again once the client is gone.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "background/hotkey_client_win.h"
#include "background/hotkeys.h"
#include "support/hotkey_sink_win.h"
#include "support/wine_path_win.h"

namespace quillet {
namespace {

std::wstring BuiltLibrary() {
    return quillet::testing::WinePath(TARNKEY_DLL_PATH);
}

const wchar_t kNoSuchFolder[] = L"C:\\quillet-no-such-folder";

// Runs one of the library's registration exports.
HRESULT CallExport(const char* name) {
    HMODULE library = ::LoadLibraryW(BuiltLibrary().c_str());
    if (!library) return E_FAIL;
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(library, name)));
    const HRESULT hr = fn ? fn() : E_FAIL;
    ::FreeLibrary(library);
    return hr;
}

using tarnkey::testing::HiddenWindows;
using tarnkey::testing::Pump;

class HotkeyClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        CallExport("DllUnregisterServer");
        ::CoUninitialize();
    }

    std::unique_ptr<HotkeyClient> Make(const std::wstring& folder) {
        return HotkeyClient::Create([this](int32_t id) { presses.push_back(id); }, folder);
    }

    // Sets up the twenty bindings, presses Ctrl+Alt+F3 and Ctrl+Alt+0 by
    // their messages and checks that they arrive; what they do is the core
    // tests' part.
    void PressThroughTheComponent(HotkeyClient& client) {
        ActiveKeyboardLayout layout;
        HotkeyBindings bindings;
        bindings.SetUp(&client, layout);
        // The virtual display has a US layout: all twenty are free.
        EXPECT_TRUE(bindings.Missing().empty())
            << std::string(bindings.MissingMessage().begin(), bindings.MissingMessage().end());

        const std::set<HWND> hidden = HiddenWindows();
        ASSERT_EQ(hidden.size(), 1u);
        const int32_t f3 = bindings.HotkeyIDs()[2];
        const int32_t zero = bindings.HotkeyIDs()[19];
        for (int32_t id : {f3, zero})
            ::PostMessageW(*hidden.begin(), WM_HOTKEY,
                           static_cast<WPARAM>(static_cast<uint32_t>(id)),
                           MAKELPARAM(MOD_CONTROL | MOD_ALT, 0));
        Pump();
        EXPECT_EQ(presses, (std::vector<int32_t>{f3, zero}));
    }

    std::vector<int32_t> presses;
};

// Presses reach the bindings through the registered class; the real
// program's test presses real keys through the library beside it.
TEST_F(HotkeyClientTest, IsMadeThroughTheRegistryWhenTheLibraryIsRegistered) {
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    auto client = Make(kNoSuchFolder);
    ASSERT_TRUE(client);
    EXPECT_EQ(client->source(), HotkeyClient::Source::Registry);
    PressThroughTheComponent(*client);
    client.reset();
    EXPECT_TRUE(HiddenWindows().empty());
}

// Without the registration the library's folder serves, and without either
// nothing is made.
TEST_F(HotkeyClientTest, IsMadeFromTheLibraryFolderWhenTheClassIsNotRegistered) {
    ASSERT_EQ(CallExport("DllUnregisterServer"), S_OK);
    IUnknown* direct = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_HotKey, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&direct)),
              REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(Make(kNoSuchFolder));
    EXPECT_FALSE(Make(L""));
    EXPECT_TRUE(HiddenWindows().empty());

    const std::wstring library = BuiltLibrary();
    auto client = Make(library.substr(0, library.find_last_of(L'\\')));
    ASSERT_TRUE(client);
    EXPECT_EQ(client->source(), HotkeyClient::Source::LibraryFolder);
    // The library stays loaded while its object lives, and goes with it.
    EXPECT_TRUE(::GetModuleHandleW(L"Tarnkey.dll"));
    client.reset();
    EXPECT_FALSE(::GetModuleHandleW(L"Tarnkey.dll"));
}

TEST_F(HotkeyClientTest, ACombinationHeldElsewhereIsReportedAndTheRestStillWork) {
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    ASSERT_TRUE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F2));
    auto client = Make(kNoSuchFolder);
    ASSERT_TRUE(client);
    ActiveKeyboardLayout layout;
    HotkeyBindings bindings;
    bindings.SetUp(client.get(), layout);
    ::UnregisterHotKey(nullptr, 7);

    EXPECT_EQ(bindings.HotkeyIDs()[1], 0);
    EXPECT_EQ(bindings.Missing().size(), 1u);
    // The refusal leaves no error description behind for the thread.
    IErrorInfo* stale = nullptr;
    EXPECT_EQ(::GetErrorInfo(0, &stale), S_FALSE);
    if (stale) stale->Release();
}

TEST_F(HotkeyClientTest, AHandlerThatThrowsDoesNotEndThePressHandling) {
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    int calls = 0;
    auto client = HotkeyClient::Create(
        [&](int32_t) {
            ++calls;
            throw std::runtime_error("handler failed");
        },
        kNoSuchFolder);
    ASSERT_TRUE(client);
    const int32_t id = client->SetHotKey(VK_F4, MOD_CONTROL | MOD_ALT);
    ASSERT_NE(id, 0);
    const std::set<HWND> hidden = HiddenWindows();
    ASSERT_EQ(hidden.size(), 1u);
    for (int i = 0; i < 2; ++i)
        ::SendMessageW(*hidden.begin(), WM_HOTKEY, static_cast<WPARAM>(static_cast<uint32_t>(id)),
                       0);
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace quillet
