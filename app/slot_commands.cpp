// The slot commands of the main window: Copy and Paste buttons, drops, the
// undo state, the Edit menu, the picture pop-up, and the small commands that
// hand things to the desktop.
#include "main_form.h"

#include "pictures/picture_files.h"
#include "resource.h"
#include "util/trim.h"
#include "version.h"

namespace quillet {

namespace {

// "http..." or "www...", capitals or not; leading blanks defeat it.
bool IsWebAddress(std::wstring_view text) {
    auto startsWith = [text](std::wstring_view prefix) {
        if (text.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            wchar_t c = text[i];
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
            if (c != prefix[i]) return false;
        }
        return true;
    };
    return startsWith(L"http") || startsWith(L"www");
}

bool ConfirmDelete(Prompt& prompt, std::wstring_view question, Prompt::Buttons buttons) {
    return prompt.Confirm(L"Confirm Delete",
                          std::wstring(question) + L"\r\nThis action cannot be undone", buttons);
}

}  // namespace

std::wstring CopyButtonTip(int slot) {
    return std::to_wstring(slot + 1) + (slot == 9 ? L"" : L" ") + L"Copy and/or Drag";
}

std::wstring PasteButtonTip(int slot) {
    return std::to_wstring(slot + 1) + L" Paste";
}

std::wstring MainForm::BoxText(BoxRef box) const {
    return box.kind == BoxRef::Kind::kText ? view_.Rows().Text(box.slot)
                                           : view_.Rows().Title(box.slot);
}

// Changes made through the view raise no events; a slot text that really
// changed runs txt_Change here, as typing into it does.
void MainForm::SetBoxText(BoxRef box, std::wstring_view text) {
    if (box.kind == BoxRef::Kind::kTitle) {
        view_.Rows().SetTitle(box.slot, text);
        return;
    }
    const bool changed = view_.Rows().Text(box.slot) != text;
    view_.Rows().SetText(box.slot, text);
    if (changed) txt_Change(box.slot);
}

void MainForm::TakeSnapshot(BoxRef box) {
    undoText_ = BoxText(box);
    undoTarget_ = box;
}

// After a store switch or a clear the remembered text belongs to nothing
// shown: Undo would write it into the wrong slot.
void MainForm::ForgetUndo() {
    undoTarget_.reset();
    undoText_.clear();
    pictureSlots_.ForgetUndo();
}

// Empty targets are skipped: the shell would open the current folder.
void MainForm::Open(std::wstring_view target) {
    if (target.empty()) return;
    desktop_.shell.ShellExec(L"open", target, L"", L"", kShowDefault);
}

// The shortcut goes to the drive root; where a normal user may not write
// there it goes to the temporary folder under the same name. Empty when it
// could be written nowhere, so that a drag never offers a missing file.
std::wstring MainForm::WriteShortcut(std::wstring_view address) {
    const std::string content = "[InternetShortcut]\r\nurl=" + codec_.ToBytes(address) + "\r\n";
    const std::wstring root(kShortcutPath);
    if (fs_.ReplaceAtomically(root, content)) return root;
    std::wstring temp = fs_.TempFolder().wstring();
    if (!temp.empty() && temp.back() != L'\\' && temp.back() != L'/') temp += L'\\';
    temp += kShortcutName;
    if (fs_.ReplaceAtomically(temp, content)) return temp;
    return {};
}

DragOffer MainForm::picCopy_OLEStartDrag(int index) {
    DragOffer offer;
    if (index < 0 || index >= kSlotCount) return offer;
    if (stores_.PicturesShown()) return pictureSlots_.CopyButton(index);
    const KeyState& keys = desktop_.keys;
    if (keys.IsDown(kKeyShift)) {
        const std::wstring text = view_.Rows().Text(index);
        if (IsWebAddress(text)) {
            const std::wstring file = WriteShortcut(text);
            if (!file.empty()) offer.files.push_back(file);
        }
    } else if (keys.IsDown(kKeyControl)) {
        // Opened as it stands: the path of a web address may be case-sensitive.
        const std::wstring text = view_.Rows().Text(index);
        BeepIfSounds();
        Open(TrimSpaces(text));
    } else if (keys.IsDown(kKeyA)) {
        BeepIfSounds();
        for (int i = 0; i < kSlotCount; ++i) {
            const std::wstring text = view_.Rows().Text(i);
            Open(TrimSpaces(text));
            view_.PumpEvents();
            desktop_.clock.Wait(500);
        }
        view_.Repaint();
        view_.Activate();
    } else {
        offer.text = view_.Rows().Text(index);
        CopyText(*offer.text);
        BeepIfSounds();
    }
    ShowClipboard();
    return offer;
}

void MainForm::CopySlot(int index) {
    if (stores_.PicturesShown() || index < 0 || index >= kSlotCount) return;
    const bool copied = CopyText(view_.Rows().Text(index));
    BeepIfSounds();
    // What was just put there need not be read back: the line shows it.
    if (copied) {
        view_.SetClipboardText(copiedText_);
        view_.SetClipboardLength(LengthText(copiedText_.size()));
    } else {
        ShowClipboard();
    }
}

bool MainForm::CopyText(std::wstring text) {
    copiedText_ = std::move(text);
    if (clipboard_.SetText(copiedText_)) return true;
    clipboard_.Clear();
    return false;
}

void MainForm::picPaste_Click(int index) {
    if (index < 0 || index >= kSlotCount) return;
    if (stores_.PicturesShown()) return pictureSlots_.PasteButton(index);
    const BoxRef box{BoxRef::Kind::kText, index};
    const KeyState& keys = desktop_.keys;
    std::optional<std::wstring> fill;
    if (keys.IsDown(kKeyD))
        fill = desktop_.clock.ShortDate();
    else if (keys.IsDown(kKeyT))
        fill = desktop_.clock.TimeWithSeconds();
    else if (keys.IsDown(kKeyC))
        fill = std::wstring();
    else if (keys.IsDown(kKeyN))
        fill = desktop_.clock.TimeWithSeconds() + L"  " + desktop_.clock.ShortDate();
    else if (keys.IsDown(kKeyI))
        fill = GetIPAddress(desktop_.resolver);
    if (fill) {
        TakeSnapshot(box);
        SetBoxText(box, *fill);
        return;
    }
    TakeSnapshot(box);
    pastedText_ = clipboard_.Text().value_or(std::wstring());
    SetBoxText(box, pastedText_);
    BeepIfSounds();
    view_.SetEnabled(IDM_UNDO, true);
    ShowClipboard();
}

void MainForm::PasteSlot(int index) {
    if (stores_.PicturesShown() || index < 0 || index >= kSlotCount) return;
    const BoxRef box{BoxRef::Kind::kText, index};
    TakeSnapshot(box);
    view_.SetEnabled(IDM_UNDO, true);
    pastedText_ = clipboard_.Text().value_or(std::wstring());
    SetBoxText(box, pastedText_);
    BeepIfSounds();
    view_.SetEnabled(IDM_UNDO, true);
    ShowClipboard();
}

void MainForm::txt_OLEDragDrop(int index, const DropContent& dropped) {
    if (index < 0 || index >= kSlotCount) return;
    const BoxRef box{BoxRef::Kind::kText, index};
    TakeSnapshot(box);
    view_.SetEnabled(IDM_UNDO, true);
    if (dropped.hasFiles) {
        BeepIfSounds();
        SetBoxText(box, dropped.firstFile);
    } else if (dropped.text) {
        SetBoxText(box, *dropped.text);
    }
}

void MainForm::txt_Change(int index) {
    undoTarget_ = BoxRef{BoxRef::Kind::kText, index};
    view_.SetEnabled(IDM_UNDO, true);
}

void MainForm::txt_GotFocus(int index) {
    const BoxRef box{BoxRef::Kind::kText, index};
    if (undoTarget_ && BoxText(box) == BoxText(*undoTarget_)) return;
    TakeSnapshot(box);
    EnableUndo(false);
}

void MainForm::txtTitle_GotFocus(int index) {
    const BoxRef box{BoxRef::Kind::kTitle, index};
    if (undoTarget_ && BoxText(box) == BoxText(*undoTarget_)) return;
    TakeSnapshot(box);
    view_.SetEnabled(IDM_UNDO, false);
}

void MainForm::ClearSlots(bool texts, bool titles) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (texts) view_.Rows().SetText(i, L"");
        if (titles) view_.Rows().SetTitle(i, L"");
    }
    ForgetUndo();
    view_.SetEnabled(IDM_UNDO, false);
}

