// The Find window's controls and their messages.
#include "find/frmFind_win.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "base/dpi_win.h"
#include "controls/controls_win.h"
#include "resource.h"

namespace quillet {

namespace {

// The designed client area and margins, in pixels at 96 dots per inch.
constexpr int kClientWidth = 620, kClientHeight = 380;
constexpr int kMargin = 8, kLabelWidth = 34, kRowHeight = 23, kStatusHeight = 34;

struct Column {
    const wchar_t* caption;
    int width;  // at 96 dots per inch; the last takes what is left
};
constexpr Column kColumns[] = {{L"Store", 100}, {L"Slot", 40}, {L"Title", 110}, {L"Line", 0}};

// A pop-up, as a modeless dialog is: it stays above the main window that
// owns it, also when that window comes to the front.
// Rows remembered as drawn: a few pages.
constexpr size_t kDrawnRowsKept = 256;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// Beside the main window where the work area has room, so that the slot a
// result goes to stays in sight: right, left, below or above it.
std::optional<POINT> PlaceBeside(const RECT& owner, SIZE size, const RECT& area) {
    const auto fits = [&](const POINT& p) {
        return p.x >= area.left && p.y >= area.top && p.x + size.cx <= area.right &&
               p.y + size.cy <= area.bottom;
    };
    const int top =
        std::clamp<int>(owner.top, area.top, std::max<int>(area.top, area.bottom - size.cy));
    const int left =
        std::clamp<int>(owner.left, area.left, std::max<int>(area.left, area.right - size.cx));
    const POINT tries[] = {{owner.right, top},
                           {owner.left - size.cx, top},
                           {left, owner.bottom},
                           {left, owner.top - size.cy}};
    for (const POINT& p : tries)
        if (fits(p)) return p;
    return std::nullopt;
}

}  // namespace

frmFind::frmFind(HINSTANCE instance, FindServices& program, const CaseMapping& cases)
    : instance_(instance), program_(program), cases_(cases) {}

frmFind::~frmFind() {
    Destroy();
}

void frmFind::Show(HWND owner) {
    if (opening_) return;  // it is up already, waiting with the main window
    if (!hwnd() && !Load(owner)) return;
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(search_);
    ::SendMessageW(search_, EM_SETSEL, 0, -1);
    // Activation has read the stores already when the window was not in front.
    if (!shown_ || ::GetActiveWindow() != hwnd()) Reread();
    shown_ = true;
}

void frmFind::Close() {
    if (opening_) {
        closeWhenOpened_ = true;
        return;
    }
    Destroy();
}

bool frmFind::Load(HWND owner) {
    dpi_ = owner ? WindowDpi(owner) : SystemDpi();
    RegisterFaceClass(instance_, kFindWindowClass);

    RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
    AdjustWindowRectForDpi(frame, kStyle, false, WS_EX_CONTROLPARENT, dpi_);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    // Else, and with the main window in the tray, the middle of the work area.
    POINT at{area.left + ((area.right - area.left) - width) / 2,
             area.top + ((area.bottom - area.top) - height) / 2};
    RECT main{};
    if (owner && ::IsWindowVisible(owner) && ::GetWindowRect(owner, &main))
        at = PlaceBeside(main, SIZE{width, height}, area).value_or(at);
    const int left = at.x, top = at.y;

    logic_ = std::make_unique<FindForm>(*this, program_, cases_);
    shown_ = false;
    if (!CreateAs(WS_EX_CONTROLPARENT, kFindWindowClass, kFindCaption, kStyle,
                  RECT{left, top, left + width, top + height}, owner, nullptr, instance_)) {
        logic_.reset();
        return false;
    }
    icons_ = SetWindowIconsForDpi(hwnd(), instance_, IDI_QUILLET, dpi_);
    // Ctrl+F here too: back to the search box.
    SetAccelerators(hwnd(), ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    CreateControls();
    LayOut();
    return true;
}

void frmFind::CreateControls() {
    LOGFONTW lf = MessageFontForDpi(dpi_);
    font_.reset(::CreateFontIndirectW(&lf));
    const RECT none{0, 0, 0, 0};
    label_ = CreateChild(hwnd(), L"STATIC", L"Fi&nd:", SS_LEFT, IDC_FINDLABEL, none);
    search_ = CreateChild(hwnd(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, IDC_FINDTEXT, none,
                          WS_EX_CLIENTEDGE);
    statusLabel_ = CreateChild(hwnd(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_FINDSTATUS, none);
    list_ = CreateChild(hwnd(), WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                        IDC_FINDRESULTS, none, WS_EX_CLIENTEDGE);
    for (HWND c : {label_, search_, statusLabel_, list_})
        ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(kColumns[i].caption);
        column.cx = Px(kColumns[i].width);
        column.iSubItem = i;
        ListView_InsertColumn(list_, i, &column);
    }
    SubclassControl<frmFind, &frmFind::OnSearchBoxMessage>(search_, this);
}

void frmFind::LayOut() {
    if (!list_) return;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int m = Px(kMargin), row = Px(kRowHeight);
    const int right = std::max<int>(client.right - m, m + Px(kLabelWidth) + m);
    const int editLeft = m + Px(kLabelWidth);
    ::MoveWindow(label_, m, m + Px(4), Px(kLabelWidth), row - Px(4), FALSE);
    ::MoveWindow(search_, editLeft, m, right - editLeft, row, FALSE);
    const int statusTop = m + row + Px(6);
    ::MoveWindow(statusLabel_, m, statusTop, right - m, Px(kStatusHeight), FALSE);
    const int listTop = statusTop + Px(kStatusHeight) + Px(4);
    ::MoveWindow(list_, m, listTop, right - m, std::max<int>(client.bottom - m - listTop, row),
                 FALSE);
    // The line takes the room the other columns leave, with the vertical
    // scroll bar's room kept whether it shows or not: else its coming would
    // bring a horizontal one too.
    int fixed = 0;
    for (int i = 0; i + 1 < static_cast<int>(std::size(kColumns)); ++i)
        fixed += ListView_GetColumnWidth(list_, i);
    RECT inside{};
    ::GetClientRect(list_, &inside);
    if (!(::GetWindowLongW(list_, GWL_STYLE) & WS_VSCROLL))
        inside.right -= SystemMetricForDpi(SM_CXVSCROLL, dpi_);
    ListView_SetColumnWidth(list_, static_cast<int>(std::size(kColumns)) - 1,
                            std::max<int>(inside.right - fixed, Px(120)));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void frmFind::OnDpiChanged(int, int toDpi, const RECT& suggested) {
    dpi_ = toDpi;
    LOGFONTW lf = MessageFontForDpi(dpi_);
    UniqueFont font(::CreateFontIndirectW(&lf));
    for (HWND c : {label_, search_, statusLabel_, list_})
        ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);
    icons_ = SetWindowIconsForDpi(hwnd(), instance_, IDI_QUILLET, dpi_);
    for (int i = 0; i + 1 < static_cast<int>(std::size(kColumns)); ++i)
        ListView_SetColumnWidth(list_, i, Px(kColumns[i].width));
    PlaceAt(suggested);
    LayOut();
}

void frmFind::ShowResults(size_t count, bool newQuery) {
    rowIndex_ = static_cast<size_t>(-1);
    const int chosen = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    const bool keep = !newQuery && chosen >= 0 && static_cast<size_t>(chosen) < count;
    if (!keep) {
        // One row at most is chosen: clearing every row of a long list would
        // cost a message each.
        if (chosen >= 0) ListView_SetItemState(list_, chosen, 0, LVIS_SELECTED | LVIS_FOCUSED);
        const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
        if (focused >= 0) ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED);
    }
    // The list redraws only the rows it gains or loses; of the others, those
    // that read differently now.
    if (static_cast<size_t>(ListView_GetItemCount(list_)) != count)
        ListView_SetItemCountEx(list_, static_cast<int>(count),
                                LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    // A new search starts at the top.
    if (!keep && count) ListView_EnsureVisible(list_, 0, FALSE);
    RedrawChangedRows();
}

// Typing on mostly finds the same lines again: only rows that read
// differently now are drawn again.
void frmFind::RedrawChangedRows() {
    const int count = ListView_GetItemCount(list_);
    const int top = ListView_GetTopIndex(list_);
    const int end = std::min(count, top + ListView_GetCountPerPage(list_) + 1);
    for (int i = top; i < end; ++i) {
        const auto drawn = drawn_.find(static_cast<size_t>(i));
        if (drawn == drawn_.end() || !(drawn->second == logic_->Row(static_cast<size_t>(i))))
            ListView_RedrawItems(list_, i, i);
    }
}

// The stores read again keep the row chosen by its number; where that row
// now reads differently, Enter must not open another line than the one the
// user chose.
void frmFind::Reread() {
    const int chosen = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    std::optional<FindRow> was;
    if (chosen >= 0 && static_cast<size_t>(chosen) < logic_->ResultCount())
        was = logic_->Row(static_cast<size_t>(chosen));
    logic_->Refresh();
    if (was && (static_cast<size_t>(chosen) >= logic_->ResultCount() ||
                !(logic_->Row(static_cast<size_t>(chosen)) == *was)))
        ListView_SetItemState(list_, chosen, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void frmFind::ShowStatus(std::wstring_view text) {
    if (text == status_) return;
    status_ = text;
    ::SetWindowTextW(statusLabel_, status_.c_str());
}

void frmFind::OpenChosen() {
    if (!logic_ || logic_->ResultCount() == 0) return;
    int chosen = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (chosen < 0) {
        if (::GetFocus() != search_) return;
        chosen = 0;
    }
    Open(static_cast<size_t>(chosen));
}

// The save question is the main window's: this one is disabled with it, so
// that no second row is opened and no search runs before the answer.
void frmFind::Open(size_t row) {
    if (!logic_ || opening_) return;
    opening_ = true;
    ::EnableWindow(hwnd(), FALSE);
    logic_->OpenResult(row);
    opening_ = false;
    const bool close = std::exchange(closeWhenOpened_, false);
    if (!hwnd()) {  // the program closed meanwhile
        logic_.reset();
        return;
    }
    ::EnableWindow(hwnd(), TRUE);
    if (close) Destroy();
}

void frmFind::OnCommand(int id, int code) {
    switch (id) {
        case IDC_FINDTEXT:
            if (code == EN_CHANGE && logic_) logic_->QueryChanged(WindowText(search_));
            break;
        case IDOK:
            OpenChosen();
            break;
        case IDM_FIND:
            ::SetFocus(search_);
            ::SendMessageW(search_, EM_SETSEL, 0, -1);
            break;
        case IDCANCEL:
            Close();
            break;
        default:
            break;
    }
}

void frmFind::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || !logic_) return;
    const auto index = static_cast<size_t>(item.iItem);
    if (index >= logic_->ResultCount()) return;
    if (index != rowIndex_) {
        row_ = logic_->Row(index);
        rowIndex_ = index;
        if (drawn_.size() > kDrawnRowsKept) drawn_.clear();
        drawn_[index] = row_;
    }
    const std::wstring* cells[] = {&row_.store, &row_.slot, &row_.title, &row_.line};
    if (item.iSubItem < 0 || item.iSubItem >= static_cast<int>(std::size(cells))) return;
    const std::wstring& cell = *cells[item.iSubItem];
    const size_t n = std::min(cell.size(), static_cast<size_t>(item.cchTextMax) - 1);
    std::copy_n(cell.data(), n, item.pszText);
    item.pszText[n] = L'\0';
}

LRESULT frmFind::OnNotify(NMHDR& header) {
    if (header.hwndFrom != list_) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
            return 0;
        case LVN_ODFINDITEMW: {
            // Letters typed in the list go to the next row of the store they
            // begin; answering 0 would send every letter to the top.
            const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
            if (!logic_ || !(find.lvfi.flags & LVFI_PARTIAL) || !find.lvfi.psz) return -1;
            const auto row = logic_->RowOfStoreStartingWith(
                find.lvfi.psz, static_cast<size_t>(std::max(find.iStart, 0)),
                (find.lvfi.flags & LVFI_WRAP) != 0);
            return row ? static_cast<LRESULT>(*row) : -1;
        }
        case LVN_ITEMACTIVATE: {
            const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) Open(static_cast<size_t>(activate.iItem));
            return 0;
        }
        default:
            return 0;
    }
}

// Down from the search box goes into the list, on its first row.
LRESULT frmFind::OnSearchBoxMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    if (msg == WM_KEYDOWN && (wp == VK_DOWN || wp == VK_NEXT) && ListView_GetItemCount(list_) > 0) {
        int chosen = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
        if (chosen < 0) chosen = 0;
        ListView_SetItemState(list_, chosen, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, chosen, FALSE);
        ::SetFocus(list_);
        return 0;
    }
    return CallControlDefault(box, msg, wp, lp);
}

// Back in front, the stores may have changed meanwhile; the focus returns
// to the control that had it, as in a dialog.
void frmFind::OnActivate(bool active, bool minimized) {
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
        return;
    }
    if (shown_ && logic_) Reread();
    if (!minimized) ::SetFocus(lastFocus_ ? lastFocus_ : search_);
}

LRESULT frmFind::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<NMHDR*>(lp));
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_GETMINMAXINFO: {
            auto& info = *reinterpret_cast<MINMAXINFO*>(lp);
            info.ptMinTrackSize = POINT{Px(320), Px(200)};
            return 0;
        }
        case WM_ACTIVATE:
            OnActivate(LOWORD(wp) != WA_INACTIVE, HIWORD(wp) != 0);
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            SetAccelerators(hwnd(), nullptr);
            list_ = label_ = search_ = statusLabel_ = lastFocus_ = nullptr;
            drawn_.clear();
            status_.clear();
            if (!opening_) logic_.reset();
            shown_ = false;
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace quillet
