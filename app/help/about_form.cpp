// The About window's logic.
#include "help/about_form.h"

#include "util/shell_launch.h"

namespace quillet {

void AboutForm::Form_Load() {
    FollowMainOnTop();
    view_.SetVersionText(VersionText(Version()));
    ResetLinks();
}

void AboutForm::lblHelp3_Click() {
    Open(AboutMailAddress(Version()));
}

void AboutForm::lblHyperlink_Click() {
    Open(kHomePage);
}

}  // namespace quillet
