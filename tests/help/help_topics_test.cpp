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

TEST(HelpTopics, TenButtonsWithTheirCaptions) {
    const wchar_t* captions[] = {L"General",  L"Stores", L"Tips",    L"Pro",  L"Pictures",
                                 L"Settings", L"Tray",   L"Hotkeys", L"Case", L"Uninstall"};
    for (int t = 1; t <= kHelpTopicCount; ++t) EXPECT_EQ(HelpButtonCaption(t), captions[t - 1]);
    EXPECT_TRUE(HelpButtonCaption(0).empty());
    EXPECT_TRUE(HelpButtonCaption(11).empty());
    EXPECT_TRUE(HelpTopicText(0).empty());
    EXPECT_TRUE(HelpTopicText(11).empty());
}

TEST(HelpTopics, EachTextIsItsTitleABlankLineAndItsParagraphs) {
    const wchar_t* titles[] = {
        L"General",  L"Stores", L"Tips",    L"Pro",           L"Pictures",
        L"Settings", L"Tray",   L"HotKeys", L"Changing Case", L"Uninstalling Quillet Pro"};
    for (int t = 1; t <= kHelpTopicCount; ++t) {
        SCOPED_TRACE(t);
        const std::wstring text = HelpTopicText(t);
        const std::wstring head = std::wstring(titles[t - 1]) + L"\r\n\r\n";
        ASSERT_EQ(text.rfind(head, 0), 0u);
        EXPECT_GT(text.size(), head.size() + 40);
        // A text box shows only CR LF pairs as line breaks.
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == L'\r') << i;
            }
            if (text[i] == L'\r') {
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == L'\n') << i;
            }
        }
        // Paragraphs are parted by one blank line, never more, and none is empty.
        EXPECT_EQ(text.find(L"\r\n\r\n\r\n"), std::wstring::npos);
        EXPECT_NE(text.back(), L'\n');
    }
    EXPECT_EQ(HelpTopicText(1).substr(HelpTopicText(1).size() - 8), L"Enjoy...");
}

// Where the program goes further than the first edition did, the help says
// what it does now.
TEST(HelpTopics, TextsDescribeTheProgramAsItIs) {
    const std::wstring pro = HelpTopicText(4);
    EXPECT_NE(pro.find(L"texts of any length in every slot"), std::wstring::npos);
    for (int t = 1; t <= kHelpTopicCount; ++t) {
        EXPECT_EQ(HelpTopicText(t).find(L"32,000"), std::wstring::npos) << t;
        EXPECT_EQ(HelpTopicText(t).find(L"32000"), std::wstring::npos) << t;
    }
    EXPECT_NE(HelpTopicText(6).find(L"kept in Unicode"), std::wstring::npos);
    const std::wstring hotkeys = HelpTopicText(8);
    EXPECT_NE(hotkeys.find(L"AltGr"), std::wstring::npos);
    EXPECT_NE(hotkeys.find(L"leaves that combination to the keyboard"), std::wstring::npos);
    const std::wstring last = L"\r\n\r\nHotKeys don't work when in the Picture Store P";
    EXPECT_EQ(hotkeys.substr(hotkeys.size() - last.size()), last);
    EXPECT_NE(HelpTopicText(7).find(L"Windows Explorer restarts, the icon comes back"),
              std::wstring::npos);
}

// The example of the Case topic is what the command does.
TEST(HelpTopics, OppositeCaseExampleHolds) {
    const std::wstring text = HelpTopicText(9);
    ASSERT_NE(text.find(L"bRINDLE sOFTWARE becomes Brindle Software"), std::wstring::npos);
    EXPECT_EQ(OppositeCase(L"bRINDLE sOFTWARE"), L"Brindle Software");
}

TEST(VersionLine, TwoBlanksBeforeTheNumbers) {
    EXPECT_EQ(VersionText({2, 7, 45}), L"Version  2.7.45");
    EXPECT_EQ(VersionText({1, 0, 0}), L"Version  1.0.0");
    EXPECT_EQ(VersionSubject({2, 7, 45}), L"Quillet Pro - Version  2.7.45");
    EXPECT_EQ(VersionText(kProgramVersion), L"Version  " + std::to_wstring(QUILLET_VERSION_MAJOR) +
                                                L"." + std::to_wstring(QUILLET_VERSION_MINOR) +
                                                L"." + std::to_wstring(QUILLET_VERSION_REVISION));
}

TEST(MailAddresses, SubjectIsEncodedAsMailtoWantsIt) {
    EXPECT_EQ(HelpMailAddress({2, 7, 45}),
              L"mailto:help@brindlesoftware.example"
              L"?subject=Quillet%20Pro%20-%20Version%20%202.7.45");
    EXPECT_EQ(AboutMailAddress({2, 7, 45}),
              L"mailto:" + std::wstring(kFeedbackMail) +
                  L"?subject=Quillet%20Pro%20-%20Version%20%202.7.45");
    // No blank is left for the shell to split the address at.
    EXPECT_EQ(HelpMailAddress(kProgramVersion).find(L' '), std::wstring::npos);
}

TEST(MailAddresses, EncodingKeepsWhatTheUserSees) {
    EXPECT_EQ(MailtoEncoded(L"a&b=c?d#e%f g"), L"a%26b%3Dc%3Fd%23e%25f%20g");
    EXPECT_EQ(MailtoEncoded(L"-._~!$'()*+,;:@"), L"-._~!$'()*+,;:@");
    EXPECT_EQ(MailtoEncoded(L"\x017C\x00F3\x0142w"), L"%C5%BC%C3%B3%C5%82w");
    EXPECT_EQ(MailtoEncoded(L"\r\n"), L"%0D%0A");
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
