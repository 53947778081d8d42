// The help window's logic.
#include "help/help_form.h"

#include "util/shell_launch.h"

namespace quillet {

void HelpForm::Form_Load() {
    ResetLinks();
    cmdHelp_Click(1);
    FollowMainOnTop();
}

void HelpForm::cmdHelp_Click(int topic) {
    if (topic < 1 || topic > kHelpTopicCount) return;
    topic_ = topic;
    for (int t = 1; t <= kHelpTopicCount; ++t) view_.SetTopicBold(t, t == topic);
    view_.SetTopicText(HelpTopicText(topic));
}

void HelpForm::Label2_Click() {
    Open(HelpMailAddress(Version()));
}

void HelpForm::Picture1_Click() {
    Open(kHomePage);
}

}  // namespace quillet
