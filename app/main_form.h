// The main window's logic: it wires the units that own the stores, the slots,
// the pictures, the options, the tray and the hotkeys, and names their handlers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "background/hotkey_session.h"
#include "background/tray.h"
#include "clipboard_commands.h"
#include "main_services.h"
#include "options.h"
#include "pictures/picture_slots.h"
#include "slot_editor.h"
#include "store/standard_import.h"
#include "store_session.h"

namespace quillet {

// Why the main window is asked to close.
enum class UnloadMode { kUser, kProgram, kSession };

class MainForm : public PrintContext,
                 public InfoContext,
                 private StoreEvents,
                 private TrayServices,
                 private PictureServices,
                 private EditorServices {
  public:
    MainForm(MainView& view, PictureSlotsView& pictures, Prompt& prompt, FileSystem& fs,
             const TextCodec& codec, Clipboard& clipboard, const CaseMapping& cases,
             const Desktop& desktop, const SecondaryWindows& windows);
    MainForm(const MainForm&) = delete;  // the units point back at it
    MainForm& operator=(const MainForm&) = delete;

    // Start-up to the shown (or hidden) program; false when the settings file
    // cannot be read and the user chose to end it, with nothing written.
    bool FormLoad(std::wstring_view programFolder, std::wstring_view userDataFolder = {},
                  std::wstring_view exeName = L"quilletpro.exe");

    // True when the close is cancelled: the window only hides, a failed save
    // keeps the program, or SessionBlockReason says why a logoff should wait.
    bool FormQueryUnload(UnloadMode mode);
    const std::wstring& SessionBlockReason() const { return sessionBlock_; }
    void FormUnload();
    void CloseMainWindow();
    void mnuClose_Click() { CloseMainWindow(); }

    // A menu item's command that takes no arguments; false for other ids.
    bool RunMenuCommand(int id);

    // The help, About and print windows, none of them modal.
    void Help_Click() { windows_.info.ShowHelp(); }
    void About_Click() { windows_.info.ShowAbout(); }
    void mnuPrint_Click() { windows_.printer.ShowPrintWindow(); }
    // Where the one-time import of the Standard edition's stores looked.
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
    void submnuAutoSave_Click() { options_.Toggle(IDM_AUTOSAVE); }
    void submnuRename_Click();
    void menuAutoRun_Click() { options_.Toggle(IDM_AUTORUN) ? AutoRunOn() : AutoRunOff(); }
    void mnuStartTray_Click() { options_.Toggle(IDM_STARTTRAY); }
    void submnuStayTop_Click() { view_.SetTopMost(options_.Toggle(IDM_STAYTOP)); }
    void mnuSounds_Click() { options_.Toggle(IDM_SOUNDS); }
    void mnuHotkeys_Click() { hotkeys_.Toggled(options_.Toggle(IDM_HOTKEYS)); }
    void oHotKey_HotKeyPress(int32_t id);
    const HotkeyBindings& Hotkeys() const { return hotkeys_.Bindings(); }
    void AutoRunOn(bool tell = true) { options_.AutoRunOn(tell); }
    void AutoRunOff() { options_.AutoRunOff(); }

    void ShowClipboard() override { clipboardLine_.Show(); }
    void GetClipPic() override { clipboardLine_.ShowPicture(); }
    void mnuLowerCase_Click() { clipboardLine_.Lower(); }
    void mnuUpperCase_Click() { clipboardLine_.Upper(); }
    void mnuOppositeCase_Click() { clipboardLine_.OppositeCase(); }
    void mnuEmptyClipboard_Click() { clipboardLine_.Empty(); }
    void txtClipboard_Click() { ShowClipboard(); }
    void txtLength_Click() { ShowClipboard(); }

    // A Copy button copies at once and says what a drag from it carries.
    DragOffer picCopy_OLEStartDrag(int index);
    void CopySlot(int index) override { editor_.CopySlot(index); }
    void picPaste_Click(int index);
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

    // The picture slots: drops, drags, the preview and the wallpaper.
    void imgPic_OLEDragDrop(int index, const DropContent& d) { pictureSlots_.Drop(index, d); }
    DragOffer imgPic_OLEStartDrag(int index) { return pictureSlots_.StartDrag(index); }
    void imgPic_DblClick(int index) { pictureSlots_.ShowPreview(index); }
    void lblPic_Click(int index) { pictureSlots_.ShowPreview(index); }
    void popPreview_Click() { pictureSlots_.ShowPreview(pictureSlots_.PopupSlot()); }
    void popWallpaper_Click() { pictureSlots_.PopupWallpaper(); }

    // IP addresses, the maker's pages and mails.
    void mnuGetIP_Click() { clipboardLine_.AddAddresses(desktop_.resolver, prompt_); }
    void mnuTell_Click();
    void submnuHome_Click();
    void submnuFeedback_Click();

    // The store routines.
    bool LoadStore() { return stores_.Load(); }
    bool SaveStore() { return stores_.Save(); }
    ChangeCheck CheckStoreChanges() { return stores_.Check(nullptr); }
    bool SwitchStore(int16_t store) { return stores_.Switch(store); }
    void FormResize();
    void menuMirror_Click();
    void Form_DblClick();
    void Form_MouseDown(int button);  // 1 left, 2 right, 4 middle
    void picBrindle_DblClick();

    void BeepIfSounds() override { options_.BeepIfSounds(); }
    void ApplyMainOnTop() override { options_.ApplyMainOnTop(); }
    bool StaysOnTop() const override { return options_.Current().stayOnTop; }
    std::wstring CurrentStoreCaption() const override { return captions_[CurrentStore()]; }
    std::wstring ProgramFolder() const override { return places_.appFolder; }
    const std::wstring& CopiedText() const { return editor_.CopiedText(); }
    const std::wstring& PastedText() const { return editor_.PastedText(); }

    int16_t CurrentStore() const { return stores_.Current(); }
    const std::wstring& SettingsPath() const { return stores_.Path(); }
    const Options& CurrentOptions() const { return options_.Current(); }
    // The caption of a store: its Stores-menu item and its label's tooltip.
    const std::wstring& StoreCaption(int store) const override { return captions_[store]; }

  private:
    // What the units ask of the rest of the window.
    bool AutoSave() const override { return options_.Current().autoSave; }
    void StoreLeaving() override;
    void PictureLoaded(int slot, const std::wstring& p) override { pictureSlots_.Loaded(slot, p); }
    // Both Undo items, the Edit menu's and the picture pop-up's.
    void EnableUndo(bool enabled) override;
    void StoreShown() override { FormResize(); }

    int ShownStore() const override { return stores_.Current(); }
    std::wstring SlotText(int slot) const override { return view_.Rows().Text(slot); }
    std::wstring ClipboardCaption() override { return clipboardLine_.Caption(); }
    void ShowMainWindow(bool inFront) override;
    void ChooseStore(int store) override { lblStore_Click(store); }
    void ShowHelp() override { windows_.info.ShowHelp(); }

    void CreateSettingsFile();
    void ShowStoreCaptions();
    void LayOut(const WindowGeometry& g);
    bool Pictures() const { return stores_.PicturesShown(); }

    MainView& view_;
    Prompt& prompt_;
    FileSystem& fs_;
    StoreSession stores_;
    StandardImport import_;
    Desktop desktop_;
    SecondaryWindows windows_;
    ProgramOptions options_;
    ClipboardCommands clipboardLine_;
    HotkeySession hotkeys_;
    Tray tray_;
    PictureSlots pictureSlots_;
    SlotEditor editor_;
    ProgramPlaces places_;
    std::wstring sessionBlock_;
    std::array<std::wstring, kStoreCount> captions_;
};

}  // namespace quillet
