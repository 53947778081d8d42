// Handing documents, web addresses and mails to the desktop, and the texts
// of the Help menu's mails.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The maker's addresses, in this one place.
inline constexpr std::wstring_view kHomePage = L"https://www.brindlesoftware.example/";
inline constexpr std::wstring_view kProductPage =
    L"https://www.brindlesoftware.example/quilletpro.html";
inline constexpr std::wstring_view kDownloadPage =
    L"https://www.brindlesoftware.example/download/quilletpro-setup.exe";
inline constexpr std::wstring_view kFeedbackMail = L"feedback@brindlesoftware.example";
inline constexpr std::wstring_view kHelpMail = L"help@brindlesoftware.example";

inline constexpr int kShowDefault = 10;  // SW_SHOWDEFAULT

// Opens a file, program or address with what the desktop associates with it.
// Nothing is reported: the desktop may have nothing to open it with.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void ShellExec(std::wstring_view operation, std::wstring_view file,
                           std::wstring_view parameters, std::wstring_view directory,
                           int showCmd) = 0;
};

// "mailto:" of the recommendation mail, with no recipient.
std::wstring TellFriendAddress();
// "mailto:" of the feedback mail, the version in its subject.
std::wstring FeedbackAddress(int major, int minor, int revision);

// A header value of a "mailto:" address as RFC 6068 wants it: blanks and
// every other character outside its unreserved set as %XX of its UTF-8
// bytes. The mail program shows the text as it was.
std::wstring MailtoEncoded(std::wstring_view text);
// "mailto:" `to` "?subject=" and the encoded subject.
std::wstring MailAddress(std::wstring_view to, std::wstring_view subject);

}  // namespace quillet
