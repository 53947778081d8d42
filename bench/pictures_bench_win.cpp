// The Pictures store in the real main window: switching to it with ten Full
// HD slot files, a 6,000 x 4,000 picture in the preview, and a 12-megapixel
// JPEG dropped on a slot; each against the plain calls that do the same work.
#include <windows.h>
#include <ole2.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/handles_win.h"
#include "bench_util_win.h"
#include "frmMain_win.h"
#include "resource.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 5;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

std::wstring SlotFile(int slot) {
    return L"C:\\ClipPics\\pic" + std::to_wstring(slot + 1) + L".bmp";
}

// Something like a photo: smooth colours with grain, different for each seed.
std::vector<BYTE> PhotoPixels(int width, int height, int seed, UINT stride) {
    std::vector<BYTE> pixels(size_t{stride} * height);
    uint32_t noise = 2463534242u + seed;
    for (int y = 0; y < height; ++y) {
        BYTE* row = pixels.data() + size_t{stride} * y;
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 15);
            row[3 * x] = static_cast<BYTE>((x * 255 / width + seed * 40 + grain) & 255);
            row[3 * x + 1] = static_cast<BYTE>((y * 255 / height + grain) & 255);
            row[3 * x + 2] = static_cast<BYTE>(((x + y) * 255 / (width + height) + grain) & 255);
        }
    }
    return pixels;
}

void WriteBitmap(const std::wstring& path, int width, int height, int seed) {
    const UINT stride = static_cast<UINT>((width * 3 + 3) / 4 * 4);
    const std::vector<BYTE> pixels = PhotoPixels(width, height, seed, stride);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as most bitmap files are
    info.biPlanes = 1;
    info.biBitCount = 24;
    UniqueFile out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof file, &written, nullptr);
    ::WriteFile(out.get(), &info, sizeof info, &written, nullptr);
    ::WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

bool WriteJpeg(const std::wstring& path, int width, int height) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.putVoid())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
        FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = static_cast<UINT>((width * 3 + 3) / 4 * 4);
    std::vector<BYTE> pixels = PhotoPixels(width, height, 5, stride);
    return SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride,
                                        static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// A window of the program's kind that does nothing itself.
HWND BareWindow(int width, int height) {
    HWND w = ::CreateWindowExW(0, L"STATIC", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                               height, nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(w);
    Pump();
    return w;
}

// The plain program's drop: the JPEG decoded to 24 bits, written as a bitmap file.
void DecodeAndWrite(const std::wstring& from, const std::wstring& to) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> source;
    UINT width = 0, height = 0;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.putVoid())) ||
        FAILED(factory->CreateDecoderFromFilename(from.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.get(), source.put())))
        return;
    const UINT stride = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> pixels(size_t{stride} * height);
    if (FAILED(
            source->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data())))
        return;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    info.biSize = sizeof info;
    info.biWidth = static_cast<LONG>(width);
    info.biHeight = -static_cast<LONG>(height);
    info.biPlanes = 1;
    info.biBitCount = 24;
    UniqueFile out(::CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof file, &written, nullptr);
    ::WriteFile(out.get(), &info, sizeof info, &written, nullptr);
    ::WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
}

}  // namespace

