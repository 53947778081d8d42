// The picture panel over the text slots: ten frames with their thumbnails
// and numbers, made the first time the Pictures store shows.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <array>
#include <functional>
#include <string>

#include "base/handles_win.h"
#include "drop_content.h"
#include "layout.h"
#include "pictures/picture_slots_view.h"
#include "platform/ole_win.h"

namespace quillet {

class PicturePanel final : public PictureSlotsView {
  public:
    // A tooltip for a control.
    using AddTip = std::function<void(HWND, const std::wstring&)>;
    // A mouse button (1 left, 2 right, 4 middle) went down on a slot.
    using MouseDown = std::function<void(int slot, int button)>;
    // What the slots do with the mouse besides the pop-up menu.
    struct Events {
        std::function<DragOffer(int slot)> startDrag;  // what a drag out of a slot carries
        std::function<void(int slot, const DropContent&)> drop;  // on a frame or thumbnail
        std::function<void(int slot)> doubleClick;               // on a thumbnail
        std::function<void(int slot)> numberClick;               // on a slot's number
    };

    // The panel, hidden; `menuOwner` gets the pop-up menu's commands.
    // `dpi` converts the layout's twips.
    void Create(HWND parent, int id, RECT at, int dpi, HFONT numberFont, HWND menuOwner,
                AddTip addTip, MouseDown mouseDown);
    void SetEvents(Events events) { events_ = std::move(events); }
    // Once OLE runs: frames and thumbnails take dropped files, those made
    // already and those made later.
    void EnableDragDrop();
    HWND Panel() const { return panel_; }
    // The pop-up menu's items, for their check marks and states.
    HMENU PopupMenu() const { return ::GetSubMenu(popup_.get(), 0); }
    void Show(bool shown);
    // Tooltips of slots made already; later slots get theirs when made.
    void EnableTooltips();
    // Another DPI: the frames and numbers are placed again, the pictures fitted again.
    void SetDpi(int dpi, HFONT numberFont);
    // WM_DRAWITEM of a thumbnail; false for other controls.
    bool Draw(const DRAWITEMSTRUCT& item) const;
    // A slot's frame's or thumbnail's drop target, for automation.
    IDropTarget* DropTargetOf(int slot, bool frame) const;

    // PictureSlotsView
    bool LoadSlotPicture(int slot, const std::wstring& path) override;
    void FitSlotPicture(int slot) override;
    std::vector<uint8_t> SlotPictureDib(int slot) const override;
    bool SetSlotPicture(int slot, const std::vector<uint8_t>& dib) override;
    std::string SlotPictureFile(int slot) const override;
    void ShowPicturePopup() override;

  private:
    LRESULT OnMouse(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    LRESULT OnNumber(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    void EnsureSlots();
    void RegisterDrops(int slot);
    void DragOut(int slot);
    int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }
    RECT Place(const TwipsRect& r) const;

    HWND panel_ = nullptr, menuOwner_ = nullptr;
    int dpi_ = 96;
    HFONT numberFont_ = nullptr;
    AddTip addTip_;
    MouseDown mouseDown_;
    Events events_;
    bool tooltips_ = false;
    bool drops_ = false;
    UniqueMenu popup_;
    std::array<HWND, 10> box_{}, imgPic_{}, lblPic_{};
    std::array<UniqueBitmap, 10> bitmaps_;  // each slot's whole picture
    std::array<UniqueBitmap, 10> thumbs_;   // scaled once to the thumbnail's size
    std::array<DropRegistration, 10> frameDrops_, thumbDrops_;
    // A left press that becomes a drag once the mouse moves far enough.
    int pressedSlot_ = -1;
    POINT pressedAt_{};  // screen
    int numberPressed_ = -1;
};

}  // namespace quillet
