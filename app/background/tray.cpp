// What the tray icon and its menu do to the program.
#include "background/tray.h"

#include "store/Module1.h"

namespace quillet {

void Tray::IconEvent(uint32_t mouseMessage) {
    switch (DecodeTrayCallback(mouseMessage)) {
        case TrayIconEvent::kShowWindow:
            program_.ShowMainWindow(true);
            break;
        case TrayIconEvent::kShowMenu:
            program_.ShowClipboard();
            view_.ShowMenu(Menu());
            break;
        case TrayIconEvent::kNone:
            break;
    }
}

TrayMenu Tray::Menu() const {
    const int store = program_.ShownStore();
    std::array<std::wstring, kStoreCount> captions;
    for (int n = 0; n < kStoreCount; ++n) captions[n] = program_.StoreCaption(n);
    std::array<std::wstring, kSlotCount> texts;
    if (store != kPicturesStore)
        for (int i = 0; i < kSlotCount; ++i) texts[i] = program_.SlotText(i);
    return BuildTrayMenu(store, captions, texts, program_.ClipboardCaption());
}

// A filled slot is copied, an empty one takes the clipboard; the window
// stays as it is.
void Tray::SlotChosen(int slot) {
    if (program_.ShownStore() == kPicturesStore || slot < 0 || slot >= kSlotCount) return;
    if (!program_.SlotText(slot).empty())
        program_.CopySlotFromMenu(slot);
    else
        program_.PasteSlot(slot);
}

}  // namespace quillet
