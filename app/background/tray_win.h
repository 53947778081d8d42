// The icon in the notification area and its pop-up menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "background/tray_view.h"

namespace quillet {

class TrayIcon final : public TrayView {
  public:
    // The owner's message for the icon's events; the mouse message is in
    // lParam (the record's first version, so no NIM_SETVERSION).
    static constexpr UINT kCallbackMessage = WM_APP + 20;

    void SetOwner(HWND owner, HICON icon);
    // Runs each time the menu is about to take the foreground.
    void OnMenuOpening(std::function<void()> opening) { menuOpening_ = std::move(opening); }
    bool CreateIcon(std::wstring_view tip) override;
    void DeleteIcon() override;
    void ShowMenu(const TrayMenu& menu) override;
    // Explorer restarted and lost every icon: this adds ours again. True
    // when `msg` was that broadcast.
    bool OnTaskbarCreated(UINT msg);

  private:
    NOTIFYICONDATAW Record() const;

    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    std::wstring tip_;
    std::function<void()> menuOpening_;
    bool added_ = false;
    UINT taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
};

}  // namespace quillet
