// The help window's logic: the chosen topic, the mail and web links and the
// stay-on-top rule, over a view the Win32 window implements.
#pragma once

#include <string_view>

#include "help/help_topics.h"

namespace quillet {

class MainForm;
class Shell;

class HelpView {
  public:
    virtual ~HelpView() = default;
    virtual void SetTopicText(std::wstring_view text) = 0;
    virtual void SetTopicBold(int topic, bool bold) = 0;  // the button of topic 1 ... 10
    virtual void SetMailColour(unsigned colour) = 0;
    virtual void SetTopMost(bool onTop) = 0;
};

class HelpForm {
  public:
    HelpForm(HelpView& view, MainForm& main, Shell& shell, ProgramVersion version = kProgramVersion)
        : view_(view), main_(main), shell_(shell), version_(version) {}

    // The window opens on the General topic, topmost while the main window
    // stays on top.
    void Form_Load();
    // cmdHelp1_Click ... cmdHelp10_Click: only the clicked topic's button is bold.
    void cmdHelp_Click(int topic);
    void Label2_Click();    // the mail link
    void Picture1_Click();  // the maker's logo: the home page
    void Label2_MouseMove();
    void Label2_MouseLeave();
    void Form_MouseMove();
    // The main window's own stay-on-top choice comes back.
    void Form_Unload();

    int Topic() const { return topic_; }
    Link Hovered() const { return hover_.Hovered(); }

  private:
    void ShowHover();

    HelpView& view_;
    MainForm& main_;
    Shell& shell_;
    ProgramVersion version_;
    int topic_ = 0;
    LinkHover hover_;
};

}  // namespace quillet
