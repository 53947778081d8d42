// The paste into another program on Windows: the foreground window, the
// held modifiers, Ctrl+V through SendInput, and the window the user was in
// before the tray menu took the foreground.
#pragma once

#include <windows.h>

#include "background/paste_at_once.h"

namespace quillet {

class SystemPasteDesktop final : public PasteDesktop {
  public:
    Foreground Active() const override;
    bool ModifiersHeld() const override;
    void SendPaste() override;
    bool ReturnToWindowBeforeMenu() override;
    int64_t Milliseconds() const override;
    void Pause(int milliseconds) override;
    void ForgetWaitingPresses() override;

    // Called as the tray menu is about to take the foreground.
    void NoteMenuOpening();

  private:
    HWND beforeMenu_ = nullptr;
};

}  // namespace quillet
