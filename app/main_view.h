// What the main window's logic needs of the window and of the user: the seam
// between the core and the Win32 shell, faked in the core's tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prompt.h"

namespace quillet {

enum class WindowState { kNormal, kMinimized, kMaximized };

// A slot's text box or title box: what Undo and the Edit menu act on.
struct BoxRef {
    enum class Kind { kText, kTitle };
    Kind kind = Kind::kText;
    int slot = 0;
    friend bool operator==(const BoxRef&, const BoxRef&) = default;
};

struct WindowGeometry {  // twips, screen coordinates
    int left = 0, top = 0, width = 0, height = 0;
    WindowState state = WindowState::kNormal;
};

// The ten slot rows: the text and title boxes, their colours and the box in
// use.
class SlotRowsView {
  public:
    virtual ~SlotRowsView() = default;
    virtual std::wstring Text(int slot) const = 0;
    virtual void SetText(int slot, std::wstring_view text) = 0;
    virtual std::wstring Title(int slot) const = 0;
    virtual void SetTitle(int slot, std::wstring_view title) = 0;
    virtual void SetColours(unsigned titleBackground, unsigned textBackground) = 0;
    // The slot box that has the focus, if any.
    virtual std::optional<BoxRef> ActiveBox() const = 0;
    virtual std::wstring SelectedText(BoxRef box) const = 0;
    // Replaces the selection (or inserts at the caret).
    virtual void ReplaceSelection(BoxRef box, std::wstring_view text) = 0;
    virtual void SelectAll(BoxRef box) = 0;
    // The focus into the box with `length` units from `start` selected, in
    // view.
    virtual void Select(BoxRef box, size_t start, size_t length) = 0;
};

// The small window that shows ten blocks while something long runs.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    virtual void ShowProgress(std::wstring_view caption, std::wstring_view label) = 0;
    virtual void ShowProgressBlock(int block) = 0;  // 1 ... 10
    virtual void SetProgressLabel(std::wstring_view label) = 0;
    virtual void CloseProgress() = 0;
};

class MainView {
  public:
    virtual ~MainView() = default;

    virtual void SetCaption(std::wstring_view caption) = 0;
    virtual WindowGeometry Geometry() const = 0;
    virtual void MoveTo(int left, int top) = 0;
    virtual void SetWidth(int width) = 0;
    virtual void ScreenSize(int& width, int& height) const = 0;
    // Dots per inch of the window, for what must hold in whole pixels.
    virtual int Dpi() const = 0;
    // Lets the user move the window with the mouse as by its caption, until
    // the button is released.
    virtual void StartMove() = 0;
    virtual void ShowNormal() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetTopMost(bool onTop) = 0;
    virtual void Repaint() = 0;
    // Places the rows for the current width (Form_Resize's last steps).
    virtual void Layout(bool mirror, bool picturesShown) = 0;
    virtual void Beep() = 0;

    virtual SlotRowsView& Rows() = 0;
    virtual void FocusPaste(int slot) = 0;
    // Lets waiting window events run, and brings the window to the front.
    virtual void PumpEvents() = 0;
    virtual void Activate() = 0;

    virtual void SetStoreCaption(int store, std::wstring_view caption) = 0;
    virtual void SetStoreTooltip(int store, std::wstring_view tip) = 0;
    virtual void MarkStoreLabel(int store, bool current) = 0;
    virtual void ShowPictures(bool shown) = 0;

    // The clipboard display line.
    virtual void SetClipboardText(std::wstring_view text) = 0;
    virtual void SetClipboardLength(std::wstring_view text) = 0;

    virtual ProgressView& Progress() = 0;

    // Menu items by their IDM_ identifier: drawn from the program's state.
    virtual void SetChecked(int item, bool checked) = 0;
    virtual void SetEnabled(int item, bool enabled) = 0;
};

}  // namespace quillet
