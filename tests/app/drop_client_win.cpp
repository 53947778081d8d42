// Another program for the program's slots to be dragged into: a window with
// a drop target, which reports where it is on the screen, when a drag comes
// over it, then what was dropped on it and the size of the picture the
// clipboard holds at that moment.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/ole_win.h"

namespace {

quillet::DropContent dropped;
bool gotDrop = false;

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(w, m, wp, lp);
}

// "clipboard W x H" of its device-independent bitmap, or why there is none.
std::string ClipboardPicture() {
    if (!::OpenClipboard(nullptr)) return "clipboard not open";
    std::string answer = "clipboard without a picture";
    if (HANDLE dib = ::GetClipboardData(CF_DIB)) {
        if (const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib))) {
            answer = "clipboard " + std::to_string(header->biWidth) + "x" +
                     std::to_string(header->biHeight < 0 ? -header->biHeight : header->biHeight);
            ::GlobalUnlock(dib);
        }
    }
    ::CloseClipboard();
    return answer;
}

// Says "over" when a drag enters, for the test to let go only then; the
// slot's own target does the rest.
class Announcing final : public quillet::RefCounted<IDropTarget> {
  public:
    explicit Announcing(quillet::ComPtr<IDropTarget> inner) : inner_(std::move(inner)) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        *ppv = riid == IID_IUnknown || riid == IID_IDropTarget ? static_cast<IDropTarget*>(this)
                                                               : nullptr;
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        std::printf("over\n");
        std::fflush(stdout);
        return inner_->DragEnter(data, keys, pt, effect);
    }
    STDMETHODIMP DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        return inner_->DragOver(keys, pt, effect);
    }
    STDMETHODIMP DragLeave() override { return inner_->DragLeave(); }
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        return inner_->Drop(data, keys, pt, effect);
    }

  private:
    quillet::ComPtr<IDropTarget> inner_;
};

}  // namespace

int wmain() {
    if (FAILED(::OleInitialize(nullptr))) return 3;
    int code = 1;
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QuilletDropTest";
        ::RegisterClassW(&wc);
        HWND window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Quillet drop test",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 320, 240,
                                        nullptr, nullptr, wc.hInstance, nullptr);
        quillet::DropRegistration registration(
            window, quillet::ComPtr<IDropTarget>::Adopt(new Announcing(
                        quillet::SlotDropTarget::Create([window](const quillet::DropContent& d) {
                            dropped = d;
                            gotDrop = true;
                            ::PostMessageW(window, WM_CLOSE, 0, 0);
                        }))));
        if (!registration) {
            std::printf("no drop registration\n");
            return 2;
        }
        RECT r{};
        ::GetWindowRect(window, &r);
        std::printf("ready %ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        std::fflush(stdout);
        ::SetTimer(window, 1, 60000, nullptr);  // gives up after a minute
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER) break;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (gotDrop) {
            std::printf("dropped %ls\nfile %ls\n%s\n", dropped.text.value_or(L"<no text>").c_str(),
                        dropped.hasFiles ? dropped.firstFile.c_str() : L"<no file>",
                        ClipboardPicture().c_str());
            code = 0;
        }
    }
    // Under load Wine's OLE may hold up, or kill, a process ending right
    // after a drop; what was printed is all the test reads.
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    return code;
}
