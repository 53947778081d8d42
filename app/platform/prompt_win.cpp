// Message boxes for the prompt the core asks its questions through.
#include "platform/prompt_win.h"

#include <string>

namespace quillet {

namespace {

UINT IconFlag(Prompt::Icon icon) {
    switch (icon) {
        case Prompt::Icon::kQuestion:
            return MB_ICONQUESTION;
        case Prompt::Icon::kExclamation:
            return MB_ICONEXCLAMATION;
        case Prompt::Icon::kInformation:
            return MB_ICONINFORMATION;
        case Prompt::Icon::kCritical:
            return MB_ICONERROR;
        case Prompt::Icon::kNone:
            break;
    }
    return 0;
}

}  // namespace

int MessageBoxPrompt::Show(std::wstring_view title, std::wstring_view text, UINT type) const {
    return ::MessageBoxW(owner_, std::wstring(text).c_str(), std::wstring(title).c_str(), type);
}

bool MessageBoxPrompt::AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) {
    return Show(title, text, MB_YESNO | IconFlag(icon)) == IDYES;
}

bool MessageBoxPrompt::Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) {
    const bool ok = buttons == Buttons::kOkCancel;
    const int answer =
        Show(title, text, (ok ? MB_OKCANCEL : MB_YESNO) | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    return answer == (ok ? IDOK : IDYES);
}

void MessageBoxPrompt::Tell(std::wstring_view title, std::wstring_view text, Icon icon) {
    Show(title, text, MB_OK | IconFlag(icon));
}

bool MessageBoxPrompt::AskRetry(std::wstring_view title, std::wstring_view text) {
    return Show(title, text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

}  // namespace quillet
