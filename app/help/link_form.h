// What the help and About windows' logic shares: the links that are red
// under the mouse, opening a link, and the stay-on-top rule.
#pragma once

#include <string_view>

#include "help/help_topics.h"
#include "help/info_windows.h"

namespace quillet {

class Shell;

class LinkView {
  public:
    virtual ~LinkView() = default;
    virtual void SetTopMost(bool onTop) = 0;
};

class LinkForm {
  public:
    virtual ~LinkForm() = default;

    virtual void Form_Load() = 0;
    // The red follows the mouse from link to link; the background makes
    // every link blue, and so does leaving the link the mouse was over.
    void Link_MouseMove(Link link) { Hover(link); }
    void Link_MouseLeave(Link link);
    void Form_MouseMove() { Hover(Link::kNone); }
    // The main window's own stay-on-top choice comes back.
    void Form_Unload();

    Link Hovered() const { return hover_.Hovered(); }

  protected:
    LinkForm(LinkView& view, InfoContext& main, Shell& shell, ProgramVersion version)
        : view_(view), main_(main), shell_(shell), version_(version) {}

    // For Form_Load: a window opened again starts with every link blue,
    // wherever the mouse was.
    void ResetLinks();
    // For Form_Load: topmost while the main window stays on top.
    void FollowMainOnTop();
    // A beep when the sounds are on, then the desktop opens the address.
    void Open(std::wstring_view address);
    ProgramVersion Version() const { return version_; }

  private:
    // Draws the links in their colours.
    virtual void ShowLinks(LinkColours colours) = 0;
    void Hover(Link link);

    LinkView& view_;
    InfoContext& main_;
    Shell& shell_;
    ProgramVersion version_;
    LinkHover hover_;
};

}  // namespace quillet
