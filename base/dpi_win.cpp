// DPI queries and the rescaling of a window's children.
#include "base/dpi_win.h"

#include <algorithm>
#include <new>
#include <tuple>
#include <utility>

#include "base/guard_win.h"

namespace quillet {

namespace {

template <class Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

using DpiOfWindow = UINT(WINAPI*)(HWND);
using MetricForDpi = int(WINAPI*)(int, UINT);
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

int Scale(int value, int to, int from) {
    return from > 0 ? ::MulDiv(value, to, from) : value;
}

}  // namespace

int SystemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    static const auto dpiOf = User32Function<DpiOfWindow>("GetDpiForWindow");
    if (dpiOf && window)
        if (const UINT dpi = dpiOf(window)) return static_cast<int>(dpi);
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto metric = User32Function<MetricForDpi>("GetSystemMetricsForDpi");
    if (metric) return metric(index, static_cast<UINT>(dpi));
    return Scale(::GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    static const auto adjust = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjust && adjust(&rect, style, menu, exStyle, static_cast<UINT>(dpi))) return;
    ::AdjustWindowRectEx(&rect, style, menu, exStyle);
}

LOGFONTW MessageFontForDpi(int dpi) {
    static const auto parameters = User32Function<ParametersForDpi>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parameters &&
        parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = Scale(font.lfHeight, dpi, SystemDpi());
    return font;
}

WindowIcons SetWindowIconsForDpi(HWND window, HINSTANCE instance, int iconId, int dpi) {
    WindowIcons icons;
    for (const auto& [which, cx, cy, owner] :
         {std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON, &icons.smallIcon},
          std::tuple{ICON_BIG, SM_CXICON, SM_CYICON, &icons.bigIcon}}) {
        owner->reset(static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                         SystemMetricForDpi(cx, dpi), SystemMetricForDpi(cy, dpi), 0)));
        if (*owner)
            ::SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(owner->get()));
    }
    return icons;
}

namespace {

struct ChildList {
    std::vector<HWND> windows;
    HRESULT result = S_OK;
};

// No exception may cross the system's enumeration: a full memory stops it
// and is thrown as such once the enumeration has returned.
BOOL CALLBACK AddChild(HWND child, LPARAM list) {
    auto& children = *reinterpret_cast<ChildList*>(list);
    children.result = Guarded([&] {
        children.windows.push_back(child);
        return S_OK;
    });
    return SUCCEEDED(children.result);
}

std::vector<HWND> Descendants(HWND window) {
    ChildList children;
    ::EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&children));
    if (FAILED(children.result)) throw std::bad_alloc();
    return std::move(children.windows);
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

void SetFont(HWND window, HFONT font) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

void ReplaceFonts(HWND window, const std::vector<std::pair<HFONT, HFONT>>& fonts) {
    for (HWND child : Descendants(window)) {
        const HFONT now = FontOf(child);
        for (const auto& [from, to] : fonts)
            if (now && now == from) SetFont(child, to);
    }
}

HFONT ChildScaler::Scaled(HFONT original) {
    if (!original || !baseDpi_ || dpi_ == baseDpi_) return original;
    for (const auto& [from, scaled] : fonts_)
        if (from == original) return scaled.get();
    LOGFONTW lf{};
    if (!::GetObjectW(original, sizeof lf, &lf)) return original;
    lf.lfHeight = Scale(lf.lfHeight, dpi_, baseDpi_);
    lf.lfWidth = Scale(lf.lfWidth, dpi_, baseDpi_);
    UniqueFont font(::CreateFontIndirectW(&lf));
    if (!font) return original;
    fonts_.emplace_back(original, std::move(font));
    return fonts_.back().second.get();
}

void ChildScaler::Rescale(HWND window, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
    if (!baseDpi_) baseDpi_ = fromDpi;
    dpi_ = toDpi;
    std::erase_if(children_, [](const Child& c) { return !::IsWindow(c.hwnd); });
    // The fonts made for the DPI being left go once no child uses them.
    std::vector<std::pair<HFONT, UniqueFont>> leaving = std::move(fonts_);
    fonts_.clear();
    auto originalOf = [&](HFONT font) {
        for (const auto& [from, scaled] : leaving)
            if (scaled.get() == font) return from;
        return font;
    };
    for (HWND child : Descendants(window)) {
        // The font it has now, which the window may have changed since.
        const HFONT font = originalOf(FontOf(child));
        auto known = std::find_if(children_.begin(), children_.end(),
                                  [child](const Child& c) { return c.hwnd == child; });
        if (known == children_.end()) {
            // Made since the first change: taken back to the base DPI.
            RECT r = RectInParent(child);
            r = RECT{Scale(r.left, baseDpi_, fromDpi), Scale(r.top, baseDpi_, fromDpi),
                     Scale(r.right, baseDpi_, fromDpi), Scale(r.bottom, baseDpi_, fromDpi)};
            children_.push_back(Child{child, r});
            known = children_.end() - 1;
        }
        const RECT& r = known->at;
        const int left = Scale(r.left, toDpi, baseDpi_), top = Scale(r.top, toDpi, baseDpi_);
        ::SetWindowPos(child, nullptr, left, top, Scale(r.right, toDpi, baseDpi_) - left,
                       Scale(r.bottom, toDpi, baseDpi_) - top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (font) SetFont(child, Scaled(font));
    }
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace quillet
