// What the tray icon and its menu do to the program.
#include "main_form.h"

namespace quillet {

void MainForm::TrayIcon_Callback(uint32_t mouseMessage) {
    switch (DecodeTrayCallback(mouseMessage)) {
        case TrayIconEvent::kShowWindow:
            view_.ShowNormal();
            ShowClipboard();
            // Up through every other window, then back to the user's choice.
            view_.SetTopMost(true);
            view_.SetTopMost(options_.stayOnTop);
            break;
        case TrayIconEvent::kShowMenu:
            ShowClipboard();
            if (windows_.tray) windows_.tray->ShowMenu(CurrentTrayMenu());
            break;
        case TrayIconEvent::kNone:
            break;
    }
}

TrayMenu MainForm::CurrentTrayMenu() const {
    std::array<std::wstring, kSlotCount> texts;
    if (!stores_.PicturesShown())
        for (int i = 0; i < kSlotCount; ++i) texts[i] = view_.Rows().Text(i);
    std::wstring clip = clipboard_.Text().value_or(std::wstring());
    if (!clip.empty() && clipboard_.Private()) clip = kPrivateText;
    return BuildTrayMenu(stores_.Current(), captions_, texts, clip);
}

void MainForm::menuTrayStore_Click(int store) {
    lblStore_Click(store);
}

// A filled slot is copied, an empty one takes the clipboard; the window
// stays as it is.
void MainForm::mnuTrayRef_Click(int slot) {
    if (stores_.PicturesShown() || slot < 0 || slot >= kSlotCount) return;
    if (!view_.Rows().Text(slot).empty())
        CopySlot(slot);
    else
        PasteSlot(slot);
}

void MainForm::menuTrayHelp_click() {
    if (windows_.info) windows_.info->ShowHelp();
}

void MainForm::traymnuOpen_Click() {
    view_.ShowNormal();
    ShowClipboard();
}

}  // namespace quillet
