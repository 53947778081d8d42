// The picture panel: frames, thumbnails, their numbers and pop-up menu, the
// mouse on them, drops of picture files and drags out of a slot.
#include "pictures/picture_slots_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>
#include <utility>

#include "base/window_win.h"
#include "controls/controls_win.h"
#include "pictures/picture_files.h"
#include "pictures/picture_loader_win.h"
#include "resource.h"
#include "store/Module1.h"
#include "platform/dib_win.h"

namespace quillet {

namespace {

constexpr wchar_t kViewTip[] = L"Click to view picture";

// A copy of the picture at the thumbnail's size, averaged down once so that
// painting is a plain copy.
UniqueBitmap ScaledCopy(HBITMAP picture, int width, int height) {
    const SIZE size = BitmapSize(picture);
    if (width <= 0 || height <= 0 || size.cx <= 0 || size.cy <= 0) return {};
    void* bits = nullptr;
    UniqueBitmap thumb = NewDibSection(width, height, 24, &bits);
    UniqueMemoryDc from(::CreateCompatibleDC(nullptr)), to(::CreateCompatibleDC(nullptr));
    if (!thumb || !from || !to) return {};
    SelectObjectScope keepFrom(from.get(), picture);
    SelectObjectScope keepTo(to.get(), thumb.get());
    ::SetStretchBltMode(to.get(), HALFTONE);
    ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
    if (!::StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.cx, size.cy, SRCCOPY))
        return {};
    return thumb;
}

}  // namespace

void PicturePanel::Create(HWND parent, int id, RECT at, int dpi, HFONT numberFont, HWND menuOwner,
                          AddTip addTip, MouseDown mouseDown) {
    panel_ = CreatePanel(parent, id, at, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
    dpi_ = dpi;
    numberFont_ = numberFont;
    menuOwner_ = menuOwner;
    addTip_ = std::move(addTip);
    mouseDown_ = std::move(mouseDown);
    popup_.reset(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPMENU)));
}

RECT PicturePanel::Place(const TwipsRect& r) const {
    return RECT{ToPixels(r.left), ToPixels(r.top), ToPixels(r.left + r.width),
                ToPixels(r.top + r.height)};
}

// Most runs never show the Pictures store, and thirty controls are a fifth
// of the start-up.
void PicturePanel::EnsureSlots() {
    if (box_[0] || !panel_) return;
    for (int i = 0; i < kSlotCount; ++i) {
        const PictureSlotRects r = PictureSlotLayout(i);
        box_[i] = CreatePanel(panel_, IDC_BOX0 + i, Place(r.frame),
                              WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN);
        imgPic_[i] = CreateChild(box_[i], L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, IDC_IMGPIC0 + i,
                                 RECT{0, 0, 0, 0});
        for (HWND w : {box_[i], imgPic_[i]})
            SubclassControl<PicturePanel, &PicturePanel::OnMouse>(
                w, this, static_cast<UINT_PTR>(::GetDlgCtrlID(w)));
        // SS_NOTIFY: a static without it lets the mouse through to its parent.
        lblPic_[i] = CreateChild(panel_, L"STATIC", std::to_wstring(i + 1).c_str(),
                                 SS_CENTER | SS_NOTIFY, IDC_LBLPIC0 + i, Place(r.number));
        ::SendMessageW(lblPic_[i], WM_SETFONT, reinterpret_cast<WPARAM>(numberFont_), FALSE);
        SubclassControl<PicturePanel, &PicturePanel::OnNumber>(lblPic_[i], this,
                                                               static_cast<UINT_PTR>(i));
        if (tooltips_) addTip_(lblPic_[i], kViewTip);
        if (drops_) RegisterDrops(i);
    }
}

