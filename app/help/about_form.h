// The About window's logic: the version line and its two links, the
// feedback mail and the home page.
#pragma once

#include <string_view>

#include "help/link_form.h"

namespace quillet {

class AboutView : public LinkView {
  public:
    virtual void SetVersionText(std::wstring_view text) = 0;  // lblHelp4
    virtual void SetLinkColours(LinkColours colours) = 0;     // lblHelp3, lblHyperlink
};

class AboutForm final : public LinkForm {
  public:
    AboutForm(AboutView& view, InfoContext& main, Shell& shell,
              ProgramVersion version = kProgramVersion)
        : LinkForm(view, main, shell, version), view_(view) {}

    void Form_Load() override;
    void lblHelp3_Click();      // the feedback mail
    void lblHyperlink_Click();  // the home page
    void lblHelp3_MouseMove() { Link_MouseMove(Link::kMail); }
    void lblHyperlink_MouseMove() { Link_MouseMove(Link::kWeb); }

  private:
    void ShowLinks(LinkColours colours) override { view_.SetLinkColours(colours); }

    AboutView& view_;
};

}  // namespace quillet
