// The help topics' texts, the version line and the mail addresses.
#include <gtest/gtest.h>

#include <string>

#include "clipboard.h"
#include "help/help_topics.h"
#include "store/encoding.h"
#include "util/shell_launch.h"

namespace quillet {
namespace {

// What a mail program makes of an encoded header value.
std::wstring MailtoDecoded(std::wstring_view encoded) {
    std::string bytes;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == L'%' && i + 2 < encoded.size()) {
            bytes += static_cast<char>(std::stoi(
                std::string(encoded.begin() + i + 1, encoded.begin() + i + 3), nullptr, 16));
            i += 2;
        } else {
            bytes += static_cast<char>(encoded[i]);
        }
    }
    return WideFromUtf8(bytes);
}

// Each topic's button caption and the title its text opens with, once; the
// text is paragraphs parted by one blank line, with CR LF breaks only (a
// text box shows nothing else as a break), and no limit the program does
// not have.
TEST(HelpTopics, EachTopicHasItsCaptionItsTitleAndItsParagraphs) {
    const std::pair<const wchar_t*, const wchar_t*> topics[] = {
        {L"General", L"General"},    {L"Stores", L"Stores"},
        {L"Tips", L"Tips"},          {L"Pro", L"Pro"},
        {L"Pictures", L"Pictures"},  {L"Settings", L"Settings"},
        {L"Tray", L"Tray"},          {L"Hotkeys", L"HotKeys"},
        {L"Case", L"Changing Case"}, {L"Uninstall", L"Uninstalling Quillet Pro"}};
    for (int t = 1; t <= kHelpTopicCount; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(HelpButtonCaption(t), topics[t - 1].first);
        const std::wstring text = HelpTopicText(t);
        const std::wstring head = std::wstring(topics[t - 1].second) + L"\r\n\r\n";
        ASSERT_EQ(text.rfind(head, 0), 0u);
        EXPECT_GT(text.size(), head.size() + 40);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\r') {
                EXPECT_EQ(text.substr(i, 2), L"\r\n") << i;
            }
            if (text[i] == L'\n') {
                EXPECT_EQ(text[i - 1], L'\r') << i;
            }
        }
        EXPECT_EQ(text.find(L"\r\n\r\n\r\n"), std::wstring::npos);
        EXPECT_NE(text.back(), L'\n');
        EXPECT_EQ(text.find(L"32,000"), std::wstring::npos);
        EXPECT_EQ(text.find(L"32000"), std::wstring::npos);
    }
    for (int none : {0, 11})
        EXPECT_TRUE(HelpButtonCaption(none).empty() && HelpTopicText(none).empty());
}

// The example of the Case topic is what the command does.
TEST(HelpTopics, OppositeCaseExampleHolds) {
    ASSERT_NE(HelpTopicText(9).find(L"bRINDLE sOFTWARE becomes Brindle Software"),
              std::wstring::npos);
    EXPECT_EQ(OppositeCase(L"bRINDLE sOFTWARE"), L"Brindle Software");
}

TEST(VersionLine, TwoBlanksBeforeTheNumbersAndNoneLeftInAMailAddress) {
    EXPECT_EQ(VersionText({2, 7, 45}), L"Version  2.7.45");
    EXPECT_EQ(VersionSubject({2, 7, 45}), L"Quillet Pro - Version  2.7.45");
    EXPECT_EQ(HelpMailAddress({2, 7, 45}),
              L"mailto:help@brindlesoftware.example"
              L"?subject=Quillet%20Pro%20-%20Version%20%202.7.45");
    EXPECT_EQ(AboutMailAddress({2, 7, 45}),
              L"mailto:" + std::wstring(kFeedbackMail) +
                  L"?subject=Quillet%20Pro%20-%20Version%20%202.7.45");
}

TEST(MailAddresses, EncodingKeepsWhatTheUserSees) {
    EXPECT_EQ(MailtoEncoded(L"a&b=c?d#e%f g"), L"a%26b%3Dc%3Fd%23e%25f%20g");
    EXPECT_EQ(MailtoEncoded(L"-._~!$'()*+,;:@"), L"-._~!$'()*+,;:@");
    EXPECT_EQ(MailtoEncoded(L"\x017C\x00F3\x0142w\r\n"), L"%C5%BC%C3%B3%C5%82w%0D%0A");
    for (std::wstring s : {std::wstring(L"Quillet Pro - Version  2.7.45"),
                           std::wstring(L"R&D? 100% \"quoted\" <tag> [x] {y} |z| \\ ^ `"),
                           std::wstring(L"\x017C\x00F3\x0142w \x4E2D\x6587 \U0001F600")}) {
        const std::wstring encoded = MailtoEncoded(s);
        for (wchar_t c : encoded) EXPECT_TRUE(c > L' ' && c < 0x7F) << int(c);
        EXPECT_EQ(MailtoDecoded(encoded), s);
    }
    EXPECT_EQ(MailAddress(L"x@y.example", L"a b"), L"mailto:x@y.example?subject=a%20b");
}

}  // namespace
}  // namespace quillet
