// The progress window: a label and a row of ten blocks.
#include "controls/progress_win.h"

#include "base/handles_win.h"

namespace quillet {

namespace {
constexpr wchar_t kProgressClass[] = L"QuilletProProgress";
}

void ProgressWindow::Attach(HINSTANCE instance, HWND owner, std::function<Placement()> place) {
    instance_ = instance;
    owner_ = owner;
    place_ = std::move(place);
}

void ProgressWindow::ShowProgress(std::wstring_view caption, std::wstring_view label) {
    Destroy();
    if (!place_) return;
    const Placement where = place_();
    RegisterFaceClass(instance_, kProgressClass, IDC_WAIT);
    blocks_ = 0;
    label_ = std::wstring(label);
    font_ = where.font;
    if (!CreateAs(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kProgressClass, std::wstring(caption).c_str(),
                  WS_POPUP | WS_CAPTION, where.at, owner_, nullptr, instance_))
        return;
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd());
}

void ProgressWindow::ShowProgressBlock(int blocks) {
    blocks_ = blocks;
    if (!hwnd()) return;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    ::UpdateWindow(hwnd());
}

void ProgressWindow::SetProgressLabel(std::wstring_view label) {
    label_ = std::wstring(label);
    if (!hwnd()) return;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    ::UpdateWindow(hwnd());
}

LRESULT ProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return Default(msg, wp, lp);
    OnPaint();
    return 0;
}

void ProgressWindow::OnPaint() {
    PaintScope paint(hwnd());
    const HDC dc = paint.get();
    RECT client;
    ::GetClientRect(hwnd(), &client);
    SelectObjectScope font(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    RECT label{8, 6, client.right - 8, 26};
    ::DrawTextW(dc, label_.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE);
    UniqueBrush fill(::CreateSolidBrush(RGB(0, 0, 128)));
    const int width = (client.right - 16) / 10;
    for (int b = 0; b < blocks_; ++b) {
        RECT block{8 + b * width + 1, 32, 8 + (b + 1) * width - 1, 48};
        ::FillRect(dc, &block, fill.get());
    }
}

}  // namespace quillet
