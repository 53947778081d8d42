// Test pictures: bitmaps, GIF, JPEG, PNG and TIFF through the Imaging
// Component's encoders, icons and cursors written by hand, metafiles drawn
// with GDI.
#include "pictures/test_pictures_win.h"

#include <ole2.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/handles_win.h"

namespace quillet::testing {

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string(what) + " failed");
}

// Appends the bytes of little-endian fields, as the files' headers have them.
template <class T>
void Put(std::string& out, std::initializer_list<T> fields) {
    for (const T& v : fields) out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string StreamBytes(IStream* stream) {
    HGLOBAL memory = nullptr;
    Check(::GetHGlobalFromStream(stream, &memory), "GetHGlobalFromStream");
    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), "Stat");
    GlobalLockScope<const char> lock(memory);
    return std::string(lock.get(), static_cast<size_t>(stat.cbSize.QuadPart));
}

// Through the Imaging Component's encoder of `container`: red on the left,
// blue on the right. A GIF takes palette indices (0 red, 1 blue); the others
// 24-bit rows, or 32-bit ones whose blue half is fully transparent.
std::string Encoded(const GUID& container, int width, int height, bool alpha = false) {
    ComPtr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IWICImagingFactory, factory.putVoid()),
          "the imaging factory");
    ComPtr<IStream> stream;
    Check(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "a memory stream");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(container, nullptr, encoder.put()), "CreateEncoder");
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "encoder Initialize");
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    Check(encoder->CreateNewFrame(frame.put(), options.put()), "CreateNewFrame");
    Check(frame->Initialize(options.get()), "frame Initialize");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "SetSize");
    const bool indexed = container == GUID_ContainerFormatGif;
    const WICPixelFormatGUID wanted = indexed ? GUID_WICPixelFormat8bppIndexed
                                      : alpha ? GUID_WICPixelFormat32bppBGRA
                                              : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID format = wanted;
    Check(frame->SetPixelFormat(&format), "SetPixelFormat");
    if (format != wanted) throw std::runtime_error("the encoder wants another pixel format");
    if (indexed) {
        ComPtr<IWICPalette> palette;
        Check(factory->CreatePalette(palette.put()), "CreatePalette");
        WICColor colours[] = {0xFFFF0000, 0xFF0000FF};
        Check(palette->InitializeCustom(colours, 2), "InitializeCustom");
        Check(frame->SetPalette(palette.get()), "SetPalette");
    }
    const UINT pixelBytes = indexed ? 1 : alpha ? 4 : 3;
    const UINT stride = (static_cast<UINT>(width) * pixelBytes + 3) / 4 * 4;
    std::vector<BYTE> pixels(size_t{stride} * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            BYTE* p = pixels.data() + size_t{stride} * y + size_t{pixelBytes} * x;
            if (indexed) {
                *p = left ? 0 : 1;
                continue;
            }
            p[0] = left ? 0 : 255;  // blue
            p[1] = 0;
            p[2] = left ? 255 : 0;  // red
            if (alpha) p[3] = left ? 255 : 0;
        }
    Check(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(pixels.size()),
                             pixels.data()),
          "WritePixels");
    Check(frame->Commit(), "frame Commit");
    Check(encoder->Commit(), "encoder Commit");
    return StreamBytes(stream.get());
}

// An icon (type 1) or cursor (type 2) of one 32-bit image with its mask:
// opaque red on the left, transparent on the right.
std::string IconFile(int width, int height, bool cursor) {
    std::string image;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = 2 * height;  // colours and mask
    h.biPlanes = 1;
    h.biBitCount = 32;
    Put(image, {h});
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            Put<uint32_t>(image, {x < width / 2 ? 0xFFFF0000u : 0x000000FFu});
    const int maskStride = (width + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(maskStride), '\0');
        for (int x = width / 2; x < width; ++x) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
        image += row;
    }
    std::string file;
    Put<uint16_t>(file, {0, uint16_t(cursor ? 2 : 1), 1});
    Put<uint8_t>(file, {uint8_t(width >= 256 ? 0 : width), uint8_t(height >= 256 ? 0 : height), 0,
                        0});  // no palette
    // planes and bits, or the hotspot
    Put<uint16_t>(file, {1, uint16_t(cursor ? 1 : 32)});
    Put<uint32_t>(file, {static_cast<uint32_t>(image.size()), 6 + 16});
    return file + image;
}

