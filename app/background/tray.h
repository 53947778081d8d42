// What the tray icon's clicks and its menu's items do, over the few calls
// they need of the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "background/ModuleTray.h"
#include "background/tray_view.h"

namespace quillet {

class TrayServices {
  public:
    virtual ~TrayServices() = default;
    virtual int ShownStore() const = 0;
    virtual const std::wstring& StoreCaption(int store) const = 0;
    virtual std::wstring SlotText(int slot) const = 0;
    // The clipboard's text as the menu may show it: a private one hidden.
    virtual std::wstring ClipboardCaption() = 0;
    virtual void ShowClipboard() = 0;
    // The window back from the tray; `inFront` lifts it above the others.
    virtual void ShowMainWindow(bool inFront) = 0;
    // A filled slot chosen from the menu goes to the clipboard.
    virtual void CopySlotFromMenu(int slot) = 0;
    virtual void PasteSlot(int slot) = 0;
    // A store label's click, with its change check.
    virtual void ChooseStore(int store) = 0;
    virtual void ShowHelp() = 0;
};

class Tray {
  public:
    Tray(TrayView& view, TrayServices& program) : view_(view), program_(program) {}

    void IconEvent(uint32_t mouseMessage);
    TrayMenu Menu() const;
    void StoreChosen(int store) { program_.ChooseStore(store); }
    void SlotChosen(int slot);
    void HelpChosen() { program_.ShowHelp(); }
    void OpenChosen() { program_.ShowMainWindow(false); }

  private:
    TrayView& view_;
    TrayServices& program_;
};

}  // namespace quillet
