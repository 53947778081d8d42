// Reading picture files: plain bitmaps directly, the rest through the Windows
// Imaging Component, metafiles through the system's picture loader.
#include "pictures/picture_loader_win.h"

#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "base/com_init_win.h"
#include "base/com_ptr_win.h"
#include "base/system_library_win.h"
#include "platform/dib_win.h"
#include "platform/ole_win.h"

namespace quillet {

namespace {

// Larger files are not pictures anyone keeps in a slot; reading them whole
// would only exhaust the memory.
constexpr uint64_t kMaxFileBytes = 1ull << 30;
// The most pixels a picture may decode to: 24 bits of them are 768 MB.
constexpr uint64_t kMaxPixels = 256ull << 20;

// The whole file, mapped into memory for as long as this lives: a fresh
// buffer as large as a photo's bitmap costs more than reading it.
class MappedFile {
  public:
    explicit MappedFile(const std::wstring& path) {
        // Others may go on writing or renaming it meanwhile.
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
            static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes)
            return;
        UniqueKernelHandle mapping(
            ::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) return;
        view_ = static_cast<const unsigned char*>(
            ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
        if (view_) size_ = static_cast<size_t>(size.QuadPart);
    }
    ~MappedFile() {
        if (view_) ::UnmapViewOfFile(view_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    const unsigned char* data() const { return view_; }
    size_t size() const { return size_; }

  private:
    const unsigned char* view_ = nullptr;
    size_t size_ = 0;
};

uint32_t Little32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

UINT Stride(int width, int bits) {
    return static_cast<UINT>((static_cast<uint64_t>(width) * bits + 31) / 32 * 4);
}

bool TooLarge(uint64_t width, uint64_t height) {
    return width == 0 || height == 0 || width > INT_MAX || height > INT_MAX ||
           width * height > kMaxPixels;
}

// A plain bitmap file: uncompressed or with bit-field masks. Compressed ones
// (run-length, embedded JPEG or PNG) and OS/2 headers go to the decoders.
UniqueBitmap FromBitmapFile(const unsigned char* b, size_t n) {
    constexpr size_t kFileHeader = 14;
    if (n < kFileHeader + sizeof(BITMAPINFOHEADER) || b[0] != 'B' || b[1] != 'M') return {};
    const uint64_t bitsAt = Little32(b + 10);
    BITMAPINFOHEADER h;
    std::memcpy(&h, b + kFileHeader, sizeof h);
    if (h.biSize < sizeof h || h.biSize > n - kFileHeader) return {};
    if (h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == LONG_MIN) return {};
    const WORD depth = h.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return {};
    const bool masks = h.biCompression == BI_BITFIELDS;
    if (h.biCompression != BI_RGB && !(masks && (depth == 16 || depth == 32))) return {};
    const uint64_t height =
        static_cast<uint64_t>(h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight);
    if (TooLarge(static_cast<uint64_t>(h.biWidth), height)) return {};
    uint64_t colours = depth <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << depth) : h.biClrUsed;
    if (depth <= 8) colours = std::min<uint64_t>(colours, 1u << depth);
    const uint64_t tableEnd =
        kFileHeader + h.biSize + (masks && h.biSize == sizeof h ? 12 : 0) + 4 * colours;
    const uint64_t imageBytes = uint64_t{Stride(h.biWidth, depth)} * height;
    if (tableEnd > n || bitsAt < tableEnd || bitsAt > n || imageBytes > n - bitsAt) return {};
    // The info block as the file has it: the system reads any header version.
    void* pixels = nullptr;
    UniqueBitmap dib(::CreateDIBSection(nullptr,
                                        reinterpret_cast<const BITMAPINFO*>(b + kFileHeader),
                                        DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!dib || !pixels) return {};
    ::GdiFlush();
    std::memcpy(pixels, b + bitsAt, static_cast<size_t>(imageBytes));
    return dib;
}

// Pixel formats with no transparency, which convert straight into 24 bits.
bool Opaque(const WICPixelFormatGUID& f) {
    static const GUID* const kOpaque[] = {
        &GUID_WICPixelFormat24bppBGR,    &GUID_WICPixelFormat24bppRGB,
        &GUID_WICPixelFormat32bppBGR,    &GUID_WICPixelFormat48bppRGB,
        &GUID_WICPixelFormat8bppGray,    &GUID_WICPixelFormat16bppGray,
        &GUID_WICPixelFormat4bppGray,    &GUID_WICPixelFormat2bppGray,
        &GUID_WICPixelFormatBlackWhite,  &GUID_WICPixelFormat16bppBGR555,
        &GUID_WICPixelFormat16bppBGR565, &GUID_WICPixelFormat32bppCMYK,
    };
    for (const GUID* g : kOpaque)
        if (f == *g) return true;
    return false;
}

// Of an icon's or cursor's images, the largest; of other files the first.
ComPtr<IWICBitmapFrameDecode> BestFrame(IWICBitmapDecoder* decoder) {
    ComPtr<IWICBitmapFrameDecode> best;
    GUID container{};
    UINT count = 0;
    if (FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatIco ||
        FAILED(decoder->GetFrameCount(&count)) || count == 0)
        count = 1;
    uint64_t bestArea = 0;
    for (UINT i = 0; i < count; ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        UINT w = 0, h = 0;
        if (FAILED(decoder->GetFrame(i, frame.put())) || FAILED(frame->GetSize(&w, &h))) continue;
        if (!best || uint64_t{w} * h > bestArea) {
            best = frame;
            bestArea = uint64_t{w} * h;
        }
    }
    return best;
}

UniqueBitmap FromImagingComponent(const unsigned char* b, size_t n) {
    if (n > MAXDWORD) return {};
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.putVoid())))
        return {};
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(b), static_cast<DWORD>(n))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())))
        return {};
    ComPtr<IWICBitmapFrameDecode> frame = BestFrame(decoder.get());
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (!frame || FAILED(frame->GetSize(&width, &height)) || TooLarge(width, height) ||
        FAILED(frame->GetPixelFormat(&format)))
        return {};
    const bool opaque = Opaque(format);
    ComPtr<IWICBitmapSource> source;
    static const SystemLibrary codecs(L"windowscodecs.dll");
    static const auto convert =
        codecs.Function<decltype(&::WICConvertBitmapSource)>("WICConvertBitmapSource");
    if (!convert) return {};
    if (FAILED(convert(
            opaque ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppPBGRA, frame.get(),
            source.put())))
        return {};
    void* pixels = nullptr;
    // Top-down, the converter's order of rows.
    UniqueBitmap dib =
        NewDibSection(static_cast<LONG>(width), -static_cast<LONG>(height), 24, &pixels);
    if (!dib) return {};
    const UINT stride = Stride(static_cast<int>(width), 24);
    auto* out = static_cast<BYTE*>(pixels);
    if (opaque) {
        if (FAILED(source->CopyPixels(nullptr, stride, stride * height, out))) return {};
        return dib;
    }
    // Premultiplied colours over white, a band of rows at a time.
    constexpr UINT kBand = 64;
    std::vector<BYTE> band(size_t{width} * 4 * kBand);
    for (UINT top = 0; top < height; top += kBand) {
        const UINT rows = std::min(kBand, height - top);
        const WICRect part{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(rows)};
        if (FAILED(source->CopyPixels(&part, width * 4, width * 4 * rows, band.data()))) return {};
        for (UINT y = 0; y < rows; ++y) {
            const BYTE* from = band.data() + size_t{y} * width * 4;
            BYTE* to = out + size_t{top + y} * stride;
            for (UINT x = 0; x < width; ++x, from += 4, to += 3) {
                const BYTE clear = static_cast<BYTE>(255 - from[3]);
                to[0] = static_cast<BYTE>(std::min(255, from[0] + clear));
                to[1] = static_cast<BYTE>(std::min(255, from[1] + clear));
                to[2] = static_cast<BYTE>(std::min(255, from[2] + clear));
            }
        }
    }
    return dib;
}

