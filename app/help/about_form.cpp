// The About window's logic.
#include "help/about_form.h"

#include "main_form.h"
#include "util/shell_launch.h"

namespace quillet {

void AboutForm::Form_Load() {
    if (main_.CurrentOptions().stayOnTop) view_.SetTopMost(true);
    view_.SetVersionText(VersionText(version_));
    hover_ = LinkHover();
    view_.SetLinkColours(hover_.Colours());
}

void AboutForm::lblHelp3_Click() {
    main_.BeepIfSounds();
    shell_.ShellExec(L"open", AboutMailAddress(version_), L"", L"", kShowDefault);
}

void AboutForm::lblHyperlink_Click() {
    main_.BeepIfSounds();
    shell_.ShellExec(L"open", kHomePage, L"", L"", kShowDefault);
}

void AboutForm::Link_MouseLeave(Link link) {
    hover_.Leave(link);
    view_.SetLinkColours(hover_.Colours());
}

void AboutForm::Form_Unload() {
    main_.ApplyMainOnTop();
}

void AboutForm::Hover(Link link) {
    hover_.MoveOver(link);
    view_.SetLinkColours(hover_.Colours());
}

}  // namespace quillet
