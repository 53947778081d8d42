// Start-up and shut-down, the store routines and the window's own commands.
#include "main_form.h"

#include "layout.h"
#include "resource.h"
#include "version.h"

namespace quillet {

MainForm::MainForm(MainView& view, PictureSlotsView& pictures, Prompt& prompt, FileSystem& fs,
                   const TextCodec& codec, Clipboard& clipboard, const CaseMapping& cases,
                   const Desktop& desktop, const SecondaryWindows& windows)
    : view_(view),
      prompt_(prompt),
      fs_(fs),
      stores_(view, pictures, prompt, fs, codec, *this),
      import_(stores_, prompt, view.Progress(), desktop.clock, fs, codec),
      desktop_(desktop),
      windows_(windows),
      options_(view, stores_, prompt, codec, desktop.autoRun),
      clipboardLine_(view, clipboard, cases, options_),
      hotkeys_(desktop.hotkeys, prompt),
      tray_(windows.tray, *this),
      pictureSlots_(pictures, *this, prompt, fs, clipboard, windows.preview, desktop.wallpaper),
      editor_(view, *this, prompt, fs, clipboard, codec, stores_, desktop.keys, desktop.clock,
              desktop.shell, desktop.resolver) {}

bool MainForm::FormLoad(std::wstring_view programFolder, std::wstring_view userDataFolder,
                        std::wstring_view exeName) {
    view_.SetCaption(kProgramTitle);
    places_ = PlacesOf(programFolder, userDataFolder);
    stores_.UseFile(ChooseSettingsPath(places_, kSettingsFileName, fs_));
    // Every start-up question is answered from one read of the file. Only
    // "Settings" keys are written before the stores are read from it.
    std::optional<SettingsSnapshot> start = stores_.ReadAtStart();
    if (!start) return false;
    auto read = [&start](std::string_view key, std::wstring_view fallback) {
        return start->Read(kSettingsSection, key, fallback);
    };

    if (read("askImport", L"") != L"1") {
        // The file is made first: the import then writes where the settings
        // stay, and the offer counts as made even if the program ends in it.
        CreateSettingsFile();
        // The import of the Standard edition's data is offered here.
        if (import_.FindAndOffer(places_) && !(start = stores_.ReadAtStart())) return false;
    }
    const SettingsSnapshot& stored = *start;

    if (!fs_.DirectoryExists(kPictureFolder)) fs_.MakeDirectory(kPictureFolder);

    WindowGeometry g = view_.Geometry();
    int top = g.top, left = g.left;
    if (auto v = ToInt32(read("FormTop", L"500"))) top = *v;
    if (auto v = ToInt32(read("FormLeft", L"1500"))) left = *v;
    view_.MoveTo(left, top);

    // A number that does not convert, or names no store, leaves store 0.
    int16_t store = 0;
    if (auto v = ToInt16(read("StoreNumber", L"1")); v && *v >= 0 && *v < kStoreCount) store = *v;
    stores_.Start(store, !read("StoreNumber", L"").empty(), stored);

    view_.Rows().SetColours(kTitleBackground, kTextBackground);

    captions_[kPicturesStore] = L"&P Pictures";
    for (int n = 1; n < kStoreCount; ++n) {
        const std::wstring caption = read(CaptionKey(n), L"");
        captions_[n] = caption.empty() ? DefaultCaption(n) : caption;
    }
    ShowStoreCaptions();

    options_.Read(stored, AutoRunCommandLine(places_.appFolder, exeName));

    EnableUndo(false);

    int screenW = 0, screenH = 0;
    view_.ScreenSize(screenW, screenH);
    g = view_.Geometry();
    left = g.left;
    top = g.top;
    KeepOnScreenAtStart(left, top, screenW, screenH);
    view_.MoveTo(left, top);

    if (auto w = ToInt32(read("FormWidth", L""))) view_.SetWidth(*w);

    view_.FocusPaste(1);
    windows_.tray.CreateIcon(kProgramTitle);

    if (options_.Current().startInTray) {
        stores_.Check(&stored);
        view_.Hide();
    }
    options_.Show();
    if (options_.Current().hotkeys) hotkeys_.Start([this](int32_t id) { oHotKey_HotKeyPress(id); });
    return true;
}

// Presses count while the option is on and a text store shows; the slot
// commands themselves do nothing in the Pictures store.
void MainForm::oHotKey_HotKeyPress(int32_t id) {
    const std::optional<HotkeyAction> action = hotkeys_.Press(id, options_.Current().hotkeys);
    if (!action) return;
    if (action->kind == HotkeyKind::Copy)
        CopySlot(action->slot);
    else
        PasteSlot(action->slot);
}

// The first write creates the file. Where a normal user may not create files
// (the drive root of current Windows) it goes to the user's own folder, which
// every later start looks at too.
void MainForm::CreateSettingsFile() {
    if (stores_.Write("askImport", L"1") || fs_.FileExists(stores_.Path()) ||
        places_.userFolder.empty())
        return;
    fs_.MakeDirectory(places_.userFolder);
    stores_.UseFile(places_.userFolder + std::wstring(kSettingsFileName));
    stores_.Write("askImport", L"1");
}

void MainForm::ShowStoreCaptions() {
    for (int n = 1; n < kStoreCount; ++n) {
        view_.SetStoreCaption(n, captions_[n]);
        view_.SetStoreTooltip(n, captions_[n]);
    }
}

bool MainForm::FormQueryUnload(UnloadMode mode) {
    sessionBlock_.clear();
    if (mode == UnloadMode::kUser) {
        CheckStoreChanges();
        view_.Hide();
        return true;
    }
    const ChangeCheck check = stores_.RunCheck(nullptr);
    if (check.result) return false;
    // Windows shows why a session cannot end; a box of ours might be hidden
    // behind its screen, and waiting on it would hold the logoff up.
    if (mode == UnloadMode::kSession) {
        sessionBlock_ = stores_.FailureText(check);
        return true;
    }
    // The user decides: keep the program and its texts (the default), or
    // lose the changes and exit.
    const std::wstring_view lost = check.read ? L"The changes to this store will be lost."
                                              : L"Any changes to this store will be lost.";
    return !prompt_.Confirm(
        kProgramTitle, stores_.FailureText(check) + L"\r\n\r\nExit anyway? " + std::wstring(lost),
        Prompt::Buttons::kYesNo);
}

void MainForm::FormUnload() {
    hotkeys_.Stop();
    const WindowGeometry g = view_.Geometry();
    if (g.state == WindowState::kNormal) {
        const std::string section(kSettingsSection);
        stores_.File().WriteSettings(stores_.Path(),
                                     {{section, "FormWidth", std::to_wstring(g.width)},
                                      {section, "FormTop", std::to_wstring(g.top)},
                                      {section, "FormLeft", std::to_wstring(g.left)}});
    }
    if (options_.Current().autoRun) AutoRunOn(false);  // the program may have moved
    windows_.info.CloseAll();
    windows_.printer.Close();
    windows_.preview.Close();
    windows_.tray.DeleteIcon();
}

void MainForm::CloseMainWindow() {
    CheckStoreChanges();
    view_.Hide();
}

void MainForm::lblStore_Click(int store) {
    if (stores_.CheckAndSwitch(store) && store == kPicturesStore) view_.SetWidth(kPicturesWidth);
}

// Unlike a label click this keeps the width; the change check runs too, so
// that a menu choice never throws edits away unasked.
void MainForm::submnustore_Click(int store) {
    stores_.CheckAndSwitch(store);
}

void MainForm::submnuRename_Click() {
    SaveStore();
    if (stores_.Current() == kPicturesStore) {
        prompt_.Tell(L"Sorry", L"The Picture Store cannot be renamed", Prompt::Icon::kNone);
        return;
    }
    const int n = stores_.Current();
    const std::optional<std::wstring> answer = windows_.input.Ask(
        L"Rename Store", L"What would you like to rename Store " + captions_[n] + L" to ?");
    if (!answer || answer->empty()) return;
    captions_[n] = std::to_wstring(n) + L" " + *answer;
    view_.SetStoreCaption(n, captions_[n]);
    view_.SetStoreTooltip(n, captions_[n]);
    stores_.Write(CaptionKey(n), captions_[n]);
}

// Up through every other window, then back to the user's choice.
void MainForm::ShowMainWindow(bool inFront) {
    view_.ShowNormal();
    ShowClipboard();
    if (!inFront) return;
    view_.SetTopMost(true);
    view_.SetTopMost(options_.Current().stayOnTop);
}

void MainForm::EnableUndo(bool enabled) {
    view_.SetEnabled(IDM_UNDO, enabled);
    view_.SetEnabled(IDM_POPUNDO, enabled);
}

// What Undo remembers belongs to the store shown before.
void MainForm::StoreLeaving() {
    editor_.ForgetUndo();
    pictureSlots_.ForgetUndo();
    EnableUndo(false);
}

DragOffer MainForm::picCopy_OLEStartDrag(int index) {
    return Pictures() ? pictureSlots_.CopyButton(index) : editor_.CopyButton(index);
}

void MainForm::picPaste_Click(int index) {
    Pictures() ? pictureSlots_.PasteButton(index) : editor_.PasteButton(index);
}

void MainForm::menuMirror_Click() {
    options_.ToggleMirror();
    FormResize();
}

void MainForm::FormResize() {
    const WindowGeometry g = view_.Geometry();
    if (g.state == WindowState::kNormal) LayOut(g);
    ShowClipboard();
}

// Between the default width and the stored one. Compared in whole pixels: a
// width read back from pixels is rarely exactly 5000 twips.
void MainForm::Form_DblClick() {
    const WindowGeometry g = view_.Geometry();
    if (g.state != WindowState::kNormal) return;
    const int dpi = view_.Dpi();
    if (TwipsToPixels(g.width, dpi) != TwipsToPixels(kDefaultWidth, dpi)) {
        view_.SetWidth(kDefaultWidth);
        return;
    }
    // A missing or unreadable width keeps the window as it is.
    const std::optional<int32_t> stored =
        ToInt32(stores_.File().ReadSetting(stores_.Path(), kSettingsSection, "FormWidth", L""));
    if (stored) view_.SetWidth(*stored);
}

void MainForm::Form_MouseDown(int button) {
    if (button == 1) {
        ShowClipboard();
        view_.StartMove();
    }
    ShowClipboard();
    view_.FocusPaste(1);
}

void MainForm::picBrindle_DblClick() {
    BeepIfSounds();
    editor_.Open(kHomePage);
}

void MainForm::LayOut(const WindowGeometry& g) {
    int left = g.left, top = g.top, screenW = 0, screenH = 0;
    view_.ScreenSize(screenW, screenH);
    KeepOnScreen(left, top, screenW, screenH);
    if (left != g.left || top != g.top) view_.MoveTo(left, top);
    const bool pictures = stores_.Current() == kPicturesStore;
    const int width = LimitWidth(g.width, pictures);
    if (width != g.width) view_.SetWidth(width);
    view_.Layout(options_.Current().mirror != 0, pictures);
}

void MainForm::mnuTell_Click() {
    editor_.Open(TellFriendAddress());
}

void MainForm::submnuHome_Click() {
    BeepIfSounds();
    editor_.Open(kHomePage);
}

void MainForm::submnuFeedback_Click() {
    BeepIfSounds();
    editor_.Open(
        FeedbackAddress(QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR, QUILLET_VERSION_REVISION));
}

}  // namespace quillet
