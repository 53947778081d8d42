// The print window and the default printer: the window's controls, the print
// look of the main window, and the main window's image on paper.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "main_form.h"
#include "print/print_store.h"
#include "print/printer.h"
#include "util/handles_win.h"
#include "util/window_win.h"

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

class frmPrint final : public FixedWindow, public Printer, public PrintView, public MainLookView {
  public:
    frmPrint(HINSTANCE instance, HWND main, MainView& view, MainForm& logic, Prompt& prompt,
             Shell& shell, FileSystem& fs, std::filesystem::path userFolder);
    ~frmPrint() override;

    // Printer
    IoResult PrintWindowImage() override;
    void ShowPrintWindow() override;
    void Close() override;

    // PrintView
    void SetCaption(std::wstring_view caption) override;
    void SetTopMost(bool onTop) override;
    void ShowChecks(const PrintChecks& checks) override;

    // MainLookView, over the main window's controls.
    MainLook CurrentLook() const override;
    void ApplyLook(const MainLook& look) override;

    PrintForm* Logic() { return logic_.get(); }
    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Load() override;
    void CreateControls();
    void OnCommand(int id, int code);
    bool Ticked(int id) const;

    HINSTANCE instance_;
    HWND main_;
    MainView& view_;
    MainForm& mainLogic_;
    Prompt& prompt_;
    Shell& shell_;
    FileSystem& fs_;
    std::filesystem::path userFolder_;
    std::unique_ptr<PrintForm> logic_;
    UniqueFont font_;
    MainLook applied_;  // the clipboard line a repaint must not overwrite
    bool lookApplied_ = false;
};

}  // namespace quillet
