// The help window's logic.
#include "help/help_form.h"

#include "main_form.h"
#include "util/shell_launch.h"

namespace quillet {

void HelpForm::Form_Load() {
    hover_ = LinkHover();
    cmdHelp_Click(1);
    ShowHover();
    if (main_.CurrentOptions().stayOnTop) view_.SetTopMost(true);
}

void HelpForm::cmdHelp_Click(int topic) {
    if (topic < 1 || topic > kHelpTopicCount) return;
    topic_ = topic;
    for (int t = 1; t <= kHelpTopicCount; ++t) view_.SetTopicBold(t, t == topic);
    view_.SetTopicText(HelpTopicText(topic));
}

void HelpForm::Label2_Click() {
    main_.BeepIfSounds();
    shell_.ShellExec(L"open", HelpMailAddress(version_), L"", L"", kShowDefault);
}

void HelpForm::Picture1_Click() {
    main_.BeepIfSounds();
    shell_.ShellExec(L"open", kHomePage, L"", L"", kShowDefault);
}

void HelpForm::Label2_MouseMove() {
    hover_.MoveOver(Link::kMail);
    ShowHover();
}

void HelpForm::Label2_MouseLeave() {
    hover_.Leave(Link::kMail);
    ShowHover();
}

void HelpForm::Form_MouseMove() {
    hover_.MoveOver(Link::kNone);
    ShowHover();
}

void HelpForm::Form_Unload() {
    main_.ApplyMainOnTop();
}

void HelpForm::ShowHover() {
    view_.SetMailColour(hover_.Colours().mail);
}

}  // namespace quillet
