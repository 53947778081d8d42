// The main window's logic: start-up and shut-down, the store routines and the
// shared helpers, over the view, the prompt and the settings file.
#pragma once

#include <cstdint>
#include <string>

#include <array>
#include <optional>
#include <vector>

#include "clipboard.h"
#include "drop_content.h"
#include "background/hotkey_host.h"
#include "background/hotkeys.h"
#include "background/tray.h"
#include "background/tray_view.h"
#include "help/info_windows.h"
#include "main_view.h"
#include "options.h"
#include "pictures/picture_slots.h"
#include "pictures/picture_slots_view.h"
#include "pictures/preview_view.h"
#include "pictures/wallpaper.h"
#include "print/printer.h"
#include "store/Module1.h"
#include "store/standard_import.h"
#include "slot_editor.h"
#include "store_session.h"
#include "util/ModuleIP.h"
#include "util/auto_run.h"
#include "util/shell_launch.h"

namespace quillet {

// Why the main window is asked to close.
enum class UnloadMode { kUser, kProgram, kSession };

// Colours of the slot boxes (red in the low byte).
inline constexpr unsigned kTitleBackground = 125 | (210 << 8) | (210 << 16);
inline constexpr unsigned kTextBackground = 200 | (200 << 8) | (255 << 16);

// The rest of the desktop the slot commands use.
struct Desktop {
    const KeyState& keys;
    RegionalClock& clock;
    Shell& shell;
    HostResolver& resolver;
    AutoRunEntries& autoRun;
    HotkeyHost& hotkeys;
    Wallpaper& wallpaper;
};

// The program's windows besides the main one; each may be made when it is
// first shown.
struct SecondaryWindows {
    TrayView& tray;
    PreviewView& preview;
    Printer& printer;
    InfoWindows& info;
    InputBox& input;
};

class MainForm : public PrintContext,
                 public InfoContext,
                 private StoreEvents,
                 private TrayServices,
                 private PictureServices,
                 private EditorServices {
  public:
    MainForm(MainView& view, PictureSlotsView& pictures, Prompt& prompt, FileSystem& fs,
             const TextCodec& codec, Clipboard& clipboard, const CaseMapping& cases,
             const Desktop& desktop, const SecondaryWindows& windows)
        : view_(view),
          prompt_(prompt),
          fs_(fs),
          codec_(codec),
          stores_(view, pictures, prompt, fs, codec, *this),
          import_(stores_, prompt, view.Progress(), desktop.clock, fs, codec),
          clipboard_(clipboard),
          cases_(cases),
          desktop_(desktop),
          windows_(windows),
          tray_(windows.tray, *this),
          pictureSlots_(pictures, *this, prompt, fs, clipboard, windows.preview, desktop.wallpaper),
          editor_(view, *this, prompt, fs, clipboard, codec, stores_, desktop.keys, desktop.clock,
                  desktop.shell, desktop.resolver) {}
    // The store session points back at the form.
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Start-up from the designed window to the shown (or hidden) program.
    // The single-instance hand-over happens before, in the shell. False when
    // the settings file cannot be read and the user chose to end the program:
    // nothing has been written then.
    bool FormLoad(std::wstring_view programFolder, std::wstring_view userDataFolder = {},
                  std::wstring_view exeName = L"quilletpro.exe");

    // Returns true when the close is cancelled: the window is only hidden, or
    // a save failed and the user keeps the program, or (at the end of the
    // session) SessionBlockReason says why the session should wait.
    bool FormQueryUnload(UnloadMode mode);
    const std::wstring& SessionBlockReason() const { return sessionBlock_; }
    void FormUnload();
    void CloseMainWindow();

    void mnuClose_Click() { CloseMainWindow(); }

    // Runs the command of a menu item that takes no arguments; false for
    // any other id. Exit, which ends the program, stays with the window.
    bool RunMenuCommand(int id);

    // The Help menu's own windows.
    void Help_Click() { windows_.info.ShowHelp(); }
    void About_Click() { windows_.info.ShowAbout(); }
    // File > Print Store: the print window, not modal.
    void mnuPrint_Click() { windows_.printer.ShowPrintWindow(); }

    // The one-time import of the Standard edition's stores.
    const std::wstring& ImportPath() const { return import_.Path(); }

    // The tray icon: its events and the items of its menu.
    void TrayIcon_Callback(uint32_t mouseMessage) { tray_.IconEvent(mouseMessage); }
    TrayMenu CurrentTrayMenu() const { return tray_.Menu(); }
    void menuTrayStore_Click(int store) { tray_.StoreChosen(store); }
    void mnuTrayRef_Click(int slot) { tray_.SlotChosen(slot); }
    void menuTrayHelp_click() { tray_.HelpChosen(); }
    void traymnuOpen_Click() { tray_.OpenChosen(); }
    void traymnuClose_Click() { CloseMainWindow(); }
    void mnuFileSave_Click() { stores_.Save(); }
    void mnuRevert_Click() { stores_.Load(); }
    void lblStore_Click(int store);
    void submnustore_Click(int store);
    void submnuAutoSave_Click() { ToggleOption(IDM_AUTOSAVE); }
    void submnuRename_Click();
    void menuAutoRun_Click();
    void mnuStartTray_Click() { ToggleOption(IDM_STARTTRAY); }
    void submnuStayTop_Click() { view_.SetTopMost(ToggleOption(IDM_STAYTOP)); }
    void mnuSounds_Click() { ToggleOption(IDM_SOUNDS); }
    void mnuHotkeys_Click();
    void oHotKey_HotKeyPress(int32_t id);
    const HotkeyBindings& Hotkeys() const { return hotkeys_; }
    void AutoRunOn(bool tell = true);
    void AutoRunOff();

    void ShowClipboard() override;
    void GetClipPic() override;
    void mnuLowerCase_Click();
    void mnuUpperCase_Click();
    void mnuOppositeCase_Click();
    void mnuEmptyClipboard_Click();
    void txtClipboard_Click() { ShowClipboard(); }
    void txtLength_Click() { ShowClipboard(); }

    // A slot's Copy button copies at once and says what a drag started from
    // it carries; its Paste button, drops and typing.
    DragOffer picCopy_OLEStartDrag(int index) {
        return Pictures() ? pictureSlots_.CopyButton(index) : editor_.CopyButton(index);
    }
    void CopySlot(int index) override { editor_.CopySlot(index); }
    void picPaste_Click(int index) {
        Pictures() ? pictureSlots_.PasteButton(index) : editor_.PasteButton(index);
    }
    void PasteSlot(int index) override { editor_.PasteSlot(index); }
    void txt_OLEDragDrop(int index, const DropContent& dropped) { editor_.Drop(index, dropped); }
    void txt_Change(int index) { editor_.TextChanged(index); }
    void txt_GotFocus(int index) { editor_.TextFocused(index); }
    void txtTitle_GotFocus(int index) { editor_.TitleFocused(index); }
    void txt_Click() { ShowClipboard(); }
    void txtTitle_Click() { ShowClipboard(); }

    // The Edit menu and the picture slot pop-up.
    void mnuClearLabels_Click() { editor_.ClearLabels(); }
    void mnuClearContents_Click() { editor_.ClearContents(); }
    void mnuClearStore_Click() { editor_.ClearStore(); }
    void mnuClearAllStoresXLabels_Click() { editor_.ClearAllStoresXLabels(); }
    void mnuClearAll_Click() { editor_.ClearAll(); }
    void mnuCut_Click() { editor_.Cut(); }
    void mnuCopy_Click() { editor_.Copy(); }
    void mnuPaste_Click() { editor_.Paste(); }
    void mnuUndo_Click() { Pictures() ? pictureSlots_.Undo() : editor_.Undo(); }
    void mnuSelectAll_Click() { editor_.SelectAll(); }
    void Box_MouseDown(int index, int button) { pictureSlots_.MouseDown(index, button); }
    void popCopy_Click() { pictureSlots_.PopupCopy(); }
    void popPaste_Click() { picPaste_Click(pictureSlots_.PopupSlot()); }
    void popDelete_Click() { pictureSlots_.PopupDelete(); }
    void popUndo_Click() { mnuUndo_Click(); }

    // The picture slots themselves: a drop of a picture file on a frame or a
    // thumbnail, a drag out of one, the preview and the wallpaper.
    void imgPic_OLEDragDrop(int index, const DropContent& dropped) {
        pictureSlots_.Drop(index, dropped);
    }
    DragOffer imgPic_OLEStartDrag(int index) { return pictureSlots_.StartDrag(index); }
    void imgPic_DblClick(int index) { pictureSlots_.ShowPreview(index); }
    void lblPic_Click(int index) { pictureSlots_.ShowPreview(index); }
    void popPreview_Click() { pictureSlots_.ShowPreview(pictureSlots_.PopupSlot()); }
    void popWallpaper_Click() { pictureSlots_.PopupWallpaper(); }

    // IP addresses, the maker's pages and mails.
    void mnuGetIP_Click();
    void mnuTell_Click();
    void submnuHome_Click();
    void submnuFeedback_Click();

    // The store routines.
    bool LoadStore() { return stores_.Load(); }
    bool SaveStore() { return stores_.Save(); }
    ChangeCheck CheckStoreChanges(const SettingsSnapshot* stored = nullptr) {
        return stores_.Check(stored);
    }
    bool SwitchStore(int16_t store) { return stores_.Switch(store); }
    void FormResize();
    void menuMirror_Click();
    void Form_DblClick();
    void Form_MouseDown(int button);  // 1 left, 2 right, 4 middle
    void picBrindle_DblClick();

    void BeepIfSounds() override;
    void ApplyMainOnTop() override;
    // What the print window asks.
    bool StaysOnTop() const override { return options_.stayOnTop; }
    std::wstring CurrentStoreCaption() const override { return captions_[CurrentStore()]; }
    std::wstring ProgramFolder() const override { return places_.appFolder; }
    bool CopyText(std::wstring text) { return editor_.CopyText(std::move(text)); }
    const std::wstring& CopiedText() const { return editor_.CopiedText(); }
    const std::wstring& PastedText() const { return editor_.PastedText(); }

    int16_t CurrentStore() const { return stores_.Current(); }
    const std::wstring& SettingsPath() const { return stores_.Path(); }
    const Options& CurrentOptions() const { return options_; }
    // The caption of a store: its Stores-menu item and its label's tooltip.
    const std::wstring& StoreCaption(int store) const override { return captions_[store]; }

  private:
    // What a store switch asks of the rest of the window.
    bool AutoSave() const override { return options_.autoSave; }
    void StoreLeaving() override;
    void PictureLoaded(int slot, const std::wstring& path) override {
        pictureSlots_.Loaded(slot, path);
    }
    // Both Undo items, the Edit menu's and the picture pop-up's.
    void EnableUndo(bool enabled) override;
    void StoreShown() override { FormResize(); }

    // What the tray asks.
    int ShownStore() const override { return stores_.Current(); }
    std::wstring SlotText(int slot) const override { return view_.Rows().Text(slot); }
    std::wstring ClipboardCaption() override;
    void ShowMainWindow(bool inFront) override;
    void ChooseStore(int store) override { lblStore_Click(store); }
    void ShowHelp() override { windows_.info.ShowHelp(); }

    void ApplyMainOnTop(bool settingsStored, std::wstring_view mainOnTop);
    void ShowOptions();
    // Flips an on/off option and writes it at once; its new state.
    bool ToggleOption(int menuItem);
    void CreateSettingsFile();
    void ShowStoreCaptions();
    void LayOut(const WindowGeometry& g);
    void RewriteClipboard(std::wstring (*change)(const MainForm&, std::wstring_view));

    bool Pictures() const { return stores_.PicturesShown(); }

    MainView& view_;
    Prompt& prompt_;
    FileSystem& fs_;
    const TextCodec& codec_;
    StoreSession stores_;
    StandardImport import_;
    Clipboard& clipboard_;
    const CaseMapping& cases_;
    Desktop desktop_;
    SecondaryWindows windows_;
    Tray tray_;
    PictureSlots pictureSlots_;
    SlotEditor editor_;
    ProgramPlaces places_;
    std::wstring sessionBlock_;
    std::wstring exeName_;
    HotkeyBindings hotkeys_;
    bool hotkeysSetUp_ = false;
    bool missingHotkeysTold_ = false;
    Options options_;
    std::array<std::wstring, 16> captions_;
};

}  // namespace quillet
