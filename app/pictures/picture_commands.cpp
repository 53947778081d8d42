// The picture slots' own commands of the main window: a picture file dropped
// on a slot, a slot dragged out, the preview and the wallpaper.
#include "main_form.h"

#include "pictures/picture_files.h"
#include "resource.h"

namespace quillet {

namespace {

constexpr std::wstring_view kNotAPicture =
    L"Sorry but that file is either not a valid picture file or not supported\r\n"
    L"Or otherwise there is no picture here to display";

}  // namespace

void MainForm::imgPic_OLEDragDrop(int index, const DropContent& dropped) {
    if (index < 0 || index >= kSlotCount || !dropped.hasFiles) return;
    // The file is read whole and closed before any slot file moves, so a
    // slot's own file, or the undo file, can be dropped as well.
    if (!pictures_.LoadSlotPicture(index, dropped.firstFile)) {
        prompt_.Tell(L"Error", kNotAPicture, Prompt::Icon::kInformation);
        return;
    }
    pictures_.FitSlotPicture(index);
    const int16_t undoSlot = undoPicSlot_;
    const bool undoable = pictureUndo_;
    undoPicSlot_ = static_cast<int16_t>(index);
    pictureUndo_ = true;
    view_.SetEnabled(IDM_UNDO, true);
    view_.SetEnabled(IDM_POPUNDO, true);
    GetClipPic();

    const std::wstring path = SlotPicturePath(index);
    const IoResult stored = StoreSlotPicture(fs_, index, pictures_.SlotPictureFile(index));
    if (stored) {
        pictureTag_[index] = path;
        return;
    }
    // A picture the slot cannot keep would be gone at the next start: the
    // slot shows its file again, and Undo offers what it offered before.
    if (!fs_.FileExists(path) || !pictures_.LoadSlotPicture(index, path))
        pictures_.SetSlotPicture(index, {});
    pictures_.FitSlotPicture(index);
    undoPicSlot_ = undoSlot;
    pictureUndo_ = undoable;
    view_.SetEnabled(IDM_UNDO, undoable);
    view_.SetEnabled(IDM_POPUNDO, undoable);
    prompt_.Tell(kProgramTitle,
                 L"The picture could not be stored in\r\n" + path + L"\r\n\r\n" + stored.reason,
                 Prompt::Icon::kExclamation);
}

// The drag carries the slot's file; the clipboard gets its picture as well.
// A file that is not there is not offered: the target would fail on it.
DragOffer MainForm::imgPic_OLEStartDrag(int index) {
    DragOffer offer;
    if (index < 0 || index >= kSlotCount) return offer;
    clipboard_.Clear();
    const std::vector<uint8_t> dib = pictures_.SlotPictureDib(index);
    if (!dib.empty() && clipboard_.SetDib(dib))
        GetClipPic();
    else
        ShowClipboard();
    const std::wstring& tag = pictureTag_[index];
    if (!tag.empty() && fs_.FileExists(tag)) offer.files.push_back(tag);
    return offer;
}

// An empty slot has nothing to show: an open preview keeps its picture.
void MainForm::ShowPreview(int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    const std::wstring& tag = pictureTag_[slot];
    if (tag.empty() || !fs_.FileExists(tag)) return;
    windows_.preview.ShowPicture(tag);
}

// The system is asked only once the file is there, and its answer is told:
// a wallpaper that silently stays as it was looks like a program fault.
void MainForm::popWallpaper_Click() {
    Wallpaper& wallpaper = desktop_.wallpaper;
    const int slot = popupSlot_;
    const std::string file = pictures_.SlotPictureFile(slot);
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
        std::wstring folder = wallpaper.LocalDataFolder();
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
    if (const IoResult set = wallpaper.SetWallpaper(path, true); !set)
        prompt_.Tell(kProgramTitle,
                     L"Windows did not take the picture as the desktop wallpaper:\r\n" + path +
                         L"\r\n\r\n" + set.reason,
                     Prompt::Icon::kExclamation);
}

}  // namespace quillet
