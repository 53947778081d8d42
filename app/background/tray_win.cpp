// The notification icon through Shell_NotifyIconW, and the tray menu.
#include "background/tray_win.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>

#include "base/handles_win.h"
#include "resource.h"

namespace quillet {

void TrayIcon::SetOwner(HWND owner, HICON icon) {
    owner_ = owner;
    icon_ = icon;
}

NOTIFYICONDATAW TrayIcon::Record() const {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof record;
    record.hWnd = owner_;
    record.uID = 1;
    return record;
}

bool TrayIcon::CreateIcon(std::wstring_view tip) {
    tip_ = std::wstring(tip);
    return ::PostMessageW(owner_, kAddMessage, 0, 0) != FALSE;
}

void TrayIcon::OnAddIcon() {
    // Deleted meanwhile, or already there.
    if (tip_.empty() || added_) return;
    NOTIFYICONDATAW record = Record();
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kCallbackMessage;
    record.hIcon = icon_;
    const size_t n = std::min(tip_.size(), std::size(record.szTip) - 1);
    std::copy_n(tip_.data(), n, record.szTip);
    added_ = ::Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
}

void TrayIcon::DeleteIcon() {
    NOTIFYICONDATAW record = Record();
    ::Shell_NotifyIconW(NIM_DELETE, &record);
    added_ = false;
    tip_.clear();
}

bool TrayIcon::OnTaskbarCreated(UINT msg) {
    if (msg != taskbarCreated_ || taskbarCreated_ == 0) return false;
    // Only an icon the program has (a refused first add counts).
    added_ = false;
    if (!tip_.empty()) CreateIcon(std::wstring(tip_));
    return true;
}

void TrayIcon::ShowMenu(const TrayMenu& content) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    const HMENU m = menu.get();
    // An empty caption would make no selectable line on every system.
    const auto text = [](const std::wstring& t) { return t.empty() ? L" " : t.c_str(); };
    for (size_t j = 0; j < content.stores.size(); ++j) {
        const TrayMenuItem& item = content.stores[j];
        ::AppendMenuW(m, MF_STRING | (item.checked ? MF_CHECKED : 0),
                      IDM_TRAYSTORE0 + static_cast<UINT>(j), text(item.text));
    }
    ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    bool slots = false;
    for (size_t i = 0; i < content.slots.size(); ++i) {
        const TrayMenuItem& item = content.slots[i];
        if (!item.shown) continue;
        ::AppendMenuW(m, MF_STRING, IDM_TRAYREF0 + static_cast<UINT>(i), text(item.text));
        slots = true;
    }
    if (slots) ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(m, MF_STRING | MF_GRAYED, IDM_TRAYCONTENTS, text(content.contents));
    ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(m, MF_STRING, IDM_TRAYCANCEL, L"Cancel Menu");
    ::AppendMenuW(m, MF_STRING, IDM_TRAYFIND, L"Find...");
    ::AppendMenuW(m, MF_STRING, IDM_TRAYHELP, L"&Help");
    ::AppendMenuW(m, MF_STRING, IDM_TRAYOPEN, L"&Open Quillet Pro");
    ::AppendMenuW(m, MF_STRING, IDM_TRAYCLOSE, L"&Close");
    ::AppendMenuW(m, MF_STRING, IDM_TRAYEXIT, L"E&xit");

    POINT at{};
    ::GetCursorPos(&at);
    if (menuOpening_) menuOpening_();
    // Without the foreground the menu would not close on a click elsewhere;
    // the null message after it lets the next click reach the icon again.
    ::SetForegroundWindow(owner_);
    ::TrackPopupMenu(m, TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr);
    ::PostMessageW(owner_, WM_NULL, 0, 0);
}

}  // namespace quillet