// Metafiles, and whatever else the system's loader knows, drawn on white at
// the size they give themselves.
UniqueBitmap FromPictureLoader(const unsigned char* b, size_t n) {
    if (n > LONG_MAX) return {};
    UniqueGlobal block = GlobalCopy(b, n);
    if (!block) return {};
    ComPtr<IStream> stream;  // released before the block it reads
    if (FAILED(::CreateStreamOnHGlobal(block.get(), FALSE, stream.put()))) return {};
    ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(n), FALSE, IID_IPicture,
                                picture.putVoid())))
        return {};
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    if (FAILED(picture->get_Width(&hmWidth)) || FAILED(picture->get_Height(&hmHeight)) ||
        hmWidth <= 0 || hmHeight <= 0)
        return {};
    WindowDc screen(nullptr);
    if (!screen) return {};
    const int width = ::MulDiv(hmWidth, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    const int height = ::MulDiv(hmHeight, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    if (width <= 0 || height <= 0 ||
        TooLarge(static_cast<uint64_t>(width), static_cast<uint64_t>(height)))
        return {};
    void* pixels = nullptr;
    UniqueBitmap dib = NewDibSection(width, -height, 24, &pixels);
    if (!dib) return {};
    std::memset(pixels, 0xFF, size_t{Stride(width, 24)} * static_cast<size_t>(height));
    UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!dc) return {};
    {
        SelectObjectScope keep(dc.get(), dib.get());
        // HIMETRIC runs upwards: the source starts at the bottom.
        if (FAILED(picture->Render(dc.get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight,
                                   nullptr)))
            return {};
    }
    ::GdiFlush();
    return dib;
}

}  // namespace

UniqueBitmap DecodePicture(const unsigned char* bytes, size_t size) {
    if (!bytes || size == 0) return {};
    if (UniqueBitmap plain = FromBitmapFile(bytes, size)) return plain;
    // COM for the decoders, on a thread that may not have started it yet (the
    // Pictures store can load before OLE starts).
    ComInit com;
    if (UniqueBitmap decoded = FromImagingComponent(bytes, size)) return decoded;
    return FromPictureLoader(bytes, size);
}

UniqueBitmap LoadPictureFile(const std::wstring& path) {
    // A plain bitmap file goes straight in: nothing reads one faster.
    if (UniqueBitmap plain{static_cast<HBITMAP>(::LoadImageW(
            nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))})
        return plain;
    const MappedFile file(path);
    return DecodePicture(file.data(), file.size());
}

// The packed DIB behind the file header, made in place.
std::string BitmapFileBytes(HBITMAP bitmap) {
    const std::optional<BITMAPINFOHEADER> header =
        PackedDibHeader(bitmap, sizeof(BITMAPFILEHEADER));
    if (!header) return {};
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + header->biSize;
    file.bfSize = file.bfOffBits + header->biSizeImage;
    std::string bytes(file.bfSize, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    if (!PackDib(bitmap, *header, bytes.data() + sizeof file)) return {};
    return bytes;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof info, &info) != sizeof info) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

}  // namespace quillet
