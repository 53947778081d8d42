// The print window and the default printer: the window's controls, what it
// asks of the main window, and the main window's image on paper.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "main_view.h"
#include "print/print_store.h"
#include "print/printer.h"

namespace quillet {

inline constexpr wchar_t kPrintWindowClass[] = L"QuilletProPrint";

// The client area of `window` with its children, as the window draws
// itself, into a 32-bit top-down bitmap; windows above it play no part.
UniqueBitmap RenderClientArea(HWND window, int& width, int& height);
// Prints a 32-bit top-down bitmap on the default printer with its default
// settings, scaled from `screenDpi` to the printer's resolution.
IoResult PrintBitmap(HBITMAP bitmap, int width, int height, int screenDpi,
                     std::wstring_view document);

// Creates or overwrites a file with what the producer makes, piece by piece.
IoResult WritePlainFile(const std::filesystem::path& path, const PrintoutProducer& produce);

// A window's client area as drawn for paper, and the dots per inch it was
// drawn at.
struct WindowImage {
    UniqueBitmap bitmap;  // 32-bit top-down; none when it could not be made
    int width = 0, height = 0, dpi = 96;
};

// The main window as screen printing reaches it: the main window keeps its
// colours, brushes and controls, and the print window only asks for a look
// and for the image.
class PrintedWindow : public MainLookView {
  public:
    // The client area as it looks now, repainted first; a clipboard line the
    // applied look set stays in it.
    virtual WindowImage Image() = 0;
};

class frmPrint final : public FixedWindow, public Printer, public PrintView {
  public:
    frmPrint(HINSTANCE instance, PrintedWindow& main, MainView& view, PrintContext& context,
             Prompt& prompt, Shell& shell, FileSystem& fs, std::filesystem::path userFolder);
    ~frmPrint() override;

    // Printer
    IoResult PrintWindowImage() override;
    void ShowPrintWindow() override;
    void Close() override;

    // PrintView
    void SetCaption(std::wstring_view caption) override;
    void SetTopMost(bool onTop) override;
    void ShowChecks(const PrintChecks& checks) override;

    PrintForm* Logic() { return logic_.get(); }
    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Load() override;
    void CreateControls();
    void OnCommand(int id, int code);
    bool Ticked(int id) const;

    HINSTANCE instance_;
    PrintedWindow& main_;
    MainView& view_;
    PrintContext& context_;
    Prompt& prompt_;
    Shell& shell_;
    FileSystem& fs_;
    std::filesystem::path userFolder_;
    std::unique_ptr<PrintForm> logic_;
    UniqueFont font_;
};

}  // namespace quillet
