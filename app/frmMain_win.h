// The main window: the slot rows, the store strip, the menus; its messages
// go to the logic in MainForm.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "clipboard_win.h"
#include "desktop_win.h"
#include "layout.h"
#include "main_form.h"
#include "main_view.h"
#include "util/handles_win.h"
#include "util/ole_win.h"

namespace quillet {

inline constexpr wchar_t kMainWindowClass[] = L"QuilletProMain";
// Set on the main window once start-up has finished.
inline constexpr wchar_t kReadyProperty[] = L"QuilletPro.Ready";

class frmMain final : public MainView, public Prompt {
  public:
    frmMain();
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Creates the window (hidden), runs the start-up, shows it unless it
    // starts in the tray. False when the window could not be created.
    bool Create(HINSTANCE instance, std::wstring_view programFolder);
    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const;
    MainForm& Logic() { return *logic_; }
    // Once OLE runs: the slot text boxes take drops.
    void EnableDragDrop();
    // The drop target of a slot's text box, for automation.
    IDropTarget* DropTargetOf(int slot) const { return dropTargets_[slot].target(); }
    // A Copy button's press as a click of the mouse makes it: copies at once,
    // and drags only when the mouse then moves far enough.
    void PressCopy(int slot);

    // MainView
    void SetCaption(std::wstring_view caption) override;
    WindowGeometry Geometry() const override;
    void MoveTo(int left, int top) override;
    void SetWidth(int width) override;
    void ScreenSize(int& width, int& height) const override;
    void ShowNormal() override;
    void Hide() override;
    bool IsVisible() const override;
    void SetTopMost(bool onTop) override;
    void Repaint() override;
    void Layout(bool mirror, bool picturesShown) override;
    void Beep() override;
    std::wstring SlotText(int slot) const override;
    void SetSlotText(int slot, std::wstring_view text) override;
    std::wstring SlotTitle(int slot) const override;
    void SetSlotTitle(int slot, std::wstring_view title) override;
    void SetSlotColours(unsigned titleBackground, unsigned textBackground) override;
    void FocusPaste(int slot) override;
    std::optional<BoxRef> ActiveBox() const override;
    std::wstring SelectedText(BoxRef box) const override;
    void ReplaceSelection(BoxRef box, std::wstring_view text) override;
    void SelectAll(BoxRef box) override;
    void PumpEvents() override;
    void Activate() override;
    std::wstring StoreCaption(int store) const override;
    void SetStoreCaption(int store, std::wstring_view caption) override;
    void SetStoreTooltip(int store, std::wstring_view tip) override;
    void MarkStoreLabel(int store, bool current) override;
    void ShowPictures(bool shown) override;
    void SetClipboardText(std::wstring_view text) override;
    void SetClipboardLength(std::wstring_view text) override;
    void ShowProgress(std::wstring_view caption, std::wstring_view label) override;
    void ShowProgressBlock(int block) override;
    void CloseProgress() override;
    bool LoadSlotPicture(int slot, const std::wstring& path) override;
    void SetPictureTag(int slot, const std::wstring& path) override;
    void FitSlotPicture(int slot) override;
    std::vector<uint8_t> SlotPictureDib(int slot) const override;
    bool SetSlotPicture(int slot, const std::vector<uint8_t>& dib) override;
    void ShowPicturePopup() override;
    bool IsChecked(int item) const override;
    void SetChecked(int item, bool checked) override;
    void SetEnabled(int item, bool enabled) override;

    // Prompt
    bool AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) override;
    void Tell(std::wstring_view title, std::wstring_view text, Icon icon) override;
    bool Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) override;

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SlotControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                            DWORD_PTR self);
    LRESULT OnSlotControl(HWND control, int id, UINT msg, WPARAM wp, LPARAM lp);
    HWND BoxWindow(BoxRef box) const;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    void CreateControls();
    void CreateTooltips();
    void EnsurePictureSlots();
    void AddTooltip(HWND control, const std::wstring& text);
    void OnCommand(int id, int code, HWND control);
    void OnExit();
    LRESULT OnColour(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnPaint();
    void OnMinMaxInfo(MINMAXINFO& info);

    int ToPixelsX(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }
    HMENU MenuOf(int item) const;
    int FixedWindowHeight() const;

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<MainForm> logic_;
    UniqueMenu popupMenu_;
    UniqueWindow tooltip_;
    UniqueFont font_, currentLabelFont_, smallFont_;
    UniqueBrush titleBrush_, textBrush_, stripBrush_;
    COLORREF titleColour_ = RGB(255, 255, 255), textColour_ = RGB(255, 255, 255);
    HWND strip_ = nullptr, pictures_ = nullptr, txtLength_ = nullptr, txtClipboard_ = nullptr;
    HWND picBrindle_ = nullptr, lblBrindle_ = nullptr;
    std::array<HWND, 16> lblStore_{};
    std::array<bool, 16> labelCurrent_{};
    std::array<std::wstring, 16> storeTips_;
    SystemClipboard clipboard_{nullptr};
    LocaleCases cases_;
    SystemKeys keys_;
    SystemClock clock_;
    DesktopShell shell_;
    WinsockResolver resolver_;
    std::array<DropRegistration, 10> dropTargets_;
    // A Copy button held down: where, and what a drag from it would carry.
    int pressedCopy_ = -1;
    POINT pressPoint_{};
    DragOffer pressOffer_;
    bool inMouseRelease_ = false;
    int quietChanges_ = 0;  // changes the logic makes raise no events
    // The whole text of a box that shows only the beginning of a long line.
    std::array<std::optional<std::wstring>, 10> deferred_;
    void ShowWholeText(int slot);
    LRESULT AnswerDeferredText(int slot, UINT msg, WPARAM wp, LPARAM lp) const;
    UniqueWindow progress_;
    int progressBlocks_ = 0;
    std::wstring progressLabel_;
    std::array<HWND, 10> box_{}, imgPic_{};
    std::array<UniqueBitmap, 10> pictures_bitmaps_;
    std::array<std::wstring, 10> pictureTag_;
    HWND pendingFocus_ = nullptr;
    std::array<HWND, 10> txtTitle_{}, txt_{}, picCopy_{}, picPaste_{}, label1_{};
    bool inResize_ = false;
    int lineRight_ = 0;
};

}  // namespace quillet
