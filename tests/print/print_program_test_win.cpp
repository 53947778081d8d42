// The real program under Wine: File > Print Store's window and its check
// boxes, the text printout byte for byte and its opening by the desktop (a
// recording program stands in for the editor), the user's folder when the
// program's folder refuses the file, and screen printing with and without a
// printer. QUILLET_PRINTER=cups says a default printer is set up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "print/print_store.h"
#include "resource.h"
#include "support/program_fixture_win.h"
#include "support/wine_path_win.h"

namespace quillet::testing {
namespace {

constexpr wchar_t kLog[] = L"C:\\quillet_opened_files.txt";
constexpr wchar_t kCommandKey[] = L"Software\\Classes\\txtfile\\shell\\open\\command";
constexpr wchar_t kExtensionKey[] = L"Software\\Classes\\.txt";
constexpr wchar_t kAppPrintout[] = L"C:\\Program Files\\Quillet Pro\\ClipPrint.txt";
constexpr wchar_t kPrintWindowClassName[] = L"QuilletProPrint";

bool PrinterSetUp() {
    const char* printer = std::getenv("QUILLET_PRINTER");
    return printer && std::string(printer) == "cups";
}

std::wstring LocalAppData() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? path : L"";
}

bool Enabled(HWND window, int id) {
    return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE;
}
bool Ticked(HWND window, int id) {
    return ::SendMessageW(::GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Click(HWND window, int id) {
    ::PostMessageW(::GetDlgItem(window, id), BM_CLICK, 0, 0);
}

// The colour of the screen in the middle of a control.
COLORREF ScreenColourOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    WindowDc screen(nullptr);
    return ::GetPixel(screen.get(), (r.left + r.right) / 2, r.top + 3);
}

class PrintProgramTest : public ProgramTest {
  protected:
    static void SetUpTestSuite() {
        ProgramTest::SetUpTestSuite();
        savedCommand_ = ReadDefault(kCommandKey);
        savedExtension_ = ReadDefault(kExtensionKey);
        WriteDefault(kExtensionKey, L"txtfile");
        WriteDefault(kCommandKey,
                     L"\"" + WinePath(LINK_RECORDER_PATH) + L"\" \"" + kLog + L"\" \"%1\"");
    }
    static void TearDownTestSuite() {
        if (!savedCommand_.empty()) WriteDefault(kCommandKey, savedCommand_);
        if (!savedExtension_.empty()) WriteDefault(kExtensionKey, savedExtension_);
    }
    void SetUp() override {
        ProgramTest::SetUp();
        RemovePrintouts();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        RemovePrintouts();
    }
    static void RemovePrintouts() {
        ::DeleteFileW(kLog);
        ::SetFileAttributesW(kAppPrintout, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(kAppPrintout);
        ::DeleteFileW((LocalAppData() + L"\\ClipPrint.txt").c_str());
    }
    // Fills the slots with titles and texts the code page cannot hold, lines
    // and empty ones; returns them as the window has them.
    static PrintoutSlots FillSlots(const RunningProgram& app) {
        PrintoutSlots s;
        for (int i = 0; i < 10; ++i) {
            s.titles[i] = i == 4 ? L"" : L"Title \x017C\x00F3\x0142w " + std::to_wstring(i + 1);
            s.texts[i] = i == 4   ? L""
                         : i == 7 ? L"line one\r\nline two\r\n\x65E5\x672C"
                                  : L"text " + std::to_wstring(i + 1) + L" \xD83D\xDE00";
            app.SetText(IDC_TXTTITLE0 + i, s.titles[i]);
            app.SetText(IDC_TXT0 + i, s.texts[i]);
            s.titles[i] = RunningProgram::TextOf(app.Control(IDC_TXTTITLE0 + i));
            s.texts[i] = RunningProgram::TextOf(app.Control(IDC_TXT0 + i));
        }
        return s;
    }
    std::wstring WaitForOpenedFile() {
        WaitFor([&] { return !FileLines(kLog).empty(); });
        const std::vector<std::wstring> opened = FileLines(kLog);
        return opened.empty() ? L"" : opened.front();
    }

    static std::wstring savedCommand_, savedExtension_;
};
std::wstring PrintProgramTest::savedCommand_, PrintProgramTest::savedExtension_;

// The printout byte for byte, opened by the desktop; once the program's
// folder refuses the file, in the user's folder, the old file untouched.
TEST_F(PrintProgramTest, TextPrintWritesThePrintoutWhereItCanAndTheDesktopOpensIt) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    const std::wstring clipboard = L"on the clipboard \x0142";
    ASSERT_TRUE(PutClipboardText(clipboard));
    const PrintoutSlots slots = FillSlots(app);
    ::InvalidateRect(app.Window(), nullptr, TRUE);  // the clipboard line refreshes on paint
    ASSERT_TRUE(WaitFor(
        [&] { return RunningProgram::TextOf(app.Control(IDC_TXTCLIPBOARD)) == clipboard; }));
    app.Command(IDM_PRINT);
    HWND print = WaitForWindow(kPrintWindowClassName);
    ASSERT_TRUE(print);
    Click(print, IDC_CMDPRINT);
    EXPECT_EQ(WaitForOpenedFile(), kAppPrintout);
    EXPECT_EQ(ReadFileBytes(kAppPrintout), PrintoutBytes(slots, clipboard));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(print); }));

    ::DeleteFileW(kLog);
    ::SetFileAttributesW(kAppPrintout, FILE_ATTRIBUTE_READONLY);
    const std::string old = ReadFileBytes(kAppPrintout);
    app.Command(IDM_PRINT);
    print = WaitForWindow(kPrintWindowClassName);
    ASSERT_TRUE(print);
    Click(print, IDC_CHKCLIPBOARD);  // untick: no clipboard section
    EXPECT_TRUE(WaitFor([&] { return !Ticked(print, IDC_CHKCLIPBOARD); }));
    Click(print, IDC_CMDPRINT);
    const std::wstring fallback = LocalAppData() + L"\\ClipPrint.txt";
    const std::wstring opened = WaitForOpenedFile();
    EXPECT_EQ(::CompareStringOrdinal(opened.c_str(), -1, fallback.c_str(), -1, TRUE), CSTR_EQUAL)
        << ::testing::PrintToString(opened);
    EXPECT_EQ(ReadFileBytes(fallback), PrintoutBytes(slots, std::nullopt));
    EXPECT_EQ(ReadFileBytes(kAppPrintout), old);
    EXPECT_EQ(::FindWindowW(L"#32770", L"Error Printing"), nullptr);
}

