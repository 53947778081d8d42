// COM scopes end what they started and nothing else: a thread already in
// another apartment keeps its COM, a thread they started COM on has none
// after them. Each case runs on a thread of its own, whose COM is fresh.
// Wine's OleUninitialize ignores a call without a start, so the failed start
// is tried with ComInit; both scopes are the one InitScope.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <thread>

#include "base/com_init_win.h"

namespace quillet {
namespace {

template <class Body>
void OnFreshThread(Body body) {
    std::thread(body).join();
}

// Whether COM is still initialised on this thread in this apartment: a
// further start then answers S_FALSE. The probe's own start is undone.
bool Still(COINIT apartment) {
    const HRESULT hr = ::CoInitializeEx(nullptr, apartment);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr == S_FALSE;
}

TEST(ComInitTest, AFailedStartInAnotherApartmentEndsNothing) {
    HRESULT first = E_FAIL, scoped = S_OK;
    bool started = true, kept = false;
    OnFreshThread([&] {
        first = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            ComInit scope;
            scoped = scope.result();
            started = static_cast<bool>(scope);
        }
        kept = Still(COINIT_MULTITHREADED);
        if (SUCCEEDED(first)) ::CoUninitialize();
    });
    ASSERT_EQ(first, S_OK);
    EXPECT_EQ(scoped, RPC_E_CHANGED_MODE);
    EXPECT_FALSE(started);
    EXPECT_TRUE(kept) << "the failed scope ended the thread's own COM";
}

TEST(ComInitTest, NestedScopesEachEndTheirOwnStart) {
    HRESULT outer = E_FAIL, inner = E_FAIL;
    bool insideAfterInner = false, afterBoth = true;
    OnFreshThread([&] {
        {
            OleInit ole;
            outer = ole.result();
            {
                ComInit com;
                inner = com.result();
            }
            insideAfterInner = Still(COINIT_APARTMENTTHREADED);
        }
        afterBoth = Still(COINIT_APARTMENTTHREADED);
    });
    EXPECT_EQ(outer, S_OK);
    EXPECT_EQ(inner, S_FALSE) << "OLE had started the apartment already";
    EXPECT_TRUE(insideAfterInner) << "the inner scope ended the outer one's COM";
    EXPECT_FALSE(afterBoth) << "a scope left COM running after it";
}

}  // namespace
}  // namespace quillet
