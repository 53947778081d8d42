// Copy and paste between the text slots and the clipboard, drops, the Edit
// menu, clearing, and the one-step Undo.
#include "slot_editor.h"

#include "resource.h"
#include "util/ModuleIP.h"
#include "util/trim.h"

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

std::wstring SlotEditor::BoxText(BoxRef box) const {
    return box.kind == BoxRef::Kind::kText ? view_.Rows().Text(box.slot)
                                           : view_.Rows().Title(box.slot);
}

// Changes made through the view raise no events; a slot text that really
// changed runs txt_Change here, as typing into it does.
void SlotEditor::SetBoxText(BoxRef box, std::wstring_view text) {
    if (box.kind == BoxRef::Kind::kTitle) {
        view_.Rows().SetTitle(box.slot, text);
        return;
    }
    const bool changed = view_.Rows().Text(box.slot) != text;
    view_.Rows().SetText(box.slot, text);
    if (changed) TextChanged(box.slot);
}

void SlotEditor::TakeSnapshot(BoxRef box) {
    undoText_ = BoxText(box);
    undoTarget_ = box;
}

// After a store switch or a clear the remembered text belongs to nothing
// shown: Undo would write it into the wrong slot.
void SlotEditor::ForgetUndo() {
    undoTarget_.reset();
    undoText_.clear();
}

// Empty targets are skipped: the shell would open the current folder.
void SlotEditor::Open(std::wstring_view target) {
    if (target.empty()) return;
    shell_.ShellExec(L"open", target, L"", L"", kShowDefault);
}

// The shortcut goes to the drive root; where a normal user may not write
// there it goes to the temporary folder under the same name. Empty when it
// could be written nowhere, so that a drag never offers a missing file.
std::wstring SlotEditor::WriteShortcut(std::wstring_view address) {
    const std::string content = "[InternetShortcut]\r\nurl=" + codec_.ToBytes(address) + "\r\n";
    const std::wstring root(kShortcutPath);
    if (fs_.ReplaceAtomically(root, content)) return root;
    std::wstring temp = fs_.TempFolder().wstring();
    if (!temp.empty() && temp.back() != L'\\' && temp.back() != L'/') temp += L'\\';
    temp += kShortcutName;
    if (fs_.ReplaceAtomically(temp, content)) return temp;
    return {};
}

DragOffer SlotEditor::CopyButton(int index) {
    DragOffer offer;
    if (index < 0 || index >= kSlotCount) return offer;
    const KeyState& keys = keys_;
    if (keys.IsDown(kKeyShift)) {
        const std::wstring text = view_.Rows().Text(index);
        if (IsWebAddress(text)) {
            const std::wstring file = WriteShortcut(text);
            if (!file.empty()) offer.files.push_back(file);
        }
    } else if (keys.IsDown(kKeyControl)) {
        // Opened as it stands: the path of a web address may be case-sensitive.
        const std::wstring text = view_.Rows().Text(index);
        program_.BeepIfSounds();
        Open(TrimSpaces(text));
    } else if (keys.IsDown(kKeyA)) {
        program_.BeepIfSounds();
        for (int i = 0; i < kSlotCount; ++i) {
            const std::wstring text = view_.Rows().Text(i);
            Open(TrimSpaces(text));
            view_.PumpEvents();
            clock_.Wait(500);
        }
        view_.Repaint();
        view_.Activate();
    } else {
        offer.text = view_.Rows().Text(index);
        CopyText(*offer.text);
        program_.BeepIfSounds();
    }
    program_.ShowClipboard();
    return offer;
}

void SlotEditor::CopySlot(int index, const std::function<void(const std::wstring&)>& then) {
    if (stores_.PicturesShown() || index < 0 || index >= kSlotCount) return;
    const bool copied = CopyText(view_.Rows().Text(index));
    if (copied && then) then(copiedText_);
    program_.BeepIfSounds();
    // What was just put there need not be read back: the line shows it.
    if (copied) {
        view_.SetClipboardText(copiedText_);
        view_.SetClipboardLength(LengthText(copiedText_.size()));
    } else {
        program_.ShowClipboard();
    }
}

bool SlotEditor::CopyText(std::wstring text) {
    copiedText_ = std::move(text);
    if (clipboard_.SetText(copiedText_)) return true;
    clipboard_.Clear();
    return false;
}

void SlotEditor::PasteButton(int index) {
    if (index < 0 || index >= kSlotCount) return;
    const BoxRef box{BoxRef::Kind::kText, index};
    const KeyState& keys = keys_;
    std::optional<std::wstring> fill;
    if (keys.IsDown(kKeyD))
        fill = clock_.ShortDate();
    else if (keys.IsDown(kKeyT))
        fill = clock_.TimeWithSeconds();
    else if (keys.IsDown(kKeyC))
        fill = std::wstring();
    else if (keys.IsDown(kKeyN))
        fill = clock_.TimeWithSeconds() + L"  " + clock_.ShortDate();
    else if (keys.IsDown(kKeyI))
        fill = GetIPAddress(resolver_);
    if (fill) {
        TakeSnapshot(box);
        SetBoxText(box, *fill);
        return;
    }
    PasteClipboard(box);
}

