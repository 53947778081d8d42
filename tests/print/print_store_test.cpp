// The printout's content, the print window's check boxes and the print run,
// over fakes of the main window, the printer and the file system.
#include "print/print_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "store/encoding.h"
#include "support/fake_filesystem.h"
#include "support/fake_view.h"

namespace quillet::testing {
namespace {

PrintoutSlots NumberedSlots() {
    PrintoutSlots s;
    for (int i = 0; i < 10; ++i) {
        s.titles[i] = L"T" + std::to_wstring(i + 1);
        s.texts[i] = L"x" + std::to_wstring(i + 1);
    }
    return s;
}

std::wstring NumberedBody() {
    std::wstring body = L"QUILLET PRO\r\n";
    for (int n = 1; n <= 10; ++n) {
        const std::wstring N = std::to_wstring(n);
        body += L"\r\n\r\nTitle " + N + L" = T" + N + L"\r\nText " + N + L" = x" + N;
    }
    return body;
}

TEST(Printout, HeaderThenTenPairsThenTheClipboardSectionWhenAsked) {
    const std::pair<std::optional<std::wstring>, std::wstring> cases[] = {
        {L"clip", L"\r\n\r\n\r\nClipboard Contents = clip\r\n"},
        {L"", L"\r\n\r\n\r\nClipboard Contents = \r\n"},
        {std::nullopt, L"\r\n"},
    };
    for (const auto& [clipboard, tail] : cases)
        EXPECT_EQ(PrintoutText(NumberedSlots(), clipboard), NumberedBody() + tail);
}

// Empty slots keep both lines, texts of several lines continue over them.
TEST(Printout, EmptyAndMultiLineSlotsKeepTheirLines) {
    PrintoutSlots s = NumberedSlots();
    s.titles[3].clear();
    s.texts[3].clear();
    s.texts[9] = L"first\r\nsecond\r\n";
    s.titles[0] = L"a & b";
    const std::wstring t = PrintoutText(s, std::wstring(L"one\r\ntwo"));
    EXPECT_NE(t.find(L"x3\r\n\r\nTitle 4 = \r\nText 4 = \r\n\r\nTitle 5 = T5"), std::wstring::npos);
    EXPECT_NE(t.find(L"Title 1 = a & b\r\n"), std::wstring::npos);
    EXPECT_NE(
        t.find(L"Text 10 = first\r\nsecond\r\n\r\n\r\n\r\nClipboard Contents = one\r\ntwo\r\n"),
        std::wstring::npos);
}

TEST(Printout, FileIsUtf8AfterAByteOrderMark) {
    PrintoutSlots s;
    s.titles[0] = L"Za\x017C\xF3\x0142\x0107";  // Polish, outside code page 1252
    s.texts[0] = L"\x6F22\x5B57 \U0001F600";    // CJK and an emoji
    const std::string bytes = PrintoutBytes(s, std::nullopt);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.substr(3), Utf8FromWide(PrintoutText(s, std::nullopt)));
    EXPECT_NE(bytes.find("Text 1 = \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.find('?'), std::string::npos);
}

TEST(Printout, LoneSurrogateBecomesTheReplacementCharacter) {
    PrintoutSlots s;
    s.texts[2] = std::wstring(L"a") + wchar_t(0xD800) + L"b";
    s.titles[2] = std::wstring(1, wchar_t(0xDC00));
    EXPECT_NE(PrintoutBytes(s, std::nullopt)
                  .find("Title 3 = \xEF\xBF\xBD\r\nText 3 = a\xEF\xBF\xBD"
                        "b\r\n"),
              std::string::npos);
}

TEST(Printout, FullSlotsComeInBoundedPiecesThatJoinToTheWhole) {
    PrintoutSlots s;
    for (int i = 0; i < 10; ++i) {
        s.titles[i] = L"title";
        // Where wide characters are UTF-16, a surrogate pair straddles the
        // 4096-character slice boundary.
        const std::wstring emoji = sizeof(wchar_t) == 2 ? L"\xD83D\xDE00" : L"\U0001F600";
        s.texts[i] =
            std::wstring(4095, L'a') + emoji + std::wstring(31999 - 4095 - emoji.size(), L'\x0142');
    }
    std::vector<size_t> sizes;
    std::string joined;
    int titlesRead = 0;
    EmitPrintout({[&](int i) {
                      ++titlesRead;
                      return s.titles[i];
                  },
                  [&](int i) { return s.texts[i]; }, std::wstring(L"clip")},
                 [&](std::string_view piece) {
                     sizes.push_back(piece.size());
                     joined.append(piece);
                 });
    EXPECT_EQ(titlesRead, 10);
    // Compared whole, not printed: the texts are long.
    EXPECT_TRUE(joined == PrintoutBytes(s, std::wstring(L"clip")));
    EXPECT_TRUE(joined.substr(3) == Utf8FromWide(PrintoutText(s, std::wstring(L"clip"))));
    ASSERT_GT(sizes.size(), 5u);
    for (size_t n : sizes) EXPECT_LE(n, 32u * 1024u + 4u * 4097u);
    EXPECT_EQ(joined.find("\xEF\xBF\xBD"), std::string::npos);  // no pair was split
}

// The print window, the main window's look and the printer, as plain fields.
class FakePrintView final : public PrintView {
  public:
    std::wstring caption;
    bool topMost = false;
    PrintChecks shown;
    int closes = 0;
    void SetCaption(std::wstring_view c) override { caption = c; }
    void SetTopMost(bool onTop) override { topMost = onTop; }
    void ShowChecks(const PrintChecks& c) override { shown = c; }
    void Close() override { ++closes; }
};

class FakeLook final : public MainLookView {
  public:
    MainLook look{kTitleColour, kTextColour, false, true, true, L"4", L"clip"};
    std::vector<MainLook> applied;
    static constexpr unsigned kTitleColour = 125 | (210 << 8) | (210 << 16);
    static constexpr unsigned kTextColour = 200 | (200 << 8) | (255 << 16);
    MainLook CurrentLook() const override { return look; }
    void ApplyLook(const MainLook& l) override {
        look = l;
        applied.push_back(l);
    }
};

class FakePrinter final : public Printer {
  public:
    IoResult result = IoResult::Success();
    std::vector<MainLook> printedLooks;  // the look at each print
    FakeLook* look = nullptr;
    IoResult PrintWindowImage() override {
        printedLooks.push_back(look->look);
        return result;
    }
    void ShowPrintWindow() override {}
    void Close() override {}
};

class PrintFormTest : public ::testing::Test {
  protected:
    PrintFormTest() {
        printer.look = &look;
        for (int i = 0; i < 10; ++i) {
            view.title[i] = L"T" + std::to_wstring(i + 1);
            view.text[i] = L"x" + std::to_wstring(i + 1);
        }
    }
    PrintServices Services() {
        return PrintServices{view,
                             look,
                             printer,
                             prompt,
                             fs,
                             shell,
                             [this] { ++beeps; },
                             [this] { return onTop; },
                             [this] { return storeCaption; },
                             [this] { return clipboard; },
                             L"C:\\Program Files\\Quillet Pro",
                             L"C:\\Users\\me\\AppData\\Local"};
    }
    PrintForm& Loaded() {
        PrintForm& form = form_.emplace(window, Services());
        form.Form_Load();
        return form;
    }
    std::wstring AppFile() const {
        return (std::filesystem::path(L"C:\\Program Files\\Quillet Pro") / kPrintoutName).wstring();
    }
    std::wstring UserFile() const {
        return (std::filesystem::path(L"C:\\Users\\me\\AppData\\Local") / kPrintoutName).wstring();
    }

    FakeView view;
    FakeLook look;
    FakePrinter printer;
    ScriptedPrompt prompt;
    FakeFileSystem fs;
    RecordingShell shell;
    FakePrintView window;
    int beeps = 0;
    bool onTop = false;
    std::wstring storeCaption = L"&P Pictures";
    std::wstring clipboard = L"clip";
    std::optional<PrintForm> form_;
};

TEST_F(PrintFormTest, LoadSetsCaptionStayOnTopAndTheLoadStateOfTheChecks) {
    Loaded();
    EXPECT_EQ(window.caption, L"Printing  &P Pictures");
    EXPECT_FALSE(window.topMost);
    EXPECT_TRUE(window.shown.text && window.shown.clipboard && window.shown.white);
    EXPECT_TRUE(window.shown.clipboardEnabled);
    EXPECT_FALSE(window.shown.whiteEnabled);
    onTop = true;
    Loaded();
    EXPECT_TRUE(window.topMost);
}

TEST_F(PrintFormTest, UntickingTextOnlySwapsAndTickingAgainSwapsBack) {
    PrintForm& form = Loaded();
    form.chkText_Click(false);
    EXPECT_FALSE(window.shown.text);
    EXPECT_FALSE(window.shown.clipboardEnabled);
    EXPECT_TRUE(window.shown.whiteEnabled);
    form.chkText_Click(true);
    EXPECT_TRUE(window.shown.clipboardEnabled);
    EXPECT_FALSE(window.shown.whiteEnabled);
}

// The printout goes to the program's folder, else the user's (a normal
// user may not write under Program Files); it is opened with a sound. Where
// neither takes it the user is told and nothing opens.
TEST_F(PrintFormTest, TextPrintWritesTheFileThenOpensIt) {
    for (int refusing = 0; refusing <= 2; ++refusing) {
        SCOPED_TRACE(refusing);
        if (refusing) fs.readOnly.insert(refusing == 1 ? AppFile() : UserFile());
        beeps = window.closes = 0;
        shell.calls.clear();
        fs.files.clear();
        PrintForm& form = Loaded();
        form.cmdPrint_Click();
        EXPECT_EQ(window.closes, 1);
        EXPECT_TRUE(printer.printedLooks.empty());
        EXPECT_EQ(fs.files.count(AppFile()), refusing ? 0u : 1u);
        EXPECT_EQ(fs.files.count(UserFile()), refusing == 1 ? 1u : 0u);
        if (refusing == 2) break;
        const std::wstring file = refusing ? UserFile() : AppFile();
        EXPECT_EQ(fs.files[file], PrintoutBytes(NumberedSlots(), std::wstring(L"clip")));
        EXPECT_EQ(form.PrintoutPath().wstring(), file);
        EXPECT_EQ(shell.Opened(), std::vector<std::wstring>{file});
        EXPECT_EQ(beeps, 1);
        EXPECT_TRUE(prompt.messages.empty());
    }
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title + L"|" + prompt.messages[0].text,
              L"Error Printing|The form can't be printed.\r\nAccess is denied.");
    EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kNone);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(beeps, 0);

