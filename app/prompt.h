// The questions, answers and desktop facts the core asks for through small
// seams: message boxes, an input box, the keyboard's state and the clock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Questions and messages, as message boxes in the program.
class Prompt {
  public:
    virtual ~Prompt() = default;
    enum class Icon { kNone, kQuestion, kExclamation, kInformation, kCritical };
    virtual bool AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) = 0;
    // A destructive command's confirmation: exclamation icon, the negative
    // (second) button the default. True when the user goes ahead.
    enum class Buttons { kOkCancel, kYesNo };
    virtual bool Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) = 0;
    virtual void Tell(std::wstring_view title, std::wstring_view text, Icon icon) = 0;
    // Retry (the default) or Cancel, with the exclamation icon: true for Retry.
    virtual bool AskRetry(std::wstring_view title, std::wstring_view text) = 0;
};

// A one-line answer from the user: nothing when cancelled.
class InputBox {
  public:
    virtual ~InputBox() = default;
    virtual std::optional<std::wstring> Ask(std::wstring_view title, std::wstring_view prompt) = 0;
};

// Keys held down at the moment of a click (virtual-key codes).
class KeyState {
  public:
    virtual ~KeyState() = default;
    virtual bool IsDown(int virtualKey) const = 0;
};

// The date and time in the user's regional formats, and waiting.
class RegionalClock {
  public:
    virtual ~RegionalClock() = default;
    virtual std::wstring ShortDate() = 0;
    virtual std::wstring TimeWithSeconds() = 0;
    virtual void Wait(int milliseconds) = 0;
};

}  // namespace quillet