// What the screen shows of the main window where a screen print changes the
// look: a text box, a title box and the background above the store strip.
struct Look {
    COLORREF text, title, background;
    bool operator==(const Look&) const = default;
};
Look LookOf(const RunningProgram& app) {
    POINT corner{2, 2};
    ::ClientToScreen(app.Window(), &corner);
    WindowDc screen(nullptr);
    return {ScreenColourOf(app.Control(IDC_TXT0 + 2)),
            ScreenColourOf(app.Control(IDC_TXTTITLE0 + 2)),
            ::GetPixel(screen.get(), corner.x, corner.y)};
}
// The look once the window is painted: its boxes stand out from the background.
Look PaintedLook(const RunningProgram& app) {
    Look look{};
    WaitFor([&] {
        look = LookOf(app);
        return look.text != look.background && look.title != look.background;
    });
    return look;
}

// After a screen print the look in use comes back, with every button.
void ExpectLookRestored(const RunningProgram& app, const Look& before) {
    EXPECT_TRUE(WaitFor([&] { return LookOf(app) == before; }))
        << std::hex << LookOf(app).text << " " << LookOf(app).background;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(::IsWindowVisible(app.Control(IDC_PICCOPY0 + i))) << i;
        EXPECT_TRUE(::IsWindowVisible(app.Control(IDC_PICPASTE0 + i))) << i;
    }
    EXPECT_TRUE(::IsWindowVisible(app.Control(IDC_LBLBRINDLE)));
}

// With a default printer set up the window reaches it; without one the
// program says so. Either way the look in use comes back.
TEST_F(PrintProgramTest, ScreenPrintSaysThereIsNoPrinterOrReachesTheDefaultPrinter) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.SetText(IDC_TXT0, L"printed slot one");
    app.SetText(IDC_TXTTITLE0, L"first title");
    const Look before = PaintedLook(app);
    app.Command(IDM_PRINT);
    HWND print = WaitForWindow(kPrintWindowClassName);
    ASSERT_TRUE(print);
    Click(print, IDC_CHKTEXT);
    ASSERT_TRUE(WaitFor([&] { return Enabled(print, IDC_CHKWHITE); }));
    Click(print, IDC_CMDPRINT);
    if (!PrinterSetUp()) {
        HWND box = app.WaitForBox(L"Error Printing");
        ASSERT_TRUE(box);
        const std::wstring text = RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF));
        const std::wstring first = L"The form can't be printed.\r\n";
        EXPECT_EQ(text.rfind(first, 0), 0u) << ::testing::PrintToString(text);
        EXPECT_GT(text.size(), first.size());
        std::printf("message: %ls\n", text.c_str());
        ExpectLookRestored(app, before);
        RunningProgram::Answer(box, IDOK);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(print); }));
        EXPECT_TRUE(FileLines(kLog).empty());
        return;
    }
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(print); }, std::chrono::seconds(60)));
    EXPECT_EQ(::FindWindowW(L"#32770", L"Error Printing"), nullptr);
    ExpectLookRestored(app, before);
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTLENGTH)).find(L"Printing"),
              std::wstring::npos);
    // The window's size in pixels, for the check of the printed page.
    if (const char* info = std::getenv("QUILLET_PRINT_INFO")) {
        RECT r{}, c{};
        ::GetWindowRect(app.Window(), &r);
        ::GetClientRect(app.Window(), &c);
        WriteFileBytes(WinePath(info), std::to_string(r.right - r.left) + " " +
                                           std::to_string(c.right) + " " +
                                           std::to_string(c.bottom) + "\n");
    }
}

}  // namespace
}  // namespace quillet::testing
