// The About window's logic: the version line, the two links with their
// hover colours, and the stay-on-top rule.
#pragma once

#include <string_view>

#include "help/help_topics.h"

namespace quillet {

class MainForm;
class Shell;

class AboutView {
  public:
    virtual ~AboutView() = default;
    virtual void SetVersionText(std::wstring_view text) = 0;  // lblHelp4
    virtual void SetLinkColours(LinkColours colours) = 0;     // lblHelp3, lblHyperlink
    virtual void SetTopMost(bool onTop) = 0;
};

class AboutForm {
  public:
    AboutForm(AboutView& view, MainForm& main, Shell& shell,
              ProgramVersion version = kProgramVersion)
        : view_(view), main_(main), shell_(shell), version_(version) {}

    void Form_Load();
    void lblHelp3_Click();      // the feedback mail
    void lblHyperlink_Click();  // the home page
    // The red follows the mouse from link to link; the background makes
    // both blue, and so does leaving the link the mouse was over.
    void lblHelp3_MouseMove() { Hover(Link::kMail); }
    void lblHyperlink_MouseMove() { Hover(Link::kWeb); }
    void Form_MouseMove() { Hover(Link::kNone); }
    void Link_MouseLeave(Link link);
    void Form_Unload();

    Link Hovered() const { return hover_.Hovered(); }

  private:
    void Hover(Link link);

    AboutView& view_;
    MainForm& main_;
    Shell& shell_;
    ProgramVersion version_;
    LinkHover hover_;
};

}  // namespace quillet