void SlotEditor::PasteSlot(int index) {
    if (stores_.PicturesShown() || index < 0 || index >= kSlotCount) return;
    PasteClipboard({BoxRef::Kind::kText, index});
}

void SlotEditor::PasteClipboard(BoxRef box) {
    TakeSnapshot(box);
    pastedText_ = clipboard_.Text().value_or(std::wstring());
    SetBoxText(box, pastedText_);
    program_.BeepIfSounds();
    view_.SetEnabled(IDM_UNDO, true);
    program_.ShowClipboard();
}

void SlotEditor::Drop(int index, const DropContent& dropped) {
    if (index < 0 || index >= kSlotCount) return;
    const BoxRef box{BoxRef::Kind::kText, index};
    TakeSnapshot(box);
    view_.SetEnabled(IDM_UNDO, true);
    if (dropped.hasFiles) {
        program_.BeepIfSounds();
        SetBoxText(box, dropped.firstFile);
    } else if (dropped.text) {
        SetBoxText(box, *dropped.text);
    }
}

void SlotEditor::TextChanged(int index) {
    undoTarget_ = BoxRef{BoxRef::Kind::kText, index};
    view_.SetEnabled(IDM_UNDO, true);
}

void SlotEditor::TextFocused(int index) {
    const BoxRef box{BoxRef::Kind::kText, index};
    if (undoTarget_ && BoxText(box) == BoxText(*undoTarget_)) return;
    TakeSnapshot(box);
    program_.EnableUndo(false);
}

void SlotEditor::TitleFocused(int index) {
    const BoxRef box{BoxRef::Kind::kTitle, index};
    if (undoTarget_ && BoxText(box) == BoxText(*undoTarget_)) return;
    TakeSnapshot(box);
    view_.SetEnabled(IDM_UNDO, false);
}

void SlotEditor::ClearSlots(bool texts, bool titles) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (texts) view_.Rows().SetText(i, L"");
        if (titles) view_.Rows().SetTitle(i, L"");
    }
    ForgetUndo();
    view_.SetEnabled(IDM_UNDO, false);
}

void SlotEditor::ClearLabels() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the 'Labels' of "
                      L"this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(false, true);
}

void SlotEditor::ClearContents() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the 'Contents' of "
                      L"this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(true, false);
}

void SlotEditor::ClearStore() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the labels and "
                      L"contents of this store ?",
                      Prompt::Buttons::kOkCancel))
        ClearSlots(true, true);
}

// All fifteen text stores in one write of the file; a write that fails is
// told, since the window alone would look cleared.
void SlotEditor::ClearAllStores(bool titles) {
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

void SlotEditor::ClearAllStoresXLabels() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete all the Contents of All "
                      L"stores ? (except Labels)",
                      Prompt::Buttons::kYesNo))
        ClearAllStores(false);
}

void SlotEditor::ClearAll() {
    if (ConfirmDelete(prompt_,
                      L"Are you sure you want to delete All the Contents of All "
                      L"stores ?",
                      Prompt::Buttons::kYesNo))
        ClearAllStores(true);
}

void SlotEditor::Cut() {
    if (stores_.PicturesShown()) return;
    const std::optional<BoxRef> box = view_.Rows().ActiveBox();
    if (!box) {
        prompt_.Tell(L"Cut", L"Nothing was selected to Cut", Prompt::Icon::kNone);
        return;
    }
    TakeSnapshot(*box);
    program_.EnableUndo(true);
    CopyText(view_.Rows().SelectedText(*box));
    if (!copiedText_.empty()) {
        view_.Rows().ReplaceSelection(*box, L"");
        if (box->kind == BoxRef::Kind::kText) TextChanged(box->slot);
    }
}

void SlotEditor::Copy() {
    if (stores_.PicturesShown()) return;
    const std::optional<BoxRef> box = view_.Rows().ActiveBox();
    if (!box) return;
    CopyText(view_.Rows().SelectedText(*box));
    program_.ShowClipboard();
}

void SlotEditor::Paste() {
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
    if (box->kind == BoxRef::Kind::kText && BoxText(*box) != before) TextChanged(box->slot);
    view_.SetEnabled(IDM_UNDO, true);
}

void SlotEditor::Undo() {
    if (undoTarget_) SetBoxText(*undoTarget_, undoText_);
    program_.EnableUndo(false);
}

// The whole text, however long it is.
void SlotEditor::SelectAll() {
    if (stores_.PicturesShown()) return;
    if (const std::optional<BoxRef> box = view_.Rows().ActiveBox()) view_.Rows().SelectAll(*box);
}

}  // namespace quillet
