// A text print of ten 31,999-character slots from the real main window (the
// printout built, written and handed to the desktop to open), against one
// plain write of the same bytes.
#include <windows.h>

#include <string>

#include "base/handles_win.h"
#include "bench_util_win.h"
#include "frmMain_win.h"
#include "print/frmPrint_win.h"
#include "print/print_store.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 9;
constexpr wchar_t kProgramFolder[] = L"C:\\Program Files\\Quillet Pro";

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

std::wstring Text(int slot) {
    std::wstring text;
    while (text.size() < 31999)
        text += L"slot " + std::to_wstring(slot) + L" words in a line \x017C\x00F3\x0142w\r\n";
    text.resize(31999);
    return text;
}

// The desktop's side: the request to open is what the program does; the
// editor starting is the desktop's time, not the program's.
class CountingShell final : public Shell {
  public:
    int asked = 0;
    void ShellExec(std::wstring_view, std::wstring_view, std::wstring_view, std::wstring_view,
                   int) override {
        ++asked;
    }
};

class QuietPrompt final : public Prompt {
  public:
    int told = 0;
    bool AskYesNo(std::wstring_view, std::wstring_view, Icon) override { return false; }
    bool Confirm(std::wstring_view, std::wstring_view, Buttons) override { return false; }
    void Tell(std::wstring_view, std::wstring_view, Icon) override { ++told; }
    bool AskRetry(std::wstring_view, std::wstring_view) override { return false; }
};

// Text printing touches neither the look nor the printer.
class Unused final : public PrintView, public MainLookView, public Printer {
  public:
    void SetCaption(std::wstring_view) override {}
    void SetTopMost(bool) override {}
    void ShowChecks(const PrintChecks&) override {}
    void Close() override {}
    MainLook CurrentLook() const override { return {}; }
    void ApplyLook(const MainLook&) override {}
    IoResult PrintWindowImage() override { return IoResult::Failure(L"not used"); }
    void ShowPrintWindow() override {}
};

}  // namespace

int wmain() {
    ::DeleteFileW(L"C:\\quilbdx.ini");
    ::CreateDirectoryW(kProgramFolder, nullptr);
    frmMain window;
    if (!window.Create(::GetModuleHandleW(nullptr), kProgramFolder)) return 1;
    Pump();
    PrintoutSlots slots;
    for (int i = 0; i < 10; ++i) {
        window.Rows().SetText(i, Text(i + 1));
        slots.texts[i] = window.Rows().Text(i);
        slots.titles[i] = window.Rows().Title(i);
    }
    Pump();

    CountingShell shell;
    QuietPrompt prompt;
    Unused unused;
    PrintServices services{window,         unused,
                           unused,         prompt,
                           RealFileSystem(), shell,
                           [] {},          [] { return false; },
                           [] { return std::wstring(L"1 Store"); },
                           [] { return std::wstring(L"clipboard"); },
                           kProgramFolder, L"C:\\users\\Public",
                           WritePlainFile};
    PrintForm form(unused, services);
    form.Form_Load();
    const double ours = Median(kRuns, [] {}, [&] { form.cmdPrint_Click(); });
    if (prompt.told || shell.asked != kRuns) {
        std::printf("print_text: the print failed (%d messages, %d opens)\n", prompt.told,
                    shell.asked);
        return 1;
    }

    const std::string bytes = PrintoutBytes(slots, std::wstring(L"clipboard"));
    const std::wstring plainPath = std::wstring(kProgramFolder) + L"\\plain.txt";
    const double anchor = Median(kRuns, [] {}, [&] {
        UniqueFile file(::CreateFileW(plainPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    });
    ::DeleteFileW(plainPath.c_str());
    Report("print_text", ours, anchor);
    return 0;
}
