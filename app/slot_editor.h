// The text slots' editing: copy and paste between the slots and the
// clipboard, drops, the Edit menu, clearing, and the one-step Undo.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "clipboard.h"
#include "drop_content.h"
#include "main_view.h"
#include "store_session.h"
#include "util/ModuleIP.h"
#include "util/shell_launch.h"

namespace quillet {

// Keys the slot commands ask about (virtual-key codes).
inline constexpr int kKeyShift = 16, kKeyControl = 17;
inline constexpr int kKeyA = 'A', kKeyC = 'C', kKeyD = 'D', kKeyI = 'I', kKeyN = 'N', kKeyT = 'T';

inline constexpr std::wstring_view kShortcutName = L"Internet Shortcut.url";
inline constexpr std::wstring_view kShortcutPath = L"C:\\Internet Shortcut.url";

// Tooltips of a slot's buttons: "1 Copy and/or Drag" ... "10Copy and/or Drag"
// (the tenth has no room for the blank), "1 Paste" ... "10 Paste".
std::wstring CopyButtonTip(int slot);
std::wstring PasteButtonTip(int slot);

// What the editing asks of the rest of the window.
class EditorServices {
  public:
    virtual ~EditorServices() = default;
    virtual void BeepIfSounds() = 0;
    virtual void ShowClipboard() = 0;
    // Both Undo items, the Edit menu's and the picture pop-up's.
    virtual void EnableUndo(bool enabled) = 0;
};

class SlotEditor {
  public:
    SlotEditor(MainView& view, EditorServices& program, Prompt& prompt, FileSystem& fs,
               Clipboard& clipboard, const TextCodec& codec, StoreSession& stores,
               const KeyState& keys, RegionalClock& clock, Shell& shell, HostResolver& resolver)
        : view_(view),
          program_(program),
          prompt_(prompt),
          fs_(fs),
          clipboard_(clipboard),
          codec_(codec),
          stores_(stores),
          keys_(keys),
          clock_(clock),
          shell_(shell),
          resolver_(resolver) {}

    // A slot's Copy and Paste buttons; the keys held at the press choose
    // what they do. The hotkeys and the tray copy and paste plainly.
    DragOffer CopyButton(int index);
    void PasteButton(int index);
    // `then` runs once the text is on the clipboard, before the sound and
    // the clipboard line that confirm it.
    void CopySlot(int index, const std::function<void(const std::wstring&)>& then = nullptr);
    void PasteSlot(int index);
    // Replaces the clipboard's content with `text`, leaving it empty when
    // that fails; true when the text is there.
    bool CopyText(std::wstring text);
    void Drop(int index, const DropContent& dropped);

    // What Undo puts back follows the boxes the user works in.
    void TextChanged(int index);
    void TextFocused(int index);
    void TitleFocused(int index);
    void ForgetUndo();

    // The Edit menu.
    void ClearLabels();
    void ClearContents();
    void ClearStore();
    void ClearAllStoresXLabels();
    void ClearAll();
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void SelectAll();

    // Opens a document or address with the desktop's program for it.
    void Open(std::wstring_view target);
    const std::wstring& CopiedText() const { return copiedText_; }
    const std::wstring& PastedText() const { return pastedText_; }

  private:
    std::wstring BoxText(BoxRef box) const;
    void SetBoxText(BoxRef box, std::wstring_view text);
    void TakeSnapshot(BoxRef box);
    // The clipboard's text in place of the box's, with Undo for it.
    void PasteClipboard(BoxRef box);
    void ClearSlots(bool texts, bool titles);
    void ClearAllStores(bool titles);
    std::wstring WriteShortcut(std::wstring_view address);

    MainView& view_;
    EditorServices& program_;
    Prompt& prompt_;
    FileSystem& fs_;
    Clipboard& clipboard_;
    const TextCodec& codec_;
    StoreSession& stores_;
    const KeyState& keys_;
    RegionalClock& clock_;
    Shell& shell_;
    HostResolver& resolver_;
    std::wstring copiedText_, pastedText_, undoText_;
    std::optional<BoxRef> undoTarget_;
};

}  // namespace quillet
