// The Find window: a search box, a status line and the list of the lines
// found, owned by the main window. Its decisions are FindForm's.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/window_win.h"
#include "find/find_form.h"

namespace quillet {

inline constexpr wchar_t kFindWindowClass[] = L"QuilletProFind";
inline constexpr wchar_t kFindCaption[] = L"Quillet Pro - Find";

class frmFind final : public Window, public FindView {
  public:
    frmFind(HINSTANCE instance, FindServices& program, const CaseMapping& cases);
    ~frmFind() override;

    // Makes the window, owned by `owner`, the first time; reads the stores
    // afresh and puts the focus in the search box with its text selected.
    void Show(HWND owner);
    void Close();

    // Null while the window is closed.
    FindForm* Logic() { return logic_.get(); }
    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }

    // FindView
    void ShowResults(size_t count, bool newQuery) override;
    void ShowStatus(std::wstring_view text) override;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDpiChanged(int fromDpi, int toDpi, const RECT& suggested) override;
    bool Load(HWND owner);
    void CreateControls();
    void LayOut();
    void OnCommand(int id, int code);
    void OnActivate(bool active, bool minimized);
    LRESULT OnNotify(NMHDR& header);
    void OnGetDispInfo(NMLVDISPINFOW& info);
    void RedrawChangedRows();
    void Reread();
    // Enter: the row chosen in the list, or the first when the search box
    // has the focus and none is chosen.
    void OpenChosen();
    void Open(size_t row);
    LRESULT OnSearchBoxMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    int Px(int pixels) const { return ::MulDiv(pixels, dpi_, 96); }

    HINSTANCE instance_;
    FindServices& program_;
    const CaseMapping& cases_;
    std::unique_ptr<FindForm> logic_;
    int dpi_ = 96;
    UniqueFont font_;
    WindowIcons icons_;
    HWND label_ = nullptr, search_ = nullptr, statusLabel_ = nullptr, list_ = nullptr;
    HWND lastFocus_ = nullptr;
    // The list asks for a row's cells one at a time.
    size_t rowIndex_ = static_cast<size_t>(-1);
    FindRow row_;
    // What the rows on view showed when last drawn, and the status line.
    std::unordered_map<size_t, FindRow> drawn_;
    std::wstring status_;
    bool shown_ = false;
    // Going to a row, which may ask the save question; a close meanwhile
    // waits for the answer.
    bool opening_ = false, closeWhenOpened_ = false;
};

}  // namespace quillet