// An enhanced metafile of `width` x `height` pixels at 96 dots per inch,
// drawn in the pixels of the screen it refers to.
std::string Emf(int width, int height) {
    const RECT frame{0, 0, ::MulDiv(width, 2540, 96), ::MulDiv(height, 2540, 96)};
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    if (!dc) throw std::runtime_error("CreateEnhMetaFile failed");
    const int w = ::MulDiv(width, ::GetDeviceCaps(dc, LOGPIXELSX), 96);
    const int h = ::MulDiv(height, ::GetDeviceCaps(dc, LOGPIXELSY), 96);
    UniqueBrush red(::CreateSolidBrush(kRed)), blue(::CreateSolidBrush(kBlue));
    const RECT left{0, 0, w / 2, h}, right{w / 2, 0, w, h};
    ::FillRect(dc, &left, red.get());
    ::FillRect(dc, &right, blue.get());
    HENHMETAFILE emf = ::CloseEnhMetaFile(dc);
    const UINT size = ::GetEnhMetaFileBits(emf, 0, nullptr);
    std::string bytes(size, '\0');
    ::GetEnhMetaFileBits(emf, size, reinterpret_cast<BYTE*>(bytes.data()));
    ::DeleteEnhMetaFile(emf);
    return bytes;
}

// A placeable Windows metafile: the 22-byte header with its bounds at 96
// units per inch, then the records.
std::string Wmf(int width, int height) {
    HDC dc = ::CreateMetaFileW(nullptr);
    if (!dc) throw std::runtime_error("CreateMetaFile failed");
    ::SetWindowOrgEx(dc, 0, 0, nullptr);
    ::SetWindowExtEx(dc, width, height, nullptr);
    UniqueBrush red(::CreateSolidBrush(kRed)), blue(::CreateSolidBrush(kBlue));
    ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::SelectObject(dc, red.get());
    ::Rectangle(dc, 0, 0, width / 2 + 1, height + 1);
    ::SelectObject(dc, blue.get());
    ::Rectangle(dc, width / 2, 0, width + 1, height + 1);
    ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    HMETAFILE wmf = ::CloseMetaFile(dc);
    const UINT size = ::GetMetaFileBitsEx(wmf, 0, nullptr);
    std::string records(size, '\0');
    ::GetMetaFileBitsEx(wmf, size, records.data());
    ::DeleteMetaFile(wmf);
    std::string header;
    Put<uint32_t>(header, {0x9AC6CDD7});
    // no handle, the bounds, units per inch
    Put<uint16_t>(header, {0, 0, 0, uint16_t(width), uint16_t(height), 96});
    Put<uint32_t>(header, {0});
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(static_cast<uint8_t>(header[i]) |
                                     static_cast<uint8_t>(header[i + 1]) << 8);
    Put<uint16_t>(header, {sum});
    return header + records;
}

}  // namespace

std::string MakePicture(PictureKind kind, int width, int height) {
    switch (kind) {
        case PictureKind::kBmp:
            return BitmapFile(width, height,
                              [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
        case PictureKind::kGif:
            return Encoded(GUID_ContainerFormatGif, width, height);
        case PictureKind::kJpeg:
            return Encoded(GUID_ContainerFormatJpeg, width, height);
        case PictureKind::kPng:  // with an alpha channel
            return Encoded(GUID_ContainerFormatPng, width, height, true);
        case PictureKind::kTiff:
            return Encoded(GUID_ContainerFormatTiff, width, height);
        case PictureKind::kIcon:
            return IconFile(width, height, false);
        case PictureKind::kCursor:
            return IconFile(width, height, true);
        case PictureKind::kEmf:
            return Emf(width, height);
        case PictureKind::kWmf:
            return Wmf(width, height);
    }
    return {};
}

const wchar_t* ExtensionOf(PictureKind kind) {
    constexpr const wchar_t* kExtensions[] = {L"bmp", L"gif", L"jpg", L"png", L"tif",
                                              L"ico", L"cur", L"emf", L"wmf"};
    return kExtensions[static_cast<int>(kind)];
}

COLORREF RightHalfOf(PictureKind kind) {
    switch (kind) {
        case PictureKind::kPng:
        case PictureKind::kIcon:
        case PictureKind::kCursor:
            return kWhite;
        default:
            return kBlue;
    }
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return CLR_INVALID;
    SelectObjectScope keep(dc.get(), bitmap);
    return ::GetPixel(dc.get(), x, y);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace quillet::testing
