// What the help and About windows show and open: the ten help topics, the
// version text, the links' addresses and which link is drawn red.
#pragma once

#include <string>
#include <string_view>

#include "version.h"

namespace quillet {

// Topics are numbered 1 ... 10, as their buttons cmdHelp1 ... cmdHelp10.
inline constexpr int kHelpTopicCount = 10;

// The caption of a topic's button ("General" ... "Uninstall"); empty for a
// number that names no topic.
std::wstring_view HelpButtonCaption(int topic);
// What the text area shows for a topic: its title, a blank line, and its
// paragraphs separated by blank lines, with CR LF line breaks. Empty for a
// number that names no topic.
std::wstring HelpTopicText(int topic);

struct ProgramVersion {
    int major = 0, minor = 0, revision = 0;
};
inline constexpr ProgramVersion kProgramVersion{QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR,
                                                QUILLET_VERSION_REVISION};

// "Version  2.7.45": the About window's version line.
std::wstring VersionText(ProgramVersion version);
// "Quillet Pro - Version  2.7.45": the subject of the windows' mails.
std::wstring VersionSubject(ProgramVersion version);
// The help window's mail to the maker's help address, and the About
// window's to the feedback address, each with that subject.
std::wstring HelpMailAddress(ProgramVersion version);
std::wstring AboutMailAddress(ProgramVersion version);

// Link colours as Windows colour values (red in the low byte).
inline constexpr unsigned kLinkBlue = 0xFF0000;
inline constexpr unsigned kLinkRed = 0x0000FF;

enum class Link { kNone, kMail, kWeb };

struct LinkColours {
    unsigned mail = kLinkBlue;
    unsigned web = kLinkBlue;
    friend bool operator==(const LinkColours&, const LinkColours&) = default;
};

// Which link is under the mouse, as the moves over a window report it: a
// move onto a link makes it the one, a move over the window's background
// or leaving a link makes none. A link's leave that comes after the next
// link's move changes nothing.
class LinkHover {
  public:
    void MoveOver(Link link) { hovered_ = link; }
    void Leave(Link link) {
        if (hovered_ == link) hovered_ = Link::kNone;
    }
    Link Hovered() const { return hovered_; }
    // The link under the mouse is red, every other one blue.
    LinkColours Colours() const;

  private:
    Link hovered_ = Link::kNone;
};

}  // namespace quillet
