// Pasting a slot into the program the user works in, right after a hotkey or
// the tray menu has put the slot's text on the clipboard: when to send the
// paste keys and when not, over the few desktop facts it needs.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillet {

// The desktop as the paste sees it.
class PasteDesktop {
  public:
    virtual ~PasteDesktop() = default;
    enum class Foreground { kNone, kOurs, kOther };
    virtual Foreground Active() const = 0;
    // The user still holds a key that would change what Ctrl+V means.
    virtual bool ModifiersHeld() const = 0;
    // Ctrl+V into the active window.
    virtual void SendPaste() = 0;
    // Activates the window that was in front when the tray menu opened; false
    // when there was none or it is gone.
    virtual bool ReturnToWindowBeforeMenu() = 0;
    virtual int64_t Milliseconds() const = 0;
    virtual void Pause(int milliseconds) = 0;
    // Drops the hotkey presses that came in and wait to be handled.
    virtual void ForgetWaitingPresses() = 0;
};

enum class PasteOrigin { kHotkey, kTrayMenu };

enum class PasteOutcome {
    kSent,
    kOff,        // the option is off
    kNothing,    // the slot was empty or nothing was copied
    kOurWindow,  // pasting would go into the program itself
    kNoWindow,   // no window is active
    kKeysHeld,   // the user did not let go of the modifiers in time
};

class PasteAtOnce {
  public:
    // How long the user gets to let go of Ctrl and Alt, and how often the
    // keys are looked at meanwhile.
    static constexpr int kReleaseBound = 1000;
    static constexpr int kPollInterval = 5;

    explicit PasteAtOnce(PasteDesktop& desktop) : desktop_(desktop) {}

    // After `copied` went to the clipboard (empty when nothing did).
    PasteOutcome AfterCopy(bool on, std::wstring_view copied, PasteOrigin origin);

  private:
    PasteOutcome Target() const;

    PasteDesktop& desktop_;
};

}  // namespace quillet
