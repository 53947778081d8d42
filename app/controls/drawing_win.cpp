// The pictures of the slot buttons and the maker's mark.
#include "controls/drawing_win.h"

#include "base/handles_win.h"

namespace quillet {

void DrawSlotButton(const DRAWITEMSTRUCT& item, bool copy) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int off = pressed ? 1 : 0;
    UniqueBrush sheet(::CreateSolidBrush(RGB(255, 255, 255)));
    UniqueBrush ink(::CreateSolidBrush(copy ? RGB(30, 80, 170) : RGB(170, 60, 30)));
    auto box = [&](int l, int t, int rr, int b, HBRUSH fill) {
        RECT x{r.left + l + off, r.top + t + off, r.left + rr + off, r.top + b + off};
        ::FillRect(dc, &x, fill);
        ::FrameRect(dc, &x, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    };
    if (copy) {  // two sheets, one over the other
        box(w / 5, h / 6, w * 3 / 5 + 1, h * 3 / 5, sheet.get());
        box(w * 2 / 5, h * 2 / 5, w * 4 / 5, h * 5 / 6, ink.get());
    } else {  // a clipboard
        box(w / 5, h / 5, w * 4 / 5, h * 5 / 6, ink.get());
        box(w * 2 / 5 - 1, h / 8, w * 3 / 5 + 1, h / 4 + 1, sheet.get());
    }
    if (item.itemState & ODS_FOCUS) {
        RECT f = r;
        ::InflateRect(&f, -2, -2);
        ::DrawFocusRect(dc, &f);
    }
}

void DrawLogo(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    UniqueBrush fill(::CreateSolidBrush(RGB(32, 80, 160)));
    ::FillRect(item.hDC, &r, fill.get());
    UniqueBrush stroke(::CreateSolidBrush(RGB(255, 255, 255)));
    const RECT s{r.left + (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 - 1,
                 r.right - (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 + 1};
    ::FillRect(item.hDC, &s, stroke.get());
}

}  // namespace quillet
