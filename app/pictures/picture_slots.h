// The Pictures store's slots: the file behind each, what Undo puts back, and
// the commands that move pictures between the slots, the clipboard, files
// and the desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "clipboard.h"
#include "drop_content.h"
#include "pictures/picture_slots_view.h"
#include "pictures/preview_view.h"
#include "pictures/wallpaper.h"
#include "prompt.h"
#include "store/filesystem.h"

namespace quillet {

// What the picture commands ask of the rest of the window.
class PictureServices {
  public:
    virtual ~PictureServices() = default;
    virtual void BeepIfSounds() = 0;
    // Both Undo items, the Edit menu's and the pop-up's.
    virtual void EnableUndo(bool enabled) = 0;
    virtual void ShowClipboard() = 0;
    // The clipboard line says it holds a picture.
    virtual void GetClipPic() = 0;
};

class PictureSlots {
  public:
    PictureSlots(PictureSlotsView& view, PictureServices& program, Prompt& prompt, FileSystem& fs,
                 Clipboard& clipboard, PreviewView& preview, Wallpaper& wallpaper)
        : view_(view),
          program_(program),
          prompt_(prompt),
          fs_(fs),
          clipboard_(clipboard),
          preview_(preview),
          wallpaper_(wallpaper) {}

    // A slot was loaded from its file.
    void Loaded(int slot, const std::wstring& path) { tags_[slot] = path; }
    void ForgetUndo() { undoable_ = false; }

    // A slot's Copy and Paste buttons, and Undo, while the Pictures store shows.
    DragOffer CopyButton(int index);
    void PasteButton(int index);
    void Undo();

    // A picture file dropped on a slot, a slot dragged out, the preview.
    void Drop(int index, const DropContent& dropped);
    DragOffer StartDrag(int index);
    void ShowPreview(int slot);

    // The pop-up menu of the slot the right button was pressed on.
    void MouseDown(int index, int button);
    int PopupSlot() const { return popupSlot_; }
    void PopupCopy();
    void PopupDelete();
    void PopupWallpaper();

  private:
    IoResult Save(int slot, const std::vector<uint8_t>& dib);
    void TellNotStored(int slot, const std::wstring& reason);
    // The slot's picture in place of what the clipboard held; true when it is there.
    bool PutOnClipboard(int slot);
    void OfferFile(int slot, DragOffer& offer);
    // Undo brings back the slot's previous picture where it could be kept.
    void OfferUndo(int slot, bool kept = true);

    PictureSlotsView& view_;
    PictureServices& program_;
    Prompt& prompt_;
    FileSystem& fs_;
    Clipboard& clipboard_;
    PreviewView& preview_;
    Wallpaper& wallpaper_;
    std::array<std::wstring, 10> tags_;  // the file each slot shows
    int16_t undoSlot_ = 0;
    bool undoable_ = false;  // a paste, drop or delete can be undone
    int16_t popupSlot_ = 0;
};

}  // namespace quillet
