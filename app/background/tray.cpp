// What the tray icon and its menu do to the program.
#include "background/tray.h"

namespace quillet {

namespace {

constexpr int kStores = 16, kSlots = 10, kPicturesStore = 0;

}  // namespace

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
    std::array<std::wstring, kStores> captions;
    for (int n = 0; n < kStores; ++n) captions[n] = program_.CaptionOf(n);
    std::array<std::wstring, kSlots> texts;
    if (store != kPicturesStore)
        for (int i = 0; i < kSlots; ++i) texts[i] = program_.SlotText(i);
    return BuildTrayMenu(store, captions, texts, program_.ClipboardCaption());
}

// A filled slot is copied, an empty one takes the clipboard; the window
// stays as it is.
void Tray::SlotChosen(int slot) {
    if (program_.ShownStore() == kPicturesStore || slot < 0 || slot >= kSlots) return;
    if (!program_.SlotText(slot).empty())
        program_.CopySlot(slot);
    else
        program_.PasteSlot(slot);
}

}  // namespace quillet
