// The Copy button's press, drag and release.
#include "controls/copy_button_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>

#include "base/window_win.h"
#include "platform/ole_win.h"

namespace quillet {

void CopyButton::Attach(HWND button, PressHandler onPress) {
    hwnd_ = button;
    onPress_ = std::move(onPress);
    SubclassControl<CopyButton, &CopyButton::OnMessage>(button, this);
}

// The press is marked first: opening all ten slots pumps messages, and a
// release handled meanwhile must end the press.
void CopyButton::Press() {
    pressed_ = true;
    offer_ = onPress_ ? onPress_() : DragOffer();
}

bool CopyButton::PastDragThreshold(LPARAM lp) const {
    const int dx = std::abs(GET_X_LPARAM(lp) - pressPoint_.x);
    const int dy = std::abs(GET_Y_LPARAM(lp) - pressPoint_.y);
    return dx > ::GetSystemMetrics(SM_CXDRAG) || dy > ::GetSystemMetrics(SM_CYDRAG);
}

LRESULT CopyButton::OnMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const LRESULT r = CallControlDefault(hwnd_, msg, wp, lp);
            pressPoint_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            Press();
            return r;
        }
        case WM_MOUSEMOVE:
            if (!pressed_ || !(wp & MK_LBUTTON) || !PastDragThreshold(lp)) break;
            pressed_ = false;
            ::ReleaseCapture();  // the button lets go without a click
            if (!offer_.Empty()) {
                DragPayload payload;
                payload.text = offer_.text;
                payload.files = offer_.files;
                if (ComPtr<IDataObject> data = MakeDataObject(payload)) RunCopyDrag(data.get());
            }
            return 0;
        case WM_LBUTTONUP: {
            pressed_ = false;
            inMouseRelease_ = true;
            const LRESULT r = CallControlDefault(hwnd_, msg, wp, lp);
            inMouseRelease_ = false;
            return r;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            break;
        default:
            break;
    }
    return CallControlDefault(hwnd_, msg, wp, lp);
}

}  // namespace quillet
