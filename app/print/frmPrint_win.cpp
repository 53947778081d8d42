// The print window: its controls and their messages, and the default
// printer.
#include "print/frmPrint_win.h"

#include <winspool.h>

#include <vector>

#include "base/strings_win.h"
#include "base/system_library_win.h"
#include "controls/controls_win.h"
#include "help/link_label_win.h"
#include "resource.h"

namespace quillet {

namespace {

// The designed client area, in pixels at 96 dots per inch.
constexpr int kPrintClientWidth = 340, kPrintClientHeight = 236;

IoResult LastError(std::wstring_view what) {
    const DWORD error = ::GetLastError();
    if (error == 0) return IoResult::Failure(std::wstring(what));
    return IoResult::Failure(SystemMessage(error));
}

// StartDoc and its end: EndDoc once the pages are out, AbortDoc otherwise.
class DocumentScope {
  public:
    DocumentScope(HDC dc, const DOCINFOW& info) : dc_(dc), started_(::StartDocW(dc, &info) > 0) {}
    ~DocumentScope() {
        if (started_) ::AbortDoc(dc_);
    }
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;
    explicit operator bool() const { return started_; }
    bool End() {
        started_ = false;
        return ::EndDoc(dc_) > 0;
    }

  private:
    HDC dc_;
    bool started_;
};

// The children of `parent`, drawn bottom first, each at its place. Wine's
// WM_PRINT leaves children out, so they are drawn one by one on every system
// alike, each into a bitmap of its own: controls that clip to their client
// rectangle take it in device units and miss a moved viewport origin.
void DrawChildren(HWND parent, HDC dc, POINT at) {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        HWND child = *it;
        if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        if (width <= 0 || height <= 0) continue;
        POINT corner{r.left, r.top};
        ::ScreenToClient(parent, &corner);
        const POINT place{at.x + corner.x, at.y + corner.y};
        UniqueMemoryDc own(::CreateCompatibleDC(dc));
        UniqueBitmap image(::CreateCompatibleBitmap(dc, width, height));
        if (own && image) {
            SelectObjectScope select(own.get(), image.get());
            // What the child leaves unpainted (a scroll bar) shows what lies beneath.
            ::BitBlt(own.get(), 0, 0, width, height, dc, place.x, place.y, SRCCOPY);
            ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(own.get()),
                           PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
            ::BitBlt(dc, place.x, place.y, width, height, own.get(), 0, 0, SRCCOPY);
        }
        POINT client{0, 0};
        ::ClientToScreen(child, &client);
        DrawChildren(child, dc, POINT{place.x + client.x - r.left, place.y + client.y - r.top});
    }
}

}  // namespace

IoResult WritePlainFile(const std::filesystem::path& path, const PrintoutProducer& produce) {
    // A read-only file is refused as Windows refuses it, also where the
    // file system would let a privileged account through.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return IoResult::Failure(SystemMessage(ERROR_ACCESS_DENIED));
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError(L"The file could not be created.");
    IoResult result = IoResult::Success();
    produce([&](std::string_view bytes) {
        DWORD written = 0;
        if (result && (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr) ||
                       written != bytes.size()))
            result = LastError(L"The file could not be written.");
    });
    return result;
}

UniqueBitmap RenderClientArea(HWND window, int& width, int& height) {
    RECT client{};
    ::GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    if (width <= 0 || height <= 0) return UniqueBitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return UniqueBitmap();
    {
        SelectObjectScope select(dc.get(), bitmap.get());
        if (!::PrintWindow(window, dc.get(), PW_CLIENTONLY)) return UniqueBitmap();
        DrawChildren(window, dc.get(), POINT{0, 0});
        ::GdiFlush();
    }
    return bitmap;
}

