#include "clipboard_commands.h"

#include <optional>

namespace quillet {

void ClipboardCommands::Show() {
    const std::wstring text = clipboard_.Text().value_or(std::wstring());
    view_.SetClipboardText(text.empty() || !clipboard_.Private() ? text : std::wstring());
    view_.SetClipboardLength(LengthText(text.size()));
}

void ClipboardCommands::ShowPicture() {
    view_.SetClipboardText(L"Picture");
    view_.SetClipboardLength(L"");
}

std::wstring ClipboardCommands::Caption() {
    const std::wstring text = clipboard_.Text().value_or(std::wstring());
    return text.empty() || !clipboard_.Private() ? text : std::wstring(kPrivateText);
}

// A clipboard without text (a picture, files) is left as it is: replacing it
// with an empty text would destroy what the user copied.
template <typename Change> void ClipboardCommands::Rewrite(Change change) {
    if (const std::optional<std::wstring> text = clipboard_.Text()) {
        clipboard_.Clear();
        clipboard_.SetText(change(*text));
    }
    Show();
    options_.BeepIfSounds();
}

void ClipboardCommands::Lower() {
    Rewrite([this](std::wstring_view t) { return cases_.Lower(t); });
}

void ClipboardCommands::Upper() {
    Rewrite([this](std::wstring_view t) { return cases_.Upper(t); });
}

void ClipboardCommands::OppositeCase() {
    Rewrite([](std::wstring_view t) { return quillet::OppositeCase(t); });
}

void ClipboardCommands::Empty() {
    clipboard_.Clear();
    view_.SetClipboardText(L"");
}

// With no address found the clipboard keeps what the user had on it.
void ClipboardCommands::AddAddresses(HostResolver& resolver, Prompt& prompt) {
    const std::wstring addresses = GetIPAddress(resolver);
    if (!addresses.empty()) clipboard_.AddText(addresses);
    options_.BeepIfSounds();
    Show();
    prompt.Tell(L"IP Address", IPAddressMessage(addresses), Prompt::Icon::kNone);
}

}  // namespace quillet
