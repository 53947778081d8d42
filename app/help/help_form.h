// The help window's logic: the chosen topic, and its two links, the mail to
// the maker and the logo that opens the home page.
#pragma once

#include <string_view>

#include "help/link_form.h"

namespace quillet {

class HelpView : public LinkView {
  public:
    virtual void SetTopicText(std::wstring_view text) = 0;
    virtual void SetTopicBold(int topic, bool bold) = 0;  // the button of topic 1 ... 10
    virtual void SetMailColour(unsigned colour) = 0;
};

class HelpForm final : public LinkForm {
  public:
    HelpForm(HelpView& view, InfoContext& main, Shell& shell,
             ProgramVersion version = kProgramVersion)
        : LinkForm(view, main, shell, version), view_(view) {}

    // The window opens on the General topic, topmost while the main window
    // stays on top.
    void Form_Load() override;
    // cmdHelp1_Click ... cmdHelp10_Click: only the clicked topic's button is bold.
    void cmdHelp_Click(int topic);
    void Label2_Click();    // the mail link
    void Picture1_Click();  // the maker's logo: the home page
    void Label2_MouseMove() { Link_MouseMove(Link::kMail); }
    void Label2_MouseLeave() { Link_MouseLeave(Link::kMail); }

    int Topic() const { return topic_; }

  private:
    // The logo has no colour of its own: only the mail link changes.
    void ShowLinks(LinkColours colours) override { view_.SetMailColour(colours.mail); }

    HelpView& view_;
    int topic_ = 0;
};

}  // namespace quillet
