// The store strip: its labels, their marks, colours and tips.
#include "controls/store_strip_win.h"

#include "resource.h"
#include "store/Module1.h"

namespace quillet {

namespace {
constexpr COLORREF kStripColour = RGB(0xC0, 0xC0, 0xC0);
}

namespace {
UniqueFont CurrentStoreFont(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    return UniqueFont(::CreateFontIndirectW(&lf));
}
}  // namespace

void StoreStrip::Create(HWND parent, RECT at, const std::array<RECT, 16>& labels, HFONT font) {
    font_ = font;
    currentFont_ = CurrentStoreFont(font);
    brush_.reset(::CreateSolidBrush(kStripColour));
    panel_ = CreatePanel(parent, IDC_STORESTRIP, at, WS_VISIBLE | WS_CLIPSIBLINGS,
                         WS_EX_CONTROLPARENT, brush_.get());
    ::SetWindowTextW(panel_, L"Select Store");
    for (int n = 0; n < kStoreCount; ++n) {
        const std::wstring text = n == 0 ? L"P" : std::to_wstring(n);
        labels_[n] = CreateChild(panel_, L"STATIC", text.c_str(), SS_NOTIFY | SS_CENTER,
                                 IDC_LBLSTORE0 + n, labels[n]);
        ::SendMessageW(labels_[n], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        tips_[n] = n == 0 ? L"Pictures" : DefaultCaption(n);
    }
}

void StoreStrip::Rescale(RECT at, const std::array<RECT, 16>& labels, HFONT font) {
    font_ = font;
    UniqueFont leaving = std::move(currentFont_);
    currentFont_ = CurrentStoreFont(font);
    ::MoveWindow(panel_, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
    for (int n = 0; n < kStoreCount; ++n) {
        const RECT& r = labels[n];
        ::MoveWindow(labels_[n], r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        const HFONT f = current_[n] ? currentFont_.get() : font_;
        ::SendMessageW(labels_[n], WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    }
    ::InvalidateRect(panel_, nullptr, TRUE);
}

void StoreStrip::AddTips(Tooltips& tips) {
    tips.Add(panel_, L"Select Store");
    for (int n = 0; n < kStoreCount; ++n) tips.Add(labels_[n], tips_[n]);
}

void StoreStrip::SetTip(Tooltips& tips, int store, std::wstring_view tip) {
    tips_[store] = std::wstring(tip);
    tips.Update(labels_[store], tips_[store]);
}

void StoreStrip::Mark(int store, bool current) {
    if (current_[store] == current) return;
    current_[store] = current;
    const HFONT font = current ? currentFont_.get() : font_;
    ::SendMessageW(labels_[store], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ::InvalidateRect(labels_[store], nullptr, TRUE);
}

HBRUSH StoreStrip::Colour(HDC dc, HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    if (id < IDC_LBLSTORE0 || id >= IDC_LBLSTORE0 + kStoreCount) return nullptr;
    ::SetTextColor(dc, current_[id - IDC_LBLSTORE0] ? RGB(255, 0, 0) : RGB(0, 0, 0));
    ::SetBkColor(dc, kStripColour);
    return brush_.get();
}

}  // namespace quillet