    fs.readOnly.clear();
    PrintForm& without = Loaded();
    without.chkClipboard_Click(false);
    without.cmdPrint_Click();
    EXPECT_EQ(fs.files[AppFile()], PrintoutBytes(NumberedSlots(), std::nullopt));
}

auto Fields(const MainLook& l) {
    return std::tie(l.titleBackground, l.textBackground, l.windowWhite, l.buttonsShown,
                    l.makerShown, l.clipboardLength, l.clipboardText);
}

// Without Text the window itself is printed: in the print look while White
// is ticked, else as it is. The look in use comes back with an empty
// clipboard line, after a failure too, which is told.
TEST_F(PrintFormTest, ScreenPrintInThePrintLookThenTheLookInUseComesBack) {
    look.look.titleBackground = 0x0000FF;  // colours in use, not the design ones
    look.look.textBackground = 0x00FF00;
    const MainLook inUse = look.look;
    const MainLook print{0xFFFFFF, 0xFFFFFF, true, false, false, L"Printing", L"&P Pictures"};
    MainLook restored = inUse;
    restored.clipboardLength = restored.clipboardText = L"";
    for (const bool white : {true, false}) {
        for (const bool fails : {false, true}) {
            SCOPED_TRACE(::testing::Message() << white << fails);
            look.look = inUse;
            printer.printedLooks.clear();
            prompt.messages.clear();
            window.closes = 0;
            printer.result =
                fails ? IoResult::Failure(L"There is no default printer.") : IoResult::Success();
            PrintForm& form = Loaded();
            form.chkText_Click(false);
            if (!white) form.chkWhite_Click(false);
            form.cmdPrint_Click();
            ASSERT_EQ(printer.printedLooks.size(), 1u);
            EXPECT_EQ(Fields(printer.printedLooks[0]), Fields(white ? print : inUse));
            EXPECT_EQ(Fields(look.look), Fields(restored));
            EXPECT_EQ(prompt.messages.size(), fails ? 1u : 0u);
            EXPECT_EQ(window.closes, 1);
        }
    }
    EXPECT_EQ(prompt.messages[0].text,
              L"The form can't be printed.\r\nThere is no default printer.");
    EXPECT_TRUE(fs.files.empty());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(PrintFormTest, CancelClosesWithoutPrinting) {
    PrintForm& form = Loaded();
    form.cmdCancel_Click();
    EXPECT_EQ(window.closes, 1);
    EXPECT_TRUE(printer.printedLooks.empty());
    EXPECT_TRUE(fs.files.empty());
}

}  // namespace
}  // namespace quillet::testing
