// The Pictures store's commands: pastes, drops, drags, Undo, the pop-up,
// the preview and the wallpaper.
#include "pictures/picture_slots.h"

#include "pictures/picture_files.h"
#include "store/Module1.h"

namespace quillet {

namespace {

constexpr std::wstring_view kNotAPicture =
    L"Sorry but that file is either not a valid picture file or not supported\r\n"
    L"Or otherwise there is no picture here to display";

}  // namespace

DragOffer PictureSlots::CopyButton(int index) {
    DragOffer offer;
    if (index < 0 || index >= kSlotCount) return offer;
    program_.BeepIfSounds();
    PutOnClipboard(index);
    OfferFile(index, offer);
    return offer;
}

bool PictureSlots::PutOnClipboard(int slot) {
    clipboard_.Clear();
    const std::vector<uint8_t> dib = view_.SlotPictureDib(slot);
    return !dib.empty() && clipboard_.SetDib(dib);
}

// A file that is not there is not offered: the target would fail on it.
void PictureSlots::OfferFile(int slot, DragOffer& offer) {
    const std::wstring& tag = tags_[slot];
    if (!tag.empty() && fs_.FileExists(tag)) offer.files.push_back(tag);
}

void PictureSlots::PasteButton(int index) {
    if (index < 0 || index >= kSlotCount) return;
    const std::vector<uint8_t> dib = clipboard_.Dib().value_or(std::vector<uint8_t>());
    const bool shown = view_.SetSlotPicture(index, dib);
    view_.FitSlotPicture(index);
    program_.BeepIfSounds();
    program_.EnableUndo(false);
    program_.GetClipPic();
    OfferUndo(index, KeepPreviousPicture(fs_, index).ok);
    program_.EnableUndo(undoable_);
    // A picture the slot cannot show is not kept either: it would turn up
    // at the next start, and a drag would offer a file never seen.
    if (!shown) return;
    if (IoResult saved = Save(index, dib); !saved) TellNotStored(index, saved.reason);
}

void PictureSlots::OfferUndo(int slot, bool kept) {
    undoSlot_ = static_cast<int16_t>(slot);
    undoable_ = kept;
}

IoResult PictureSlots::Save(int slot, const std::vector<uint8_t>& dib) {
    const std::string file = BitmapFileOf(dib);
    if (file.empty()) return IoResult::Failure(L"The picture is not a bitmap that can be saved.");
    const std::wstring path = SlotPicturePath(slot);
    if (IoResult written = fs_.ReplaceAtomically(path, file); !written) return written;
    tags_[slot] = path;
    return IoResult::Success();
}

void PictureSlots::TellNotStored(int slot, const std::wstring& reason) {
    prompt_.Tell(
        kProgramTitle,
        L"The picture could not be stored in\r\n" + SlotPicturePath(slot) + L"\r\n\r\n" + reason,
        Prompt::Icon::kExclamation);
}

void PictureSlots::Undo() {
    program_.EnableUndo(false);
    if (!undoable_) return;
    undoable_ = false;
    const int slot = undoSlot_;
    const std::wstring path = SlotPicturePath(slot);
    const std::wstring undo(kUndoPicturePath);
    if (!fs_.FileExists(undo)) {  // the slot was empty before
        view_.SetSlotPicture(slot, {});
        fs_.Remove(path);
        tags_[slot].clear();
    } else if (view_.LoadSlotPicture(slot, undo)) {
        const FileRead kept = fs_.ReadAll(undo);
        if (kept.status == FileRead::Status::kOk && fs_.ReplaceAtomically(path, kept.bytes))
            tags_[slot] = path;
    }
    // An undo file that cannot be read changes nothing: the slot keeps its
    // picture and its file.
    view_.FitSlotPicture(slot);
}

void PictureSlots::MouseDown(int index, int button) {
    if (index < 0 || index >= kSlotCount) return;
    if (button == 1) return;  // the left button drags the picture
    popupSlot_ = static_cast<int16_t>(index);
    view_.ShowPicturePopup();
}

void PictureSlots::PopupCopy() {
    program_.BeepIfSounds();
    PutOnClipboard(popupSlot_);
}

void PictureSlots::PopupDelete() {
    const int slot = popupSlot_;
    const bool kept = KeepPreviousPicture(fs_, slot).ok;
    fs_.Remove(SlotPicturePath(slot));
    view_.SetSlotPicture(slot, {});
    view_.FitSlotPicture(slot);
    OfferUndo(slot, kept);
    program_.EnableUndo(undoable_);
    program_.GetClipPic();
}

void PictureSlots::Drop(int index, const DropContent& dropped) {
    if (index < 0 || index >= kSlotCount || !dropped.hasFiles) return;
    // The file is read whole and closed before any slot file moves, so a
    // slot's own file, or the undo file, can be dropped as well.
    if (!view_.LoadSlotPicture(index, dropped.firstFile)) {
        prompt_.Tell(L"Error", kNotAPicture, Prompt::Icon::kInformation);
        return;
    }
    view_.FitSlotPicture(index);
    const int16_t undoSlot = undoSlot_;
    const bool undoable = undoable_;
    OfferUndo(index);
    program_.EnableUndo(true);
    program_.GetClipPic();

    const std::wstring path = SlotPicturePath(index);
    const IoResult stored = StoreSlotPicture(fs_, index, view_.SlotPictureFile(index));
    if (stored) {
        tags_[index] = path;
        return;
    }
    // A picture the slot cannot keep would be gone at the next start: the
    // slot shows its file again, and Undo offers what it offered before.
    if (!fs_.FileExists(path) || !view_.LoadSlotPicture(index, path))
        view_.SetSlotPicture(index, {});
    view_.FitSlotPicture(index);
    undoSlot_ = undoSlot;
    undoable_ = undoable;
    program_.EnableUndo(undoable);
    TellNotStored(index, stored.reason);
}

// The drag carries the slot's file; the clipboard gets its picture as well.
DragOffer PictureSlots::StartDrag(int index) {
    DragOffer offer;
    if (index < 0 || index >= kSlotCount) return offer;
    if (PutOnClipboard(index))
        program_.GetClipPic();
    else
        program_.ShowClipboard();
    OfferFile(index, offer);
    return offer;
}

// An empty slot has nothing to show: an open preview keeps its picture.
void PictureSlots::ShowPreview(int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    const std::wstring& tag = tags_[slot];
    if (tag.empty() || !fs_.FileExists(tag)) return;
    preview_.ShowPicture(tag);
}

// The system is asked only once the file is there, and its answer is told:
// a wallpaper that silently stays as it was looks like a program fault.
void PictureSlots::PopupWallpaper() {
    const int slot = popupSlot_;
    const std::string file = view_.SlotPictureFile(slot);
    if (file.empty()) {
        prompt_.Tell(kProgramTitle,
                     L"Picture " + std::to_wstring(slot + 1) +
                         L" is empty: there is no picture to set as the wallpaper.",
                     Prompt::Icon::kInformation);
        return;
    }
    // Where the drive root refuses files, as it does for a normal user, the
    // user's own folder takes the file.
    std::wstring path(kWallpaperPath);
    IoResult written = fs_.ReplaceAtomically(path, file);
    std::wstring tried = path + L"\r\n" + written.reason;
    if (!written) {
        std::wstring folder = wallpaper_.LocalDataFolder();
        if (!folder.empty()) {
            if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
            path = folder + std::wstring(kWallpaperName);
            written = fs_.ReplaceAtomically(path, file);
            tried += L"\r\n\r\n" + path + L"\r\n" + written.reason;
        }
    }
    if (!written) {
        prompt_.Tell(kProgramTitle, L"The wallpaper file could not be written:\r\n\r\n" + tried,
                     Prompt::Icon::kExclamation);
        return;
    }
    if (const IoResult set = wallpaper_.SetWallpaper(path, true); !set)
        prompt_.Tell(kProgramTitle,
                     L"Windows did not take the picture as the desktop wallpaper:\r\n" + path +
                         L"\r\n\r\n" + set.reason,
                     Prompt::Icon::kExclamation);
}

}  // namespace quillet
