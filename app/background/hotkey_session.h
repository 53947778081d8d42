// The hotkeys while the program runs: the component started once at start-up
// when the option is on, what a press asks for, and what the user is told
// when the option changes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "background/hotkey_host.h"
#include "background/hotkeys.h"
#include "prompt.h"

namespace quillet {

class HotkeySession {
  public:
    HotkeySession(HotkeyHost& host, Prompt& prompt) : host_(host), prompt_(prompt) {}

    void Start(std::function<void(int32_t id)> onPress);
    // Frees every combination; nothing when they were never started.
    void Stop();
    std::optional<HotkeyAction> Press(int32_t id, bool hotkeysOn) const {
        return bindings_.OnPress(id, hotkeysOn);
    }
    // After the user switched the option: a restart may be needed, and the
    // combinations that could not be had are told once.
    void Toggled(bool hotkeysOn);
    const HotkeyBindings& Bindings() const { return bindings_; }

  private:
    HotkeyHost& host_;
    Prompt& prompt_;
    HotkeyBindings bindings_;
    bool started_ = false;
    bool missingTold_ = false;
};

}  // namespace quillet
