// The slot rows: their controls, texts, colours and selections.
#include "controls/slot_rows_win.h"

#include <commctrl.h>

#include "base/window_win.h"
#include "resource.h"
#include "slot_editor.h"

namespace quillet {

void SlotRows::Create(HWND parent, const std::array<RowRects, 10>& rows, const Place& place,
                      HFONT font, HFONT numberFont, const std::function<DragOffer(int)>& copyPress,
                      BoxClick onClick) {
    onClick_ = std::move(onClick);
    auto setFont = [](HWND w, HFONT f) {
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    };
    for (int i = 0; i < kSlotCount; ++i) {
        const RowRects& row = rows[i];
        txtTitle_[i] = CreateChild(parent, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                   IDC_TXTTITLE0 + i, place(row.title));
        const HWND text = CreateChild(parent, L"EDIT", L"",
                                      WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                                          ES_WANTRETURN | (i >= 8 ? WS_VSCROLL : 0),
                                      IDC_TXT0 + i, place(row.text));
        txt_[i].Attach(text, [this] { onClick_(BoxRef::Kind::kText); });
        ::SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // no limit but memory
        ::SendMessageW(txtTitle_[i], EM_SETLIMITTEXT, 0, 0);
        const HWND copy = CreateChild(parent, L"BUTTON", CopyButtonTip(i).c_str(),
                                      WS_TABSTOP | BS_OWNERDRAW, IDC_PICCOPY0 + i, place(row.copy));
        copy_[i].Attach(copy, [copyPress, i] { return copyPress(i); });
        picPaste_[i] = CreateChild(parent, L"BUTTON", PasteButtonTip(i).c_str(),
                                   WS_TABSTOP | BS_OWNERDRAW, IDC_PICPASTE0 + i, place(row.paste));
        label1_[i] = CreateChild(parent, L"STATIC", std::to_wstring(i + 1).c_str(), SS_CENTER,
                                 IDC_LABEL1_0 + i, place(row.number));
        setFont(txtTitle_[i], font);
        setFont(text, font);
        setFont(label1_[i], numberFont);
        ::DragAcceptFiles(picPaste_[i], TRUE);
        SubclassControl<SlotRows, &SlotRows::OnTitleMessage>(txtTitle_[i], this);
    }
}

void SlotRows::AddTips(Tooltips& tips) const {
    for (int i = 0; i < kSlotCount; ++i) {
        tips.Add(copy_[i].hwnd(), CopyButtonTip(i));
        tips.Add(picPaste_[i], PasteButtonTip(i));
    }
}

bool SlotRows::LayOut(const std::array<RowRects, 10>& rows,
                      const std::function<bool(HWND, const TwipsRect&)>& move) {
    bool waiting = false;
    for (int i = 0; i < kSlotCount; ++i) {
        move(txtTitle_[i], rows[i].title);
        // Before the box changes size: the beginning is all it re-wraps.
        if (move(txt_[i].hwnd(), rows[i].text) && txt_[i].ShowBeginningWhileSizing())
            waiting = true;
        move(copy_[i].hwnd(), rows[i].copy);
        move(picPaste_[i], rows[i].paste);
        move(label1_[i], rows[i].number);
    }
    return waiting;
}

void SlotRows::ShowWholeTexts() {
    for (SlotTextBox& box : txt_) box.ShowWholeTextIfDue();
}

// The text boxes keep their texts under the picture panel; hidden, they
// cannot paint through it.
void SlotRows::ShowTexts(bool shown) const {
    for (const SlotTextBox& box : txt_) ::ShowWindow(box.hwnd(), shown ? SW_SHOWNA : SW_HIDE);
}

void SlotRows::ShowButtons(bool shown) {
    buttonsShown_ = shown;
    for (int i = 0; i < kSlotCount; ++i) {
        ::ShowWindow(copy_[i].hwnd(), shown ? SW_SHOWNA : SW_HIDE);
        ::ShowWindow(picPaste_[i], shown ? SW_SHOWNA : SW_HIDE);
    }
}

void SlotRows::SetTitle(int slot, std::wstring_view title) {
    ::SetWindowTextW(txtTitle_[slot], std::wstring(title).c_str());
}

void SlotRows::SetColours(unsigned titleBackground, unsigned textBackground) {
    titleColour_ = titleBackground;
    textColour_ = textBackground;
    titleBrush_.reset(::CreateSolidBrush(titleColour_));
    textBrush_.reset(::CreateSolidBrush(textColour_));
    for (int i = 0; i < kSlotCount; ++i) {
        ::InvalidateRect(txtTitle_[i], nullptr, TRUE);
        ::InvalidateRect(txt_[i].hwnd(), nullptr, TRUE);
    }
}

HBRUSH SlotRows::Colour(HDC dc, HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    const bool title = id >= IDC_TXTTITLE0 && id < IDC_TXTTITLE0 + kSlotCount;
    const bool text = id >= IDC_TXT0 && id < IDC_TXT0 + kSlotCount;
    const HBRUSH brush = title ? titleBrush_.get() : text ? textBrush_.get() : nullptr;
    if (brush) ::SetBkColor(dc, title ? titleColour_ : textColour_);
    return brush;
}

HWND SlotRows::Box(BoxRef box) const {
    return box.kind == BoxRef::Kind::kText ? txt_[box.slot].hwnd() : txtTitle_[box.slot];
}

std::optional<BoxRef> SlotRows::ActiveBox() const {
    const HWND focus = ::GetFocus();
    if (!focus) return std::nullopt;
    for (int i = 0; i < kSlotCount; ++i) {
        if (focus == txt_[i].hwnd()) return BoxRef{BoxRef::Kind::kText, i};
        if (focus == txtTitle_[i]) return BoxRef{BoxRef::Kind::kTitle, i};
    }
    return std::nullopt;
}

std::wstring SlotRows::SelectedText(BoxRef box) const {
    HWND w = Box(box);
    DWORD start = 0, end = 0;
    ::SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = WindowText(w);
    if (start >= end || start >= text.size()) return {};
    return text.substr(start, end - start);
}

void SlotRows::ReplaceSelection(BoxRef box, std::wstring_view text) {
    if (box.kind == BoxRef::Kind::kText) return txt_[box.slot].ReplaceSelection(text);
    const std::wstring with(text);
    ::SendMessageW(txtTitle_[box.slot], EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(with.c_str()));
}

void SlotRows::SelectAll(BoxRef box) {
    ::SendMessageW(Box(box), EM_SETSEL, 0, -1);
}

void SlotRows::Select(BoxRef box, size_t start, size_t length) {
    const HWND w = Box(box);
    ::SetFocus(w);
    ::SendMessageW(w, EM_SETSEL, start, start + length);
    ::SendMessageW(w, EM_SCROLLCARET, 0, 0);
}

// A click in a box also refreshes the clipboard line.
LRESULT SlotRows::OnTitleMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    const LRESULT result = CallControlDefault(box, msg, wp, lp);
    if (msg == WM_LBUTTONUP) onClick_(BoxRef::Kind::kTitle);
    return result;
}

}  // namespace quillet
