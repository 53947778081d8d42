// The maker's addresses and the mail texts handed to the desktop.
#include "util/shell_launch.h"

#include "store/encoding.h"

namespace quillet {

std::wstring TellFriendAddress() {
    std::wstring body;
    body += L"Hi,%0D%0A%0D%0A";
    body += L"Could I bring to your attention a program I use called Quillet Pro.%0D%0A%0D%0A";
    body +=
        L"It includes 150 storage locations, each holding up to 32,000 characters "
        L"(+ carriage returns).%0D%0A";
    body +=
        L"Allows you to drag the data to and from other applications and forms "
        L"(eg on-line forms).%0D%0A";
    body +=
        L"Drag in pictures directly from the web and makes .BMP files from any clipboard "
        L"pictures.%0D%0A";
    body +=
        L"Convert what is in the clipboard to lower case (or upper case - if Caps Lock was "
        L"accidentally left on).%0D%0A";
    body += L"plus much more... (trying it is needing it).%0D%0A%0D%0A";
    body += L"View it at the Brindle Software site%0D%0A";
    body += kProductPage;
    body += L"%0D%0A%0D%0Aor direct download from%0D%0A";
    body += kDownloadPage;
    body += L"%0D%0A%0D%0A";
    body += L"It is only US$14 (and there is a Free cut down version too).%0D%0A%0D%0A";
    body += L"I find it very useful, I think you would too.%0D%0A%0D%0ARegards%0D%0A%0D%0A";
    return L"mailto:?subject=Quillet Pro&Body=" + body;
}

std::wstring FeedbackAddress(int major, int minor, int revision) {
    return L"mailto:" + std::wstring(kFeedbackMail) + L"?subject=Quillet Pro" + L" - Version  " +
           std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
           std::to_wstring(revision);
}

// Letters, digits and the few marks a header value may carry as they are.
std::wstring MailtoEncoded(std::wstring_view text) {
    constexpr std::string_view kKept = "-._~!$'()*+,;:@";
    constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring out;
    for (const char c : Utf8FromWide(text)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool alphanumeric = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                                  (byte >= '0' && byte <= '9');
        if (alphanumeric || kKept.find(c) != std::string_view::npos) {
            out += static_cast<wchar_t>(byte);
        } else {
            out += L'%';
            out += static_cast<wchar_t>(kHex[byte >> 4]);
            out += static_cast<wchar_t>(kHex[byte & 15]);
        }
    }
    return out;
}

std::wstring MailAddress(std::wstring_view to, std::wstring_view subject) {
    return L"mailto:" + std::wstring(to) + L"?subject=" + MailtoEncoded(subject);
}

}  // namespace quillet
