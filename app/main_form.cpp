#include "main_form.h"

#include "layout.h"
#include "pictures/picture_files.h"
#include "resource.h"

namespace quillet {

namespace {

constexpr int kTextEditingItems[] = {IDM_PASTE,       IDM_CUT,           IDM_COPY,
                                     IDM_CLEARLABELS, IDM_CLEARCONTENTS, IDM_CLEARSTORE,
                                     IDM_SELECTALL};

constexpr std::wstring_view kSaveQuestion =
    L"Some contents of this Store have changed....\r\n\r\n"
    L"Do you want to save your changes ?\r\n\r\n"
    L"Hint:\r\n"
    L"You can stop these messages by selecting 'Autosave' from the Options menu.";

}  // namespace

void MainForm::FormLoad(std::wstring_view programFolder) {
    view_.SetCaption(kProgramTitle);
    places_ = PlacesOf(programFolder);
    settingsPath_ = ChooseSettingsPath(places_, kSettingsFileName, fs_);

    if (Read("askImport", L"") != L"1") {
        // The import of the Standard edition's data is offered here.
        Write("askImport", L"1");
    }

    if (!fs_.DirectoryExists(kPictureFolder)) fs_.MakeDirectory(kPictureFolder);

    WindowGeometry g = view_.Geometry();
    int top = g.top, left = g.left;
    if (auto v = ToInt16(Read("FormTop", L"500"))) top = *v;
    if (auto v = ToInt16(Read("FormLeft", L"1500"))) left = *v;
    view_.MoveTo(left, top);

    // A number that does not convert, or names no store, leaves store 0.
    currentStore_ = 0;
    if (auto v = ToInt16(Read("StoreNumber", L"1")); v && *v >= 0 && *v < kStoreCount)
        currentStore_ = *v;
    SwitchStore(currentStore_);

    view_.SetSlotColours(kTitleBackground, kTextBackground);

    for (int n = 1; n < kStoreCount; ++n) {
        const std::wstring caption = Read(CaptionKey(n), L"");
        if (!caption.empty()) view_.SetStoreCaption(n, caption);
    }
    for (int n = 1; n < kStoreCount; ++n) view_.SetStoreTooltip(n, view_.StoreCaption(n));

    autoSaveSetting_ = Read("AutoSave", L"");
    view_.SetChecked(IDM_AUTOSAVE, autoSaveSetting_ == L"1");
    view_.SetChecked(IDM_SOUNDS, Read("Sounds", L"") != L"0");
    view_.SetChecked(IDM_AUTORUN, Read("AutoRun", L"") == L"1");
    ApplyMainOnTop();

    storeChanged_ = false;
    view_.SetEnabled(IDM_UNDO, false);
    view_.SetEnabled(IDM_POPUNDO, false);

    int screenW = 0, screenH = 0;
    view_.ScreenSize(screenW, screenH);
    g = view_.Geometry();
    left = g.left;
    top = g.top;
    KeepOnScreenAtStart(left, top, screenW, screenH);
    view_.MoveTo(left, top);

    if (auto w = ToInt16(Read("FormWidth", L""))) view_.SetWidth(*w);

    view_.FocusPaste(1);

    if (Read("StartTray", L"") == L"1") {
        CloseMainWindow();
        view_.SetChecked(IDM_STARTTRAY, true);
    } else {
        view_.SetChecked(IDM_STARTTRAY, false);
    }

    mirrorOn_ = ToInt16(Read("Mirror", L"0")).value_or(0);
    view_.SetChecked(IDM_MIRROR, mirrorOn_ == 1);

    hotkeysText_ = Read("Hotkeys", L"0");
    view_.SetChecked(IDM_HOTKEYS, hotkeysText_ != L"0");
}

bool MainForm::FormQueryUnload(UnloadMode mode) {
    const bool saved = CheckStoreChanges();
    if (mode == UnloadMode::kUser) {
        view_.Hide();
        return true;
    }
    // A save that failed keeps the program open, so the edits are not lost.
    return !saved && mode == UnloadMode::kProgram;
}

void MainForm::FormUnload() {
    const WindowGeometry g = view_.Geometry();
    if (g.state == WindowState::kNormal) {
        settings_.WriteSettings(
            settingsPath_, {{std::string(kSettingsSection), "FormWidth", std::to_wstring(g.width)},
                            {std::string(kSettingsSection), "FormTop", std::to_wstring(g.top)},
                            {std::string(kSettingsSection), "FormLeft", std::to_wstring(g.left)}});
    }
}

void MainForm::CloseMainWindow() {
    CheckStoreChanges();
    view_.Hide();
}

void MainForm::lblStore_Click(int store) {
    if (store < 0 || store >= kStoreCount) return;
    CheckStoreChanges();
    SwitchStore(static_cast<int16_t>(store));
    if (store == kPicturesStore) view_.SetWidth(kPicturesWidth);
    view_.SetEnabled(IDM_UNDO, false);
    view_.SetEnabled(IDM_POPUNDO, false);
}

// Unlike a label click this keeps the width and the Undo items; the change
// check runs too, so that a menu choice never throws edits away unasked.
void MainForm::submnustore_Click(int store) {
    if (store < 0 || store >= kStoreCount) return;
    CheckStoreChanges();
    SwitchStore(static_cast<int16_t>(store));
}

void MainForm::submnuAutoSave_Click() {
    const bool on = !view_.IsChecked(IDM_AUTOSAVE);
    view_.SetChecked(IDM_AUTOSAVE, on);
    autoSaveSetting_ = on ? L"1" : L"0";
    Write("AutoSave", autoSaveSetting_);
}

void MainForm::LoadStore() {
    if (currentStore_ == kPicturesStore) {
        LoadPictures();
        return;
    }
    const std::vector<std::wstring> values =
        settings_.ReadSettings(settingsPath_, StoreSection(currentStore_), StoreKeys());
    for (int i = 0; i < kSlotCount; ++i) {
        view_.SetSlotText(i, values[2 * i]);
        view_.SetSlotTitle(i, values[2 * i + 1]);
    }
}

void MainForm::LoadPictures() {
    view_.ShowProgress(kProgramTitle, L"Loading Thumbnails...");
    std::vector<std::string> keys;
    for (int i = 0; i < kSlotCount; ++i) keys.push_back(TitleKey(i));
    const std::vector<std::wstring> titles =
        settings_.ReadSettings(settingsPath_, StoreSection(kPicturesStore), keys);
    for (int i = 0; i < kSlotCount; ++i) {
        view_.ShowProgressBlock(i + 1);
        const std::wstring path = SlotPicturePath(i);
        view_.LoadSlotPicture(i, path);
        SetPictureTag(i, path);
        view_.FitSlotPicture(i);
        view_.SetSlotTitle(i, titles[i].empty() ? std::to_wstring(i + 1) : titles[i]);
    }
    view_.CloseProgress();
    view_.Repaint();
}

bool MainForm::SaveStore() {
    std::vector<Settings::Value> values;
    const std::string section = StoreSection(currentStore_);
    for (int i = 0; i < kSlotCount; ++i) {
        values.push_back({section, TextKey(i), view_.SlotText(i)});
        values.push_back({section, TitleWriteKey(i), view_.SlotTitle(i)});
    }
    const IoResult result = settings_.WriteSettings(settingsPath_, values);
    storeChanged_ = false;
    if (!result) {
        prompt_.Tell(kProgramTitle,
                     L"The store could not be saved to the settings file\r\n" + settingsPath_ +
                         L"\r\n\r\n" + result.reason,
                     Prompt::Icon::kCritical);
        return false;
    }
    return true;
}

bool MainForm::CheckStoreChanges() {
    bool saved = true;
    if (currentStore_ == kPicturesStore) {
        saved = SaveStore();
    } else {
        const std::vector<std::wstring> stored =
            settings_.ReadSettings(settingsPath_, StoreSection(currentStore_), StoreKeys());
        for (int i = 0; i < kSlotCount; ++i) {
            if (view_.SlotText(i) != stored[2 * i]) storeChanged_ = true;
            if (view_.SlotTitle(i) != stored[2 * i + 1]) storeChanged_ = true;
        }
        if (storeChanged_) {
            if (autoSaveSetting_ == L"1" ||
                prompt_.AskYesNo(L"Save Changes ?", kSaveQuestion, Prompt::Icon::kQuestion))
                saved = SaveStore();
        }
    }
    storeChanged_ = false;
    return saved;
}

void MainForm::SwitchStore(int16_t store) {
    if (store < 0 || store >= kStoreCount) return;
    for (int n = 0; n < kStoreCount; ++n) view_.SetChecked(IDM_STORE0 + n, false);
    view_.SetChecked(IDM_STORE0 + store, true);
    Write("StoreNumber", std::to_wstring(store));
    currentStore_ = store;
    ForgetUndo();
    LoadStore();
    view_.ShowPictures(store == kPicturesStore);
    view_.Repaint();
    for (int n = 0; n < kStoreCount; ++n) view_.MarkStoreLabel(n, false);
    view_.MarkStoreLabel(store, true);
    for (int item : kTextEditingItems) view_.SetEnabled(item, store != kPicturesStore);
    view_.FocusPaste(1);
    FormResize();
}

void MainForm::FormResize() {
    const WindowGeometry g = view_.Geometry();
    if (g.state == WindowState::kNormal) LayOut(g);
    ShowClipboard();
}

void MainForm::LayOut(const WindowGeometry& g) {
    int left = g.left, top = g.top, screenW = 0, screenH = 0;
    view_.ScreenSize(screenW, screenH);
    KeepOnScreen(left, top, screenW, screenH);
    if (left != g.left || top != g.top) view_.MoveTo(left, top);
    const bool pictures = currentStore_ == kPicturesStore;
    const int width = LimitWidth(g.width, pictures);
    if (width != g.width) view_.SetWidth(width);
    view_.Layout(mirrorOn_ != 0, pictures);
}

void MainForm::ShowClipboard() {
    const std::wstring text = clipboard_.Text().value_or(std::wstring());
    view_.SetClipboardText(text);
    view_.SetClipboardLength(LengthText(text.size()));
}

void MainForm::GetClipPic() {
    view_.SetClipboardText(L"Picture");
    view_.SetClipboardLength(L"");
}

// A clipboard without text (a picture, files) is left as it is: replacing it
// with an empty text would destroy what the user copied.
void MainForm::RewriteClipboard(std::wstring (*change)(const MainForm&, std::wstring_view)) {
    if (const std::optional<std::wstring> text = clipboard_.Text()) {
        clipboard_.Clear();
        clipboard_.SetText(change(*this, *text));
    }
    ShowClipboard();
    BeepIfSounds();
}

void MainForm::mnuLowerCase_Click() {
    RewriteClipboard([](const MainForm& f, std::wstring_view t) { return f.cases_.Lower(t); });
}

void MainForm::mnuUpperCase_Click() {
    RewriteClipboard([](const MainForm& f, std::wstring_view t) { return f.cases_.Upper(t); });
}

void MainForm::mnuOppositeCase_Click() {
    RewriteClipboard([](const MainForm&, std::wstring_view t) { return OppositeCase(t); });
}

void MainForm::mnuEmptyClipboard_Click() {
    clipboard_.Clear();
    view_.SetClipboardText(L"");
}

void MainForm::BeepIfSounds() {
    if (view_.IsChecked(IDM_SOUNDS)) view_.Beep();
}

void MainForm::ApplyMainOnTop() {
    mainOnTopSetting_ = Read("StoreNumber", L"").empty() ? L"0" : Read("MainOnTop", L"");
    const bool onTop = mainOnTopSetting_ == L"1";
    view_.SetTopMost(onTop);
    view_.SetChecked(IDM_STAYTOP, onTop);
}

}  // namespace quillet
