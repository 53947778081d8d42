#include "background/hotkey_session.h"

#include <string>
#include <utility>

namespace quillet {

void HotkeySession::Start(std::function<void(int32_t id)> onPress) {
    bindings_.SetUp(host_.StartHotkeys(std::move(onPress)), host_.Layout());
    started_ = true;
}

void HotkeySession::Stop() {
    if (started_) host_.StopHotkeys();
    started_ = false;
}

void HotkeySession::Toggled(bool hotkeysOn) {
    prompt_.Tell(L"Hotkeys",
                 L"The new setting may not take effect until Quillet has been Restarted.",
                 Prompt::Icon::kInformation);
    // The combinations the keyboard layout or another program keeps.
    const std::wstring missing = started_ ? bindings_.MissingMessage() : std::wstring();
    if (hotkeysOn && !missing.empty() && !missingTold_) {
        missingTold_ = true;
        prompt_.Tell(L"Hotkeys", missing, Prompt::Icon::kInformation);
    }
}

}  // namespace quillet
