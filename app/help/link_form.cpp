// The help and About windows' shared logic.
#include "help/link_form.h"

#include "util/shell_launch.h"

namespace quillet {

void LinkForm::Link_MouseLeave(Link link) {
    hover_.Leave(link);
    ShowLinks(hover_.Colours());
}

void LinkForm::Form_Unload() {
    main_.ApplyMainOnTop();
}

void LinkForm::ResetLinks() {
    hover_ = LinkHover();
    ShowLinks(hover_.Colours());
}

void LinkForm::FollowMainOnTop() {
    if (main_.StaysOnTop()) view_.SetTopMost(true);
}

void LinkForm::Open(std::wstring_view address) {
    main_.BeepIfSounds();
    shell_.ShellExec(L"open", address, L"", L"", kShowDefault);
}

void LinkForm::Hover(Link link) {
    hover_.MoveOver(link);
    ShowLinks(hover_.Colours());
}

}  // namespace quillet
