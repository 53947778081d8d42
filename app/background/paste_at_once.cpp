// When a slot copied by a hotkey or the tray menu is also pasted, and the
// wait for the user's fingers before the paste keys go out.
#include "background/paste_at_once.h"

namespace quillet {

PasteOutcome PasteAtOnce::Target() const {
    switch (desktop_.Active()) {
        case PasteDesktop::Foreground::kOther:
            return PasteOutcome::kSent;
        case PasteDesktop::Foreground::kOurs:
            return PasteOutcome::kOurWindow;
        case PasteDesktop::Foreground::kNone:
            break;
    }
    return PasteOutcome::kNoWindow;
}

PasteOutcome PasteAtOnce::AfterCopy(bool on, std::wstring_view copied, PasteOrigin origin) {
    if (!on) return PasteOutcome::kOff;
    // An empty paste would only clear what the user selected over there.
    if (copied.empty()) return PasteOutcome::kNothing;
    // The menu took the foreground to show itself; the user chose the slot
    // for the window that was in front before.
    if (origin == PasteOrigin::kTrayMenu) desktop_.ReturnToWindowBeforeMenu();
    PasteOutcome target = Target();
    if (target != PasteOutcome::kSent) return target;
    // Ctrl+V sent while Alt is still down is Ctrl+Alt+V over there, and our
    // key-up of Ctrl would lift the Ctrl the user still holds.
    const int64_t start = desktop_.Milliseconds();
    bool released = true;
    while (released && desktop_.ModifiersHeld()) {
        released = desktop_.Milliseconds() - start < kReleaseBound;
        if (released) desktop_.Pause(kPollInterval);
    }
    // A hotkey held down repeats, and its presses queue up while this one
    // waits: pasted after the release, each would paste the slot again.
    desktop_.ForgetWaitingPresses();
    if (!released) return PasteOutcome::kKeysHeld;
    // The user may have switched windows while still holding the keys.
    target = Target();
    if (target == PasteOutcome::kSent) desktop_.SendPaste();
    return target;
}

}  // namespace quillet
