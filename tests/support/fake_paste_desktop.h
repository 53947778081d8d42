// A desktop for the paste into another program: what is in front, when the
// user lets go of the keys, and a clock that moves only when the paste waits.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "background/paste_at_once.h"

namespace quillet::testing {

class FakePasteDesktop final : public PasteDesktop {
  public:
    static constexpr int64_t kNever = -1;

    Foreground active = Foreground::kOther;
    // What is active once the keys are up, when the user switched meanwhile.
    std::optional<Foreground> activeAfterRelease;
    int64_t releaseAt = 0;  // when the modifiers go up; kNever
    bool windowBeforeMenu = false;
    // Looks at the rest of the program the moment the keys go out.
    std::function<void()> onSend;

    int64_t now = 1000;  // not zero: the wait must measure from its own start
    int pauses = 0;
    int returns = 0;
    std::vector<int64_t> sentAt;
    int returnsBeforeFirstSend = -1;
    std::vector<int64_t> forgotAt;  // when waiting presses were dropped

    Foreground Active() const override {
        if (activeAfterRelease && !ModifiersHeld()) return *activeAfterRelease;
        return active;
    }
    bool ModifiersHeld() const override { return releaseAt == kNever || now < start + releaseAt; }
    void SendPaste() override {
        if (sentAt.empty()) returnsBeforeFirstSend = returns;
        sentAt.push_back(now - start);
        if (onSend) onSend();
    }
    bool ReturnToWindowBeforeMenu() override {
        ++returns;
        if (windowBeforeMenu) active = Foreground::kOther;
        return windowBeforeMenu;
    }
    int64_t Milliseconds() const override { return now; }
    void Pause(int milliseconds) override {
        ++pauses;
        now += milliseconds;
    }
    void ForgetWaitingPresses() override { forgotAt.push_back(now - start); }

  private:
    const int64_t start = now;
};

}  // namespace quillet::testing
