// The window base: a window whose handler fails answers as handled, never
// with the default processing; controls handed to an owner's handler still
// do their own work, a failing handler is contained, and a destroyed control
// leaves nothing behind for the next one.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "base/window_win.h"

namespace quillet {
namespace {

// A window whose handler of one message throws.
class FailingWindow final : public Window {
  public:
    explicit FailingWindow(UINT failing) : failing_(failing) {}

    bool Make() {
        WNDCLASSEXW wc{};
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuilletFailingWindowTest";
        RegisterClassOf(wc);
        return CreateAs(0, wc.lpszClassName, L"failing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100},
                        nullptr, nullptr, wc.hInstance) != nullptr;
    }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == failing_) throw std::runtime_error("handler failed");
        return Default(msg, wp, lp);
    }

  private:
    UINT failing_;
};

// What a failing handler's message answers, and whether the window lives.
TEST(WindowBaseTest, AFailingHandlerAnswersAsHandled) {
    const struct {
        UINT message;
        LPARAM lp;
        bool made;
        LRESULT answer;
    } cases[] = {{WM_NCCREATE, 0, false, 0},
                 {WM_CREATE, 0, false, 0},
                 {WM_CLOSE, 0, true, 0},                                // the window stays open
                 {WM_QUERYENDSESSION, ENDSESSION_LOGOFF, true, TRUE}};  // the session may end
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        FailingWindow window(c.message);
        ASSERT_EQ(window.Make(), c.made);
        EXPECT_EQ(window.hwnd() != nullptr, c.made);
        if (!c.made) continue;
        EXPECT_EQ(::SendMessageW(window.hwnd(), c.message, 0, c.lp), c.answer);
        EXPECT_TRUE(::IsWindow(window.hwnd()));
    }
}

struct Owner {
    int seen = 0;
    bool fail = false;
    UINT_PTR id = 0;
    LRESULT OnMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR from) {
        ++seen;
        id = from;
        if (fail && msg == WM_GETTEXTLENGTH) throw std::runtime_error("handler failed");
        if (msg == WM_GETTEXT && wp == 1) return 0;  // answers this one itself
        return CallControlDefault(control, msg, wp, lp);
    }
};

HWND MakeEdit(const wchar_t* text) {
    return ::CreateWindowW(L"EDIT", text, WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr,
                           nullptr);
}

std::wstring TextOf(HWND edit) {
    wchar_t buffer[64] = {};
    ::SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// The owner sees the messages and may answer one itself; the control does
// the rest, keeps one owner, and a failing handler is answered as handled.
TEST(SubclassControlTest, HandlerSeesMessagesAndTheControlStillAnswers) {
    Owner owner;
    HWND edit = MakeEdit(L"slot text");
    ASSERT_TRUE((SubclassControl<Owner, &Owner::OnMessage>(edit, &owner, 7)));
    EXPECT_EQ(TextOf(edit), L"slot text");
    EXPECT_EQ(owner.id, 7u);
    const int before = owner.seen;
    wchar_t one[1] = {L'x'};
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(one)), 0);
    EXPECT_EQ(one[0], L'x') << "the handler's own answer reached the caller";
    EXPECT_EQ(owner.seen, before + 1);
    Owner second;
    EXPECT_FALSE((SubclassControl<Owner, &Owner::OnMessage>(edit, &second)))
        << "a control keeps one owner";
    owner.fail = true;
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 0);
    owner.fail = false;
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 9);
    ::DestroyWindow(edit);
}

TEST(SubclassControlTest, ADestroyedControlIsForgotten) {
    Owner first;
    HWND edit = MakeEdit(L"first");
    ASSERT_TRUE((SubclassControl<Owner, &Owner::OnMessage>(edit, &first)));
    ::DestroyWindow(edit);
    const int seen = first.seen;
    // Handles are reused; whatever the next control's is, it takes an owner
    // and its messages never reach the old one.
    for (int i = 0; i < 20; ++i) {
        Owner next;
        HWND other = MakeEdit(L"next");
        ASSERT_TRUE((SubclassControl<Owner, &Owner::OnMessage>(other, &next)));
        EXPECT_EQ(TextOf(other), L"next");
        ::DestroyWindow(other);
    }
    EXPECT_EQ(first.seen, seen);
}

}  // namespace
}  // namespace quillet