int wmain() {
    if (FAILED(::OleInitialize(nullptr))) return 1;
    ::DeleteFileW(L"C:\\quilbdx.ini");
    ::CreateDirectoryW(L"C:\\ClipPics", nullptr);
    for (int i = 0; i < 10; ++i) WriteBitmap(SlotFile(i), 1920, 1080, i);
    ::CreateDirectoryW(L"C:\\bench", nullptr);
    WriteBitmap(L"C:\\bench\\large.bmp", 6000, 4000, 3);
    if (!WriteJpeg(L"C:\\bench\\photo.jpg", 4000, 3000)) return 1;

    int code = 0;
    {
        frmMain window;
        if (!window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro"))
            return 1;
        window.EnableDragDrop();
        Pump();

        // Switching to the Pictures store: load, fit and show ten thumbnails.
        const double ours = Median(
            kRuns,
            [&] {
                window.Logic().lblStore_Click(1);
                Pump();
            },
            [&] {
                window.Logic().lblStore_Click(0);
                ::UpdateWindow(window.hwnd());
                Pump();
            });
        RECT thumb{};
        ::GetClientRect(
            ::GetDlgItem(::GetDlgItem(window.Control(IDC_PICPICTURES), IDC_BOX0), IDC_IMGPIC0),
            &thumb);
        HWND bare = BareWindow(400, 500);
        int loaded = 0;
        const double plain = Median(
            kRuns, [] {},
            [&] {
                WindowDc dc(bare);
                UniqueMemoryDc memory(::CreateCompatibleDC(dc.get()));
                for (int i = 0; i < 10; ++i) {
                    UniqueBitmap bitmap(static_cast<HBITMAP>(
                        ::LoadImageW(nullptr, SlotFile(i).c_str(), IMAGE_BITMAP, 0, 0,
                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
                    loaded += bitmap ? 1 : 0;
                    SelectObjectScope keep(memory.get(), bitmap.get());
                    ::StretchBlt(dc.get(), 0, i * thumb.bottom, thumb.right, thumb.bottom,
                                 memory.get(), 0, 0, 1920, 1080, SRCCOPY);
                }
                ::GdiFlush();
            });
        if (loaded != 10 * kRuns) return 1;  // the anchor must do the work it is timed for
        Report("pictures_switch", ours, plain);
        // The same without the store switch around it: the ten thumbnails
        // loaded, fitted and painted.
        const double thumbnails = Median(
            kRuns, [] {},
            [&] {
                for (int i = 0; i < 10; ++i) {
                    window.Pictures().LoadSlotPicture(i, SlotFile(i));
                    window.Pictures().FitSlotPicture(i);
                }
                ::UpdateWindow(window.hwnd());
                Pump();
            });
        Report("pictures_thumbnails", thumbnails, plain);

        // The preview of a 6,000 x 4,000 picture until it is painted.
        const double preview = Median(
            kRuns,
            [&] {
                window.Preview().Close();
                Pump();
            },
            [&] {
                window.Preview().ShowPicture(L"C:\\bench\\large.bmp");
                Pump();
            });
        RECT client{};
        ::GetClientRect(::FindWindowW(kPreviewWindowClass, nullptr), &client);
        window.Preview().Close();
        ::MoveWindow(bare, 0, 0, client.right, client.bottom, TRUE);
        const double bitBlt = Median(
            kRuns, [] {},
            [&] {
                UniqueBitmap bitmap(static_cast<HBITMAP>(
                    ::LoadImageW(nullptr, L"C:\\bench\\large.bmp", IMAGE_BITMAP, 0, 0,
                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
                loaded += bitmap ? 1 : 0;
                WindowDc dc(bare);
                UniqueMemoryDc memory(::CreateCompatibleDC(dc.get()));
                SelectObjectScope keep(memory.get(), bitmap.get());
                ::BitBlt(dc.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
                ::GdiFlush();
            });
        if (loaded != 11 * kRuns) return 1;
        Report("preview_open", preview, bitBlt);

        // A 12-megapixel JPEG dropped on a slot's frame through its drop target.
        IDropTarget* target = window.Pictures().DropTargetOf(4, true);
        DragPayload payload;
        payload.files = {L"C:\\bench\\photo.jpg"};
        ComPtr<IDataObject> data = MakeDataObject(payload);
        const double drop = Median(
            kRuns, [] {},
            [&] {
                DWORD effect = DROPEFFECT_COPY;
                target->DragEnter(data.get(), MK_LBUTTON, POINTL{0, 0}, &effect);
                effect = DROPEFFECT_COPY;
                target->Drop(data.get(), 0, POINTL{0, 0}, &effect);
                ::UpdateWindow(window.hwnd());
            });
        if (::GetFileAttributesW(SlotFile(4).c_str()) == INVALID_FILE_ATTRIBUTES) code = 1;
        const double decode = Median(
            kRuns, [] {}, [] { DecodeAndWrite(L"C:\\bench\\photo.jpg", L"C:\\bench\\photo.bmp"); });
        Report("drop_jpeg", drop, decode);
        ::DestroyWindow(bare);
    }
    for (int i = 0; i < 10; ++i) ::DeleteFileW(SlotFile(i).c_str());
    for (const wchar_t* f : {L"C:\\ClipPics\\picUndo.bmp", L"C:\\bench\\large.bmp",
                             L"C:\\bench\\photo.jpg", L"C:\\bench\\photo.bmp", L"C:\\quilbdx.ini"})
        ::DeleteFileW(f);
    ::RemoveDirectoryW(L"C:\\bench");
    ::OleUninitialize();
    return code;
}
