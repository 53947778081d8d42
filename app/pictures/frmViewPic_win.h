// The preview window: one picture slot's picture at full size in a topmost
// window of its own, panned by dragging it, closed by a double-click.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "pictures/preview_form.h"
#include "pictures/preview_view.h"

namespace quillet {

inline constexpr wchar_t kPreviewWindowClass[] = L"QuilletProPreview";
inline constexpr wchar_t kPreviewTitle[] = L"Quillet Pro - Preview";

class frmViewPic final : public Window, public PreviewView {
  public:
    frmViewPic() = default;
    ~frmViewPic() override;

    // The preview opens the first time on this window's monitor.
    void SetMainWindow(HWND main) { main_ = main; }

    // PreviewView: there is one window; showing another picture while it is
    // open keeps the window and replaces the picture. A file that cannot be
    // read changes nothing.
    void ShowPicture(const std::wstring& path) override;
    void Close() override;

    bool IsOpen() const { return hwnd() != nullptr; }
    // The picture's top-left corner in the window's inner area, in pixels.
    POINT PicturePosition() const;
    SIZE PictureSize() const { return size_; }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDpiChanged(int fromDpi, int toDpi, const RECT& suggested) override;

    bool Form_Load();
    void Picture2_Change(bool firstOpening);
    void Form_Resize();
    void Form_Unload();
    void OnPaint();
    bool OnSetCursor(LPARAM lp);
    void Picture2_MouseDown(LPARAM lp);
    void Picture2_MouseMove(LPARAM lp);
    void Picture2_MouseUp();
    void Picture2_DblClick();
    // A mouse position of the inner area in the picture's own twips.
    POINT PictureTwips(LPARAM lp) const;

    int ToPixels(int twips) const { return ::MulDiv(twips, dpi_, 1440); }
    int ToTwips(int pixels) const { return ::MulDiv(pixels, 1440, dpi_); }

    HWND main_ = nullptr;
    int dpi_ = 96;
    PreviewForm form_;
    UniqueBitmap picture_;
    SIZE size_{};
};

}  // namespace quillet