void PicturePanel::SetDpi(int dpi, HFONT numberFont) {
    dpi_ = dpi;
    numberFont_ = numberFont;
    if (!box_[0]) return;  // made at the new DPI when first shown
    for (int i = 0; i < kSlotCount; ++i) {
        const PictureSlotRects r = PictureSlotLayout(i);
        for (const auto& [w, at] :
             {std::pair{box_[i], Place(r.frame)}, std::pair{lblPic_[i], Place(r.number)}})
            ::MoveWindow(w, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
        ::SendMessageW(lblPic_[i], WM_SETFONT, reinterpret_cast<WPARAM>(numberFont_), FALSE);
        if (bitmaps_[i]) FitSlotPicture(i);
    }
    ::InvalidateRect(panel_, nullptr, TRUE);
}

void PicturePanel::EnableTooltips() {
    tooltips_ = true;
    for (HWND number : lblPic_)
        if (number) addTip_(number, kViewTip);
}

void PicturePanel::EnableDragDrop() {
    drops_ = true;
    for (int i = 0; i < kSlotCount; ++i)
        if (box_[i]) RegisterDrops(i);
}

// A drop on the frame and one on its thumbnail are the same drop.
void PicturePanel::RegisterDrops(int slot) {
    // Only files can fill a picture slot.
    auto target = [this, slot] {
        return SlotDropTarget::Create(
            [this, slot](const DropContent& d) {
                if (events_.drop) events_.drop(slot, d);
            },
            DropKinds::kFiles);
    };
    frameDrops_[slot] = DropRegistration(box_[slot], target());
    thumbDrops_[slot] = DropRegistration(imgPic_[slot], target());
}

IDropTarget* PicturePanel::DropTargetOf(int slot, bool frame) const {
    if (slot < 0 || slot >= kSlotCount) return nullptr;
    return (frame ? frameDrops_ : thumbDrops_)[slot].target();
}

void PicturePanel::Show(bool shown) {
    if (shown) EnsureSlots();
    ::ShowWindow(panel_, shown ? SW_SHOW : SW_HIDE);
    if (shown)
        ::SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool PicturePanel::Draw(const DRAWITEMSTRUCT& item) const {
    const int id = static_cast<int>(item.CtlID);
    if (id < IDC_IMGPIC0 || id >= IDC_IMGPIC0 + kSlotCount) return false;
    const int slot = id - IDC_IMGPIC0;
    const RECT& r = item.rcItem;
    const int width = r.right - r.left, height = r.bottom - r.top;
    const SIZE thumb = BitmapSize(thumbs_[slot].get());
    const bool scaled = thumb.cx == width && thumb.cy == height;
    const HBITMAP source = scaled ? thumbs_[slot].get() : bitmaps_[slot].get();
    const SIZE size = scaled ? thumb : BitmapSize(source);
    if (!source || size.cx <= 0) return true;
    UniqueMemoryDc dc(::CreateCompatibleDC(item.hDC));
    if (!dc) return true;
    SelectObjectScope keep(dc.get(), source);
    if (scaled) {
        ::BitBlt(item.hDC, r.left, r.top, width, height, dc.get(), 0, 0, SRCCOPY);
    } else {  // resized since it was fitted
        ::SetStretchBltMode(item.hDC, HALFTONE);
        ::SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        ::StretchBlt(item.hDC, r.left, r.top, width, height, dc.get(), 0, 0, size.cx, size.cy,
                     SRCCOPY);
    }
    return true;
}

bool PicturePanel::LoadSlotPicture(int slot, const std::wstring& path) {
    EnsureSlots();
    UniqueBitmap loaded = LoadPictureFile(path);
    if (!loaded) return false;
    bitmaps_[slot] = std::move(loaded);
    thumbs_[slot].reset();
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return true;
}

void PicturePanel::FitSlotPicture(int slot) {
    EnsureSlots();
    HWND img = imgPic_[slot];
    ::ShowWindow(img, SW_HIDE);
    thumbs_[slot].reset();
    const SIZE size = BitmapSize(bitmaps_[slot].get());
    if (size.cx <= 0 || size.cy <= 0) return;  // an empty slot stays empty
    RECT frame{};
    ::GetClientRect(box_[slot], &frame);
    const TwipsRect r = FitPicture(ToTwips(size.cx), ToTwips(size.cy), ToTwips(frame.right),
                                   ToTwips(frame.bottom), 0);
    const RECT at = Place(r);
    thumbs_[slot] = ScaledCopy(bitmaps_[slot].get(), at.right - at.left, at.bottom - at.top);
    ::MoveWindow(img, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
    ::ShowWindow(img, SW_SHOW);
}

std::vector<uint8_t> PicturePanel::SlotPictureDib(int slot) const {
    if (!bitmaps_[slot]) return {};
    return PackedDibOf(bitmaps_[slot].get());
}

std::string PicturePanel::SlotPictureFile(int slot) const {
    if (!bitmaps_[slot]) return {};
    return BitmapFileBytes(bitmaps_[slot].get());
}

bool PicturePanel::SetSlotPicture(int slot, const std::vector<uint8_t>& dib) {
    EnsureSlots();
    if (dib.empty())
        bitmaps_[slot].reset();
    else
        bitmaps_[slot] = BitmapFromPackedDib(dib);
    thumbs_[slot].reset();
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return static_cast<bool>(bitmaps_[slot]);
}

void PicturePanel::ShowPicturePopup() {
    POINT at{};
    ::GetCursorPos(&at);
    ::TrackPopupMenu(PopupMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, menuOwner_,
                     nullptr);
}

// The drag carries what the slot offers; an empty slot offers nothing.
void PicturePanel::DragOut(int slot) {
    if (!events_.startDrag) return;
    const DragOffer offer = events_.startDrag(slot);
    if (offer.files.empty()) return;
    DragPayload payload;
    payload.files = offer.files;
    if (ComPtr<IDataObject> data = MakeDataObject(payload)) RunCopyDrag(data.get());
}

// A left press on a frame or thumbnail drags the slot once the mouse has
// moved past the drag distance: a click, and the first click of a
// double-click, never wait in a drag.
LRESULT PicturePanel::OnMouse(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR controlId) {
    const int id = static_cast<int>(controlId);
    const bool frame = id >= IDC_BOX0 && id < IDC_BOX0 + kSlotCount;
    const int slot = id - (frame ? IDC_BOX0 : IDC_IMGPIC0);
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            mouseDown_(slot, msg == WM_RBUTTONDOWN ? 2 : 4);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (!frame) {
                if (events_.doubleClick) events_.doubleClick(slot);
                return 0;
            }
            [[fallthrough]];
        case WM_LBUTTONDOWN:
            mouseDown_(slot, 1);
            pressedSlot_ = slot;
            pressedAt_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ::ClientToScreen(control, &pressedAt_);
            ::SetCapture(control);
            return 0;
        case WM_MOUSEMOVE: {
            if (pressedSlot_ != slot || !(wp & MK_LBUTTON)) break;
            POINT now{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ::ClientToScreen(control, &now);
            if (std::abs(now.x - pressedAt_.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
                std::abs(now.y - pressedAt_.y) <= ::GetSystemMetrics(SM_CYDRAG))
                break;
            pressedSlot_ = -1;
            ::ReleaseCapture();
            DragOut(slot);
            return 0;
        }
        case WM_LBUTTONUP:
            if (pressedSlot_ == slot) {
                pressedSlot_ = -1;
                ::ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            pressedSlot_ = -1;
            break;
        case WM_DESTROY:  // while the window is still there to revoke
            (frame ? frameDrops_ : thumbDrops_)[slot] = DropRegistration();
            break;
        default:
            break;
    }
    return CallControlDefault(control, msg, wp, lp);
}

// A click on a slot's number: pressed and released on it.
LRESULT PicturePanel::OnNumber(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR slotId) {
    const int slot = static_cast<int>(slotId);
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        numberPressed_ = slot;
    } else if (msg == WM_LBUTTONUP) {
        RECT r{};
        ::GetClientRect(control, &r);
        const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (numberPressed_ == slot && ::PtInRect(&r, at) && events_.numberClick) {
            numberPressed_ = -1;
            events_.numberClick(slot);
            return 0;
        }
        numberPressed_ = -1;
    }
    return CallControlDefault(control, msg, wp, lp);
}

}  // namespace quillet
