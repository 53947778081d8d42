// What the picture commands need of the ten picture slots on the screen: the
// seam between the core and the Win32 picture panel, faked in the tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture_files.h"

namespace quillet {

class PictureSlotsView {
  public:
    virtual ~PictureSlotsView() = default;

    // Loads a picture file into the thumbnail; false, and the old picture
    // stays, when it cannot be read.
    virtual bool LoadSlotPicture(int slot, const std::wstring& path) = 0;
    // Fits the thumbnail into its frame (an empty slot shows nothing).
    virtual void FitSlotPicture(int slot) = 0;
    // The thumbnail's picture as a packed DIB (empty when the slot has none),
    // and a new one from the same form (empty: no picture); false when the
    // slot shows none afterwards, for an empty or unreadable DIB.
    virtual std::vector<uint8_t> SlotPictureDib(int slot) const = 0;
    virtual bool SetSlotPicture(int slot, const std::vector<uint8_t>& dib) = 0;
    // The thumbnail's picture as a whole bitmap file, empty when the slot
    // has none. A window makes it in one piece: a photo's file is large.
    virtual std::string SlotPictureFile(int slot) const {
        return BitmapFileOf(SlotPictureDib(slot));
    }
    // The pop-up menu of a picture slot, at the mouse.
    virtual void ShowPicturePopup() = 0;
};

}  // namespace quillet
