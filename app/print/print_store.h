// Printing the store: the print window's logic, the text printout and the
// print look of the main window, over small seams the tests fake.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "main_view.h"
#include "print/printer.h"
#include "store/filesystem.h"
#include "util/shell_launch.h"

namespace quillet {

inline constexpr std::wstring_view kPrintoutName = L"ClipPrint.txt";
inline constexpr std::wstring_view kPrintErrorTitle = L"Error Printing";
inline constexpr std::wstring_view kPrintErrorText = L"The form can't be printed.\r\n";

// White, the background of everything in the print look.
inline constexpr unsigned kPrintWhite = 0xFFFFFF;

// The slots as they stand in the main window, unsaved edits included.
struct PrintoutSlots {
    std::array<std::wstring, 10> titles, texts;
};

// The printout: the header, the ten title and text pairs and, when asked
// for, the clipboard display's text; CR LF line ends.
std::wstring PrintoutText(const PrintoutSlots& slots,
                          const std::optional<std::wstring>& clipboard);
// The same as the file holds it: UTF-8 after a byte-order mark, so editors
// show every character of the slots, not only those of the code page.
std::string PrintoutBytes(const PrintoutSlots& slots, const std::optional<std::wstring>& clipboard);

// Those bytes in pieces of about 32 KB, in order, each slot read when its
// turn comes: ten full slots never stand in memory twice.
struct PrintoutSource {
    std::function<std::wstring(int slot)> title, text;
    std::optional<std::wstring> clipboard;
};
using PrintoutSink = std::function<void(std::string_view bytes)>;
void EmitPrintout(const PrintoutSource& source, const PrintoutSink& sink);
// Makes the printout's bytes for a file that is being written.
using PrintoutProducer = std::function<void(const PrintoutSink& sink)>;

// "Printing  " and the store's caption as its Stores menu item has it.
std::wstring PrintCaption(std::wstring_view storeCaption);

// The three check boxes of the print window: Include Clipboard Text serves
// text printing, Print white backgrounds screen printing; one of the two is
// enabled at a time.
struct PrintChecks {
    bool clipboard = true, text = true, white = true;
    bool clipboardEnabled = true, whiteEnabled = false;
    // Every change of Print Text Only's tick swaps which one is enabled.
    void chkText_Click();
};

// What screen printing changes in the main window and puts back.
struct MainLook {
    unsigned titleBackground = 0, textBackground = 0;
    bool windowWhite = false;  // else the window's own background
    bool buttonsShown = true;  // the Copy and Paste buttons
    bool makerShown = true;    // lblBrindle
    std::wstring clipboardLength, clipboardText;
};
// The print look over the look in use: white backgrounds, no buttons nor
// maker's name, "Printing" and the store's caption in the clipboard line.
MainLook PrintLookOf(const MainLook& inUse, std::wstring_view storeCaption);

class MainLookView {
  public:
    virtual ~MainLookView() = default;
    virtual MainLook CurrentLook() const = 0;
    virtual void ApplyLook(const MainLook& look) = 0;
};

class PrintView {
  public:
    virtual ~PrintView() = default;
    virtual void SetCaption(std::wstring_view caption) = 0;
    virtual void SetTopMost(bool onTop) = 0;
    virtual void ShowChecks(const PrintChecks& checks) = 0;
    virtual void Close() = 0;
};

// What the print window needs of the main window and the desktop.
struct PrintServices {
    MainView& main;
    MainLookView& look;
    Printer& printer;
    Prompt& prompt;
    FileSystem& fs;
    Shell& shell;
    std::function<void()> beepIfSounds;
    std::function<bool()> mainOnTop;                      // MainOnTopSetting is "1"
    std::function<std::wstring()> storeCaption;           // of the current store
    std::function<std::wstring()> clipboardText;          // txtClipboard
    std::filesystem::path appFolder;                      // the program's own folder
    std::filesystem::path userFolder;                     // local application data
    // Creates or overwrites the printout with what the producer makes; none:
    // the file system's atomic replace of the whole. A printout is made
    // afresh each time, so a plain write serves and spares the flush.
    std::function<IoResult(const std::filesystem::path&, const PrintoutProducer&)> writeFile;
};

class PrintForm {
  public:
    PrintForm(PrintView& view, const PrintServices& services) : view_(view), s_(services) {}

    void Form_Load();
    // The user's tick of a box; the view tells the new state.
    void chkClipboard_Click(bool ticked) { checks_.clipboard = ticked; }
    void chkWhite_Click(bool ticked) { checks_.white = ticked; }
    void chkText_Click(bool ticked);
    void cmdPrint_Click();
    void cmdCancel_Click() { view_.Close(); }

    const PrintChecks& Checks() const { return checks_; }
    // Where the last text print wrote its file.
    const std::filesystem::path& PrintoutPath() const { return printoutPath_; }

  private:
    IoResult PrintTextOnly();
    IoResult PrintScreen();
    IoResult Write(const std::filesystem::path& path, const PrintoutProducer& produce);
    void Fail(const IoResult& result);

    PrintView& view_;
    PrintServices s_;
    PrintChecks checks_;
    std::filesystem::path printoutPath_;
};

}  // namespace quillet