IoResult PrintBitmap(HBITMAP bitmap, int width, int height, int screenDpi,
                     std::wstring_view document) {
    static const SystemLibrary spooler(L"winspool.drv");
    static const auto defaultPrinter =
        spooler.Function<decltype(&::GetDefaultPrinterW)>("GetDefaultPrinterW");
    DWORD size = 0;
    if (defaultPrinter) defaultPrinter(nullptr, &size);
    if (size == 0) return IoResult::Failure(L"There is no default printer.");
    std::wstring name(size, L'\0');
    if (!defaultPrinter(name.data(), &size))
        return LastError(L"There is no default printer.");
    name.resize(wcslen(name.c_str()));
    // No device mode: the printer's own default settings.
    UniquePrinterDc printer(::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
    if (!printer) return LastError(L"The printer could not be opened.");

    DIBSECTION section{};
    if (::GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
        return IoResult::Failure(L"The window's image could not be made.");
    const int dpiX = ::GetDeviceCaps(printer.get(), LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(printer.get(), LOGPIXELSY);
    const std::wstring title(document);
    DOCINFOW doc{sizeof doc};
    doc.lpszDocName = title.c_str();
    DocumentScope job(printer.get(), doc);
    if (!job) return LastError(L"The printer refused the print job.");
    if (::StartPage(printer.get()) <= 0) return LastError(L"The printer refused the page.");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The image keeps its size on paper: screen pixels to printer dots.
    const int outWidth = MulDiv(width, dpiX, screenDpi);
    const int outHeight = MulDiv(height, dpiY, screenDpi);
    if (::StretchDIBits(printer.get(), 0, 0, outWidth, outHeight, 0, 0, width, height,
                        section.dsBm.bmBits, &info, DIB_RGB_COLORS, SRCCOPY) == 0)
        return LastError(L"The image could not be sent to the printer.");
    if (::EndPage(printer.get()) <= 0) return LastError(L"The printer refused the page.");
    if (!job.End()) return LastError(L"The print job could not be finished.");
    return IoResult::Success();
}

frmPrint::frmPrint(HINSTANCE instance, PrintedWindow& main, MainView& view, PrintContext& context,
                   Prompt& prompt, Shell& shell, FileSystem& fs, std::filesystem::path userFolder)
    : instance_(instance),
      main_(main),
      view_(view),
      context_(context),
      prompt_(prompt),
      shell_(shell),
      fs_(fs),
      userFolder_(std::move(userFolder)) {}

frmPrint::~frmPrint() {
    Destroy();
}

void frmPrint::ShowPrintWindow() {
    ShowInFront();
}

void frmPrint::Close() {
    Destroy();
}

void frmPrint::Load() {
    if (!CreateCentred(instance_, kPrintWindowClass, IDI_QUILLET, L"Printing",
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                       SIZE{kPrintClientWidth, kPrintClientHeight}))
        return;
    CreateControls();

    PrintServices services{
        view_,
        main_,
        *this,
        prompt_,
        fs_,
        shell_,
        [this] { context_.BeepIfSounds(); },
        [this] { return context_.StaysOnTop(); },
        [this] { return context_.CurrentStoreCaption(); },
        [this] { return main_.CurrentLook().clipboardText; },
        std::filesystem::path(context_.ProgramFolder()),
        userFolder_,
        WritePlainFile,
    };
    logic_ = std::make_unique<PrintForm>(*this, services);
    logic_->Form_Load();
    ::SetFocus(Control(IDC_CMDPRINT));
}

void frmPrint::CreateControls() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, RECT at) {
        HWND w = CreateChild(hwnd(), cls, text, style, id, at);
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return w;
    };
    const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
    make(L"BUTTON", L"Include Clipboard Text.", check, IDC_CHKCLIPBOARD, At(16, 12, 300, 20));
    make(L"BUTTON", L"Print Text Only.", check, IDC_CHKTEXT, At(16, 40, 300, 20));
    make(L"BUTTON", L"Print white backgrounds", check, IDC_CHKWHITE, At(16, 130, 300, 20));
    make(L"BUTTON", L"Print", BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_CMDPRINT, At(70, 198, 90, 26));
    make(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDC_CMDCANCEL, At(180, 198, 90, 26));
    make(L"STATIC", L"Unchecked = This prints the main screen as you see it.", SS_NOPREFIX,
         IDC_PRINTLABEL2, At(34, 98, 296, 28));
    make(L"STATIC",
         L"Checked = All text (Opens your default text editor so you can print it from there).",
         SS_NOPREFIX, IDC_PRINTLABEL1, At(34, 62, 296, 32));
    make(L"STATIC", L"Printing is done with your printer's default settings.", SS_NOPREFIX,
         IDC_PRINTLABEL5, At(16, 166, 310, 20));
    // Line1 and Line2: etched rules above and below the note on settings.
    CreateChild(hwnd(), L"STATIC", L"", SS_ETCHEDHORZ, -1, At(8, 158, 324, 2));
    CreateChild(hwnd(), L"STATIC", L"", SS_ETCHEDHORZ, -1, At(8, 190, 324, 2));
    for (int id : {IDC_CHKCLIPBOARD, IDC_CHKTEXT, IDC_CHKWHITE})
        ::SendMessageW(Control(id), BM_SETCHECK, BST_CHECKED, 0);
}

LRESULT frmPrint::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

bool frmPrint::Ticked(int id) const {
    return ::SendMessageW(::GetDlgItem(hwnd(), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmPrint::OnCommand(int id, int code) {
    if (!logic_ || code != BN_CLICKED) return;
    switch (id) {
        case IDC_CHKCLIPBOARD:
            return logic_->chkClipboard_Click(Ticked(id));
        case IDC_CHKTEXT:
            return logic_->chkText_Click(Ticked(id));
        case IDC_CHKWHITE:
            return logic_->chkWhite_Click(Ticked(id));
        case IDC_CMDPRINT:
        case IDOK:
            return logic_->cmdPrint_Click();
        case IDC_CMDCANCEL:
        case IDCANCEL:
            return logic_->cmdCancel_Click();
    }
}

void frmPrint::SetCaption(std::wstring_view caption) {
    ::SetWindowTextW(hwnd(), std::wstring(caption).c_str());
}

void frmPrint::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void frmPrint::ShowChecks(const PrintChecks& checks) {
    auto set = [&](int id, bool ticked, bool enabled) {
        HWND box = Control(id);
        ::SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
        ::EnableWindow(box, enabled);
    };
    set(IDC_CHKCLIPBOARD, checks.clipboard, checks.clipboardEnabled);
    set(IDC_CHKTEXT, checks.text, true);
    set(IDC_CHKWHITE, checks.white, checks.whiteEnabled);
}

IoResult frmPrint::PrintWindowImage() {
    const WindowImage image = main_.Image();
    if (!image.bitmap) return IoResult::Failure(L"The window's image could not be made.");
    return PrintBitmap(image.bitmap.get(), image.width, image.height, image.dpi, L"Quillet Pro");
}

}  // namespace quillet
