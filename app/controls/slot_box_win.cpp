// The slot text box that shows only the beginning of a long text until used.
#include "controls/slot_box_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/controls_win.h"
#include "layout.h"

namespace quillet {

namespace {

// Posted to a box that takes its whole text once the program is idle.
constexpr UINT kMsgShowWhole = WM_APP + 40;

// Counts the program's own changes of a box for as long as it lives.
class QuietScope {
  public:
    explicit QuietScope(int& count) : count_(count) { ++count_; }
    ~QuietScope() { --count_; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

  private:
    int& count_;
};

// Keeps a shown box from drawing for as long as it lives, and has it drawn
// whole afterwards. A hidden box stays hidden.
class RedrawOff {
  public:
    explicit RedrawOff(HWND box)
        : box_((::GetWindowLongPtrW(box, GWL_STYLE) & WS_VISIBLE) ? box : nullptr) {
        if (box_) ::SendMessageW(box_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawOff() {
        if (!box_) return;
        ::SendMessageW(box_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(box_, nullptr, TRUE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

  private:
    HWND box_;
};

}  // namespace

void SlotTextBox::Attach(HWND edit, std::function<void()> onClick) {
    hwnd_ = edit;
    onClick_ = std::move(onClick);
    SubclassControl<SlotTextBox, &SlotTextBox::OnMessage>(edit, this);
}

std::wstring SlotTextBox::Text() const {
    return whole_ ? *whole_ : WindowText(hwnd_);
}

void SlotTextBox::SetText(std::wstring_view text) {
    // Already there: the empty slots of both stores, most often.
    const size_t length =
        whole_ ? whole_->size() : static_cast<size_t>(::GetWindowTextLengthW(hwnd_));
    if (length == text.size() && Text() == text) return;
    // A short text shows whole: no need to measure the box for it.
    const bool mayDefer = MayShowInPart(text.size()) && ::GetFocus() != hwnd_;
    Show(text, mayDefer ? DeferredBeginning(text, Scrolls(), ShownLines()) : std::nullopt);
    if (wholeWhenIdle_) ::PostMessageW(hwnd_, kMsgShowWhole, 0, 0);
}

bool SlotTextBox::Scrolls() const {
    return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VSCROLL) != 0;
}

// One more than fit: a part line shows too, and a new DPI rounds afresh.
size_t SlotTextBox::ShownLines() const {
    RECT area{};
    ::SendMessageW(hwnd_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    TEXTMETRICW metrics{};
    {
        WindowDc dc(hwnd_);
        if (!dc) return 0;
        const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
        SelectObjectScope select(dc.get(), font ? font : ::GetStockObject(SYSTEM_FONT));
        if (!::GetTextMetricsW(dc.get(), &metrics) || metrics.tmHeight <= 0) return 0;
    }
    if (area.bottom <= area.top) return 0;
    const int height = area.bottom - area.top;
    return static_cast<size_t>((height + metrics.tmHeight - 1) / metrics.tmHeight + 1);
}

void SlotTextBox::Show(std::wstring_view text, const std::optional<Deferral>& deferral) {
    wholeWhenIdle_ = deferral && deferral->wholeWhenIdle;
    const std::wstring_view shown = deferral ? text.substr(0, deferral->beginning) : text;
    if (deferral)
        whole_ = std::wstring(text);
    else
        whole_.reset();
    // The box is kept from drawing until it holds its new text. A beginning
    // goes in at once: it is short, and only its first lines show.
    QuietScope quiet(quiet_);
    RedrawOff redraw(hwnd_);
    if (deferral)
        ::SetWindowTextW(hwnd_, std::wstring(shown).c_str());
    else
        Fill(shown);
}

// Leaves the box as SetWindowText would: `text` in it, the caret at its
// start and in view, nothing to undo. A text with a long paragraph goes in
// piece by piece.
void SlotTextBox::Fill(std::wstring_view text) {
    size_t at = FillPieceEnd(text, 0);
    ::SetWindowTextW(hwnd_, std::wstring(text.substr(0, at)).c_str());
    if (at == text.size()) return;
    auto send = [this](UINT msg, WPARAM wp, LPARAM lp) {
        return CallControlDefault(hwnd_, msg, wp, lp);
    };
    while (at < text.size()) {
        const size_t end = FillPieceEnd(text, at);
        const std::wstring piece(text.substr(at, end - at));
        send(EM_SETSEL, at, at);
        send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at = end;
    }
    send(EM_SETSEL, 0, 0);
    send(EM_SCROLLCARET, 0, 0);
    send(EM_SETMODIFY, FALSE, 0);
}

bool SlotTextBox::ShowBeginningWhileSizing() {
    if (whole_) return wholeWhenIdle_;
    if (::GetFocus() == hwnd_) return false;
    // Cheap tests first: a short text never shows a beginning.
    if (!MayShowInPart(static_cast<size_t>(::GetWindowTextLengthW(hwnd_)))) return false;
    DWORD start = 0, end = 0;
    ::SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const bool touched = ::SendMessageW(hwnd_, EM_CANUNDO, 0, 0) != 0 || start != 0 || end != 0 ||
                         ::SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0) != 0;
    if (touched) return false;
    const std::wstring text = WindowText(hwnd_);
    const std::optional<Deferral> deferral = DeferredBeginning(text, Scrolls(), ShownLines());
    if (!deferral) return false;
    Show(text, deferral);
    return wholeWhenIdle_;
}

void SlotTextBox::ShowWholeTextIfDue() {
    if (wholeWhenIdle_) ShowWholeText();
}

void SlotTextBox::ReplaceSelection(std::wstring_view text) {
    const std::wstring with(text);
    QuietScope quiet(quiet_);
    ::SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(with.c_str()));
}

void SlotTextBox::ShowWholeText() {
    wholeWhenIdle_ = false;
    if (!whole_) return;
    const std::wstring whole = std::move(*whole_);
    whole_.reset();
    QuietScope quiet(quiet_);
    RedrawOff redraw(hwnd_);
    Fill(whole);
}

// Reads of a box that shows a beginning get the whole text, so that the
// program and other programs see what the slot holds.
LRESULT SlotTextBox::AnswerWholeText(UINT msg, WPARAM wp, LPARAM lp) const {
    if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(whole_->size());
    auto* out = reinterpret_cast<wchar_t*>(lp);
    if (!out || wp == 0) return 0;
    const size_t n = std::min(whole_->size(), static_cast<size_t>(wp) - 1);
    std::copy_n(whole_->data(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

LRESULT SlotTextBox::OnMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    if (msg == kMsgShowWhole) {
        // Only a text still deferred: a later text, or the user, may have
        // replaced or shown it meanwhile.
        ShowWholeTextIfDue();
        return 0;
    }
    if (whole_) {
        switch (msg) {
            case WM_GETTEXT:
            case WM_GETTEXTLENGTH:
                return AnswerWholeText(msg, wp, lp);
            case WM_SETTEXT:  // from outside: the text it sets is the whole text
                if (!quiet_) {
                    whole_.reset();
                    wholeWhenIdle_ = false;
                }
                break;
            case WM_SETFOCUS:
            case WM_LBUTTONDOWN:
            case WM_NCLBUTTONDOWN:
            case WM_VSCROLL:
            case WM_MOUSEWHEEL:
            case WM_KEYDOWN:
            case EM_GETSEL:
            case EM_SETSEL:
            case EM_REPLACESEL:
            case EM_GETLINECOUNT:
            case EM_GETLINE:
            case EM_LINEINDEX:
            case EM_LINELENGTH:
                ShowWholeText();
                break;
            default:
                break;
        }
    }
    const LRESULT result = CallControlDefault(hwnd_, msg, wp, lp);
    if (msg == WM_LBUTTONUP && onClick_) onClick_();
    return result;
}

}  // namespace quillet
