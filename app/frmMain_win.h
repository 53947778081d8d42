// The main window: the store strip, the slot rows, the clipboard line and the
// menus. Its messages go to the logic in MainForm; its parts that have a life
// of their own (slot boxes, Copy buttons, picture panel, progress) are their
// own classes.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "controls/clipboard_line_win.h"
#include "platform/clipboard_win.h"
#include "platform/desktop_win.h"
#include "main_form.h"
#include "main_view.h"
#include "pictures/frmViewPic_win.h"
#include "pictures/picture_slots_win.h"
#include "pictures/wallpaper_win.h"
#include "controls/progress_win.h"
#include "background/hotkey_client_win.h"
#include "background/tray_win.h"
#include "find/frmFind_win.h"
#include "find_services.h"
#include "help/info_windows_win.h"
#include "print/frmPrint_win.h"
#include "controls/input_box_win.h"
#include "platform/prompt_win.h"
#include "controls/slot_rows_win.h"
#include "controls/store_strip_win.h"
#include "util/auto_run_win.h"
#include "base/com_init_win.h"
#include "base/handles_win.h"
#include "platform/ole_win.h"
#include "base/window_win.h"

namespace quillet {

inline constexpr wchar_t kMainWindowClass[] = L"QuilletProMain";
// Set on the main window once start-up has finished.
inline constexpr wchar_t kReadyProperty[] = L"QuilletPro.Ready";

class frmMain final : public Window,
                      public MainView,
                      public HotkeyHost,
                      public PrintedWindow,
                      private InfoWindows,
                      private Printer {
  public:
    explicit frmMain(FileSystem& fs = RealFileSystem());
    ~frmMain() override;

    // Creates the window (hidden), runs the start-up, shows it unless it
    // starts in the tray. False when the window could not be created.
    bool Create(HINSTANCE instance, std::wstring_view programFolder);
    HWND Control(int id) const;
    MainForm& Logic() { return *logic_; }
    HelpAndAboutWindows& Info() { return *info_; }
    PicturePanel& Pictures() { return pictures_; }
    frmViewPic& Preview() { return preview_; }
    frmFind& Find() { return *find_; }
    // Once OLE runs: the slot text boxes take drops.
    void EnableDragDrop();
    // The drop target of a slot's text box, for automation.
    IDropTarget* DropTargetOf(int slot) const { return dropTargets_[slot].target(); }
    // A Copy button's press as a click of the mouse makes it.
    void PressCopy(int slot) { rows_.PressCopy(slot); }

    // MainView
    void SetCaption(std::wstring_view caption) override;
    WindowGeometry Geometry() const override;
    void MoveTo(int left, int top) override;
    void SetWidth(int width) override;
    void ScreenSize(int& width, int& height) const override;
    int Dpi() const override { return dpi_; }
    void StartMove() override;
    void ShowNormal() override;
    void Hide() override;
    bool IsVisible() const override;
    void SetTopMost(bool onTop) override;
    void Repaint() override;
    void Layout(bool mirror, bool picturesShown) override;
    void Beep() override;
    SlotRowsView& Rows() override { return rows_; }
    void FocusPaste(int slot) override;
    void PumpEvents() override;
    void Activate() override;
    void SetStoreCaption(int store, std::wstring_view caption) override;
    void SetStoreTooltip(int store, std::wstring_view tip) override;
    void MarkStoreLabel(int store, bool current) override;
    void ShowPictures(bool shown) override;
    void SetClipboardText(std::wstring_view text) override;
    void SetClipboardLength(std::wstring_view text) override;
    ProgressView& Progress() override { return progress_; }
    void SetChecked(int item, bool checked) override;
    void SetEnabled(int item, bool enabled) override;

    // HotkeyHost
    HotkeyService* StartHotkeys(std::function<void(int32_t id)> onPress) override;
    void StopHotkeys() override { hotkeyClient_.reset(); }
    KeyboardLayout& Layout() override { return layout_; }

    // PrintedWindow
    MainLook CurrentLook() const override;
    void ApplyLook(const MainLook& look) override;
    WindowImage Image() override;

  private:
    // While the user drags the border, the long texts wait for this timer.
    static constexpr UINT_PTR kTimerWholeTexts = 1;
    // The help, About and print windows as the logic asks for them.
    void ShowHelp() override { info_->ShowHelp(); }
    void ShowAbout() override { info_->ShowAbout(); }
    void CloseAll() override { info_->CloseAll(); }
    IoResult PrintWindowImage() override { return print_->PrintWindowImage(); }
    void ShowPrintWindow() override { print_->ShowPrintWindow(); }
    void Close() override { print_->Close(); }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    void CreateFonts();
    void CreateControls();
    void CreateTooltips();
    void OnDpiChanged(int fromDpi, int toDpi, const RECT& suggested) override;

    // WM_COMMAND: controls numbered by slot or store, then menu items.
    void OnCommand(int id, int code, HWND control);
    void OnStoreLabel(int store, int code);
    void OnStoreMenu(int store, int code);
    void OnTrayStore(int store, int code);
    void OnTraySlot(int slot, int code);
    void OnCopyButton(int slot, int code);
    void OnPasteButton(int slot, int code);
    void OnTextBox(int slot, int code);
    void OnTitleBox(int slot, int code);
    void OnClipboardLine(int id, int code);
    void OnExit();
    void OnClose();
    LRESULT OnQueryEndSession();
    LRESULT OnColour(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnPaint();
    void OnMinMaxInfo(MINMAXINFO& info);

    int ToPixels(int twips) const { return TwipsToPixels(twips, dpi_); }
    int ToTwips(int pixels) const { return PixelsToTwips(pixels, dpi_); }
    RECT Place(const TwipsRect& r) const;
    std::array<RECT, 16> StoreLabelPlaces(const MainLayout& l) const;
    HMENU MenuOf(int item) const;
    int FixedWindowHeight() const;

    FileSystem& fs_;
    HINSTANCE instance_ = nullptr;
    int dpi_ = 96;
    MessageBoxPrompt prompt_;
    InputBoxWindow inputBox_;
    TrayIcon tray_;
    HICON smallIcon_ = nullptr;
    WindowIcons icons_;  // of the DPI the window moved to
    SystemClipboard clipboard_{nullptr};
    LocaleCases cases_;
    SystemKeys keys_;
    SystemClock clock_;
    DesktopShell shell_;
    WinsockResolver resolver_;
    RegistryAutoRun autoRun_;
    ActiveKeyboardLayout layout_;
    std::optional<ComInit> com_;  // started here, for the hotkey component
    std::unique_ptr<HotkeyClient> hotkeyClient_;
    PicturePanel pictures_;
    frmViewPic preview_;
    DesktopWallpaper wallpaper_;
    std::unique_ptr<MainForm> logic_;
    std::unique_ptr<HelpAndAboutWindows> info_;  // after logic_: gone before it
    std::unique_ptr<frmPrint> print_;            // the same
    std::unique_ptr<MainFindServices> findServices_;  // the same
    std::unique_ptr<frmFind> find_;

    Tooltips tips_;
    UniqueFont font_, smallFont_;
    StoreStrip strip_;
    ClipboardLine line_;
    HWND picBrindle_ = nullptr, lblBrindle_ = nullptr;
    SlotRows rows_;
    std::array<DropRegistration, 10> dropTargets_;
    ProgressWindow progress_;
    HWND pendingFocus_ = nullptr;
    bool inResize_ = false;
    int lineRight_ = 0;
    // Of the look applied for a print: the white background, and the
    // clipboard line the image shows instead of the clipboard's (none when
    // both are empty).
    bool whiteBackground_ = false;
    std::wstring lookLength_, lookText_;
};

}  // namespace quillet
