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
    // Posted to the owner by CreateIcon: the owner hands it to OnAddIcon.
    static constexpr UINT kAddMessage = WM_APP + 21;

    void SetOwner(HWND owner, HICON icon);
    // Runs each time the menu is about to take the foreground.
    void OnMenuOpening(std::function<void()> opening) { menuOpening_ = std::move(opening); }
    // Adds the icon once the owner's thread takes its next messages: the
    // notification area answers slowly (under Wine a good part of the
    // program's start), and the window need not wait for it. True when
    // asked for.
    bool CreateIcon(std::wstring_view tip) override;
    void OnAddIcon();
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