void MainForm::mnuClearLabels_Click() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the 'Labels' of "
                      L"this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(false, true);
}

void MainForm::mnuClearContents_Click() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the 'Contents' of "
                      L"this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(true, false);
}

void MainForm::mnuClearStore_Click() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the labels and "
                      L"contents of this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(true, true);
}

// All fifteen text stores in one write of the file; a write that fails is
// told, since the window alone would look cleared.
void MainForm::ClearAllStores(bool titles) {
    std::vector<Settings::Value> values;
    for (int s = 1; s < kStoreCount; ++s) {
        const std::string section = StoreSection(s);
        for (int i = 0; i < kSlotCount; ++i) {
            values.push_back({section, TextKey(i), L""});
            if (titles) values.push_back({section, TitleWriteKey(i), L""});
        }
    }
    const IoResult result = stores_.File().WriteSettings(stores_.Path(), values);
    if (!result) {
        prompt_.Tell(kProgramTitle,
                     L"The stores could not be cleared in the settings file\r\n" + stores_.Path() +
                         L"\r\n\r\n" + result.reason,
                     Prompt::Icon::kCritical);
        return;
    }
    ClearSlots(true, titles);
}

void MainForm::mnuClearAllStoresXLabels_Click() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the Contents of All "
                      L"stores ? (except Labels)",
                      Prompt::Buttons::kYesNo))
        ClearAllStores(false);
}

