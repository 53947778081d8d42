// The picture panel: frames, thumbnails, their pop-up menu and mouse presses.
#include "pictures/picture_slots_win.h"

#include <commctrl.h>

#include <cstdlib>

#include "controls_win.h"
#include "pictures/picture_files.h"
#include "resource.h"
#include "store/Module1.h"
#include "util/ole_win.h"
#include "util/window_win.h"

namespace quillet {

namespace {
constexpr wchar_t kViewTip[] = L"Click to view picture";
}

void PictureSlots::Create(HWND parent, int id, RECT at, int dpi, HFONT numberFont, HWND menuOwner,
                          AddTip addTip, MouseDown mouseDown) {
    panel_ = CreatePanel(parent, id, at, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
    dpi_ = dpi;
    numberFont_ = numberFont;
    menuOwner_ = menuOwner;
    addTip_ = std::move(addTip);
    mouseDown_ = std::move(mouseDown);
    popup_.reset(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPMENU)));
}

RECT PictureSlots::Place(const TwipsRect& r) const {
    return RECT{ToPixels(r.left), ToPixels(r.top), ToPixels(r.left + r.width),
                ToPixels(r.top + r.height)};
}

// Most runs never show the Pictures store, and thirty controls are a fifth
// of the start-up.
void PictureSlots::EnsureSlots() {
    if (box_[0] || !panel_) return;
    for (int i = 0; i < kSlotCount; ++i) {
        const PictureSlotRects r = PictureSlotLayout(i);
        box_[i] = CreatePanel(panel_, IDC_BOX0 + i, Place(r.frame),
                              WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN);
        imgPic_[i] = CreateChild(box_[i], L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, IDC_IMGPIC0 + i,
                                 RECT{0, 0, 0, 0});
        for (HWND w : {box_[i], imgPic_[i]})
            SubclassControl<PictureSlots, &PictureSlots::OnMouse>(
                w, this, static_cast<UINT_PTR>(::GetDlgCtrlID(w)));
        HWND number = CreateChild(panel_, L"STATIC", std::to_wstring(i + 1).c_str(), SS_CENTER,
                                  IDC_LBLPIC0 + i, Place(r.number));
        ::SendMessageW(number, WM_SETFONT, reinterpret_cast<WPARAM>(numberFont_), FALSE);
        if (tooltips_) addTip_(imgPic_[i], kViewTip);
    }
}

void PictureSlots::EnableTooltips() {
    tooltips_ = true;
    for (HWND img : imgPic_)
        if (img) addTip_(img, kViewTip);
}

void PictureSlots::Show(bool shown) {
    if (shown) EnsureSlots();
    ::ShowWindow(panel_, shown ? SW_SHOW : SW_HIDE);
    if (shown)
        ::SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool PictureSlots::Draw(const DRAWITEMSTRUCT& item) const {
    const int id = static_cast<int>(item.CtlID);
    if (id < IDC_IMGPIC0 || id >= IDC_IMGPIC0 + kSlotCount) return false;
    // The thumbnail: the slot's whole picture stretched to the control.
    const HBITMAP bitmap = bitmaps_[id - IDC_IMGPIC0].get();
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return true;
    UniqueMemoryDc source(::CreateCompatibleDC(item.hDC));
    if (!source) return true;
    SelectObjectScope keep(source.get(), bitmap);
    ::SetStretchBltMode(item.hDC, HALFTONE);
    const RECT& r = item.rcItem;
    ::StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), 0, 0,
                 info.bmWidth, info.bmHeight, SRCCOPY);
    return true;
}

bool PictureSlots::LoadSlotPicture(int slot, const std::wstring& path) {
    EnsureSlots();
    HBITMAP loaded = static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded) return false;
    bitmaps_[slot].reset(loaded);
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return true;
}

void PictureSlots::FitSlotPicture(int slot) {
    EnsureSlots();
    HWND img = imgPic_[slot];
    ::ShowWindow(img, SW_HIDE);
    BITMAP info{};
    if (!bitmaps_[slot] || !::GetObjectW(bitmaps_[slot].get(), sizeof info, &info))
        return;  // an empty slot stays empty
    RECT frame{};
    ::GetClientRect(box_[slot], &frame);
    const TwipsRect r = FitPicture(ToTwips(info.bmWidth), ToTwips(std::abs(info.bmHeight)),
                                   ToTwips(frame.right), ToTwips(frame.bottom), 0);
    ::MoveWindow(img, ToPixels(r.left), ToPixels(r.top), ToPixels(r.width), ToPixels(r.height),
                 FALSE);
    ::ShowWindow(img, SW_SHOW);
}

std::vector<uint8_t> PictureSlots::SlotPictureDib(int slot) const {
    if (!bitmaps_[slot]) return {};
    return PackedDibOf(bitmaps_[slot].get());
}

bool PictureSlots::SetSlotPicture(int slot, const std::vector<uint8_t>& dib) {
    EnsureSlots();
    if (dib.empty())
        bitmaps_[slot].reset();
    else
        bitmaps_[slot] = BitmapFromPackedDib(dib);
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return static_cast<bool>(bitmaps_[slot]);
}

void PictureSlots::ShowPicturePopup() {
    POINT at{};
    ::GetCursorPos(&at);
    ::TrackPopupMenu(PopupMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, menuOwner_,
                     nullptr);
}

LRESULT PictureSlots::OnMouse(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR controlId) {
    const int id = static_cast<int>(controlId);
    const bool frame = id >= IDC_BOX0 && id < IDC_BOX0 + kSlotCount;
    const int slot = id - (frame ? IDC_BOX0 : IDC_IMGPIC0);
    if (msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
        mouseDown_(slot, msg == WM_RBUTTONDOWN ? 2 : 4);
        return 0;
    }
    if (msg == WM_LBUTTONDOWN && frame) mouseDown_(slot, 1);
    return CallControlDefault(control, msg, wp, lp);
}

}  // namespace quillet
