// The maker's addresses and the mail texts handed to the desktop.
#include "util/shell_launch.h"

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

}  // namespace quillet
