// The clipboard line: two read-only boxes the logic fills.
#include "controls/clipboard_line_win.h"

#include <string>

#include "base/window_win.h"
#include "resource.h"

namespace quillet {

namespace {

// Unchanged text is not set again: that would repaint the line endlessly.
void SetIfChanged(HWND box, std::wstring_view text) {
    if (WindowText(box) != text) ::SetWindowTextW(box, std::wstring(text).c_str());
}

}  // namespace

void ClipboardLine::Create(HWND parent, RECT length, RECT text, HFONT font,
                           std::function<void()> onClick) {
    onClick_ = std::move(onClick);
    length_ = CreateChild(parent, L"EDIT", L"", WS_BORDER | ES_READONLY | ES_RIGHT, IDC_TXTLENGTH,
                          length);
    text_ = CreateChild(parent, L"EDIT", L"", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL,
                        IDC_TXTCLIPBOARD, text);
    ::SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);
    for (HWND box : {length_, text_}) {
        ::SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // A click refreshes the line even when it has the focus already.
        SubclassControl<ClipboardLine, &ClipboardLine::OnMessage>(box, this);
    }
}

void ClipboardLine::AddTips(Tooltips& tips) const {
    tips.Add(text_, L"Current contents of the clipboard");
    tips.Add(length_, L"Number of characters in the clipboard");
}

void ClipboardLine::SetLength(std::wstring_view length) const {
    SetIfChanged(length_, length);
}

void ClipboardLine::SetText(std::wstring_view text) const {
    SetIfChanged(text_, text);
}

LRESULT ClipboardLine::OnMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    const LRESULT result = CallControlDefault(box, msg, wp, lp);
    if (msg == WM_LBUTTONDOWN && onClick_) onClick_();
    return result;
}

}  // namespace quillet