void MainForm::mnuClearAll_Click() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete All the Contents of All "
                      L"stores ?",
                      Prompt::Buttons::kYesNo))
        ClearAllStores(true);
}

void MainForm::mnuCut_Click() {
    if (stores_.PicturesShown()) return;
    const std::optional<BoxRef> box = view_.Rows().ActiveBox();
    if (!box) {
        prompt_.Tell(L"Cut", L"Nothing was selected to Cut", Prompt::Icon::kNone);
        return;
    }
    TakeSnapshot(*box);
    EnableUndo(true);
    CopyText(view_.Rows().SelectedText(*box));
    if (!copiedText_.empty()) {
        view_.Rows().ReplaceSelection(*box, L"");
        if (box->kind == BoxRef::Kind::kText) txt_Change(box->slot);
    }
}

void MainForm::mnuCopy_Click() {
    if (stores_.PicturesShown()) return;
    const std::optional<BoxRef> box = view_.Rows().ActiveBox();
    if (!box) return;
    CopyText(view_.Rows().SelectedText(*box));
    ShowClipboard();
}

void MainForm::mnuPaste_Click() {
    if (stores_.PicturesShown()) return;
    const std::optional<BoxRef> box = view_.Rows().ActiveBox();
    if (!box) {
        prompt_.Tell(L"Error pasting",
                     L"Error - You need to place the curser inside a text box to paste",
                     Prompt::Icon::kNone);
        return;
    }
    TakeSnapshot(*box);
    pastedText_ = clipboard_.Text().value_or(std::wstring());
    const std::wstring before = BoxText(*box);
    view_.Rows().ReplaceSelection(*box, pastedText_);
    if (box->kind == BoxRef::Kind::kText && BoxText(*box) != before) txt_Change(box->slot);
    view_.SetEnabled(IDM_UNDO, true);
}

void MainForm::mnuUndo_Click() {
    if (stores_.PicturesShown()) return pictureSlots_.Undo();
    if (undoTarget_) SetBoxText(*undoTarget_, undoText_);
    EnableUndo(false);
}

// The whole text, however long it is.
void MainForm::mnuSelectAll_Click() {
    if (stores_.PicturesShown()) return;
    if (const std::optional<BoxRef> box = view_.Rows().ActiveBox()) view_.Rows().SelectAll(*box);
}

// The addresses join what the clipboard holds; with none found it keeps
// what the user had on it.
void MainForm::mnuGetIP_Click() {
    const std::wstring addresses = GetIPAddress(desktop_.resolver);
    if (!addresses.empty()) clipboard_.AddText(addresses);
    BeepIfSounds();
    ShowClipboard();
    prompt_.Tell(L"IP Address", IPAddressMessage(addresses), Prompt::Icon::kNone);
}

void MainForm::mnuTell_Click() {
    Open(TellFriendAddress());
}

void MainForm::submnuHome_Click() {
    BeepIfSounds();
    Open(kHomePage);
}

void MainForm::submnuFeedback_Click() {
    BeepIfSounds();
    Open(FeedbackAddress(QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR, QUILLET_VERSION_REVISION));
}

}  // namespace quillet
