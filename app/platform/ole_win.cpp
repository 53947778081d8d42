// OLE drag and drop: the data object, the drag source, the drop target, and
// the packed DIBs they share with the clipboard.
#include "platform/ole_win.h"

#include "base/guard_win.h"
#include "base/strings_win.h"
#include "platform/dib_win.h"

#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

namespace quillet {

namespace {

FORMATETC FormatOf(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

void AppendBytes(std::vector<unsigned char>& out, const void* bytes, size_t size) {
    const auto* first = static_cast<const unsigned char*>(bytes);
    out.insert(out.end(), first, first + size);
}

std::vector<unsigned char> UnicodeTextBytes(const std::wstring& text) {
    std::vector<unsigned char> out;
    AppendBytes(out, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return out;
}

std::vector<unsigned char> AnsiTextBytes(const std::wstring& text) {
    const std::string ansi = Narrow(text);
    std::vector<unsigned char> out(ansi.begin(), ansi.end());
    out.push_back(0);
    return out;
}

// DROPFILES with wide names, each ended by a NUL, the list by one more.
// An empty name would end the list early, so such names are left out; a
// name is cut at an embedded NUL for the same reason.
std::vector<unsigned char> DropFilesBytes(const std::vector<std::wstring>& files) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::vector<unsigned char> out;
    AppendBytes(out, &header, sizeof header);
    bool any = false;
    for (const std::wstring& file : files) {
        const size_t length = std::wstring_view(file.c_str()).size();
        if (length == 0) continue;
        AppendBytes(out, file.c_str(), (length + 1) * sizeof(wchar_t));
        any = true;
    }
    if (!any) return {};
    const wchar_t end = L'\0';
    AppendBytes(out, &end, sizeof end);
    return out;
}

class PayloadDataObject final : public RefCounted<IDataObject> {
  public:
    explicit PayloadDataObject(const DragPayload& payload) {
        if (payload.text) {
            Offer(CF_UNICODETEXT, UnicodeTextBytes(*payload.text));
            Offer(CF_TEXT, AnsiTextBytes(*payload.text));
        }
        if (!payload.files.empty()) {
            std::vector<unsigned char> drop = DropFilesBytes(payload.files);
            if (!drop.empty()) Offer(CF_HDROP, std::move(drop));
        }
        if (!payload.dib.empty()) Offer(CF_DIB, payload.dib);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const InterfaceRow rows[] = {RowOf<IDataObject>(IID_IDataObject, this)};
        return QueryInterfaceTable(this, rows, riid, ppv);
    }

    // The callers are other programs through OLE: no exception leaves a method.
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        return Guarded([&] {
            if (!format || !medium) return E_INVALIDARG;
            *medium = STGMEDIUM{};
            const Offered* offered = nullptr;
            const HRESULT hr = Find(*format, &offered);
            if (FAILED(hr)) return hr;
            UniqueGlobal block = GlobalCopy(offered->bytes.data(), offered->bytes.size());
            if (!block) return E_OUTOFMEMORY;
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = block.release();  // the caller frees it with ReleaseStgMedium
            medium->pUnkForRelease = nullptr;
            return S_OK;
        });
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        return Guarded([&] {
            if (!format) return E_INVALIDARG;
            const Offered* offered = nullptr;
            return Find(*format, &offered);
        });
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept override {
        if (!out) return E_INVALIDARG;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        return Guarded([&] {
            if (!out) return E_INVALIDARG;
            *out = nullptr;
            if (direction != DATADIR_GET) return E_NOTIMPL;
            return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats_.size()), formats_.data(),
                                           out);
        });
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    struct Offered {
        CLIPFORMAT format;
        std::vector<unsigned char> bytes;
    };

    ~PayloadDataObject() override = default;

    void Offer(CLIPFORMAT format, std::vector<unsigned char> bytes) {
        offered_.push_back(Offered{format, std::move(bytes)});
        formats_.push_back(FormatOf(format));
    }

    HRESULT Find(const FORMATETC& format, const Offered** found) const {
        for (const Offered& offered : offered_) {
            if (offered.format != format.cfFormat) continue;
            if (format.dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
            if (!(format.tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
            *found = &offered;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }

    std::vector<Offered> offered_;
    std::vector<FORMATETC> formats_;
};

class CopyDropSource final : public RefCounted<IDropSource> {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override {
        static const InterfaceRow rows[] = {RowOf<IDropSource>(IID_IDropSource, this)};
        return QueryInterfaceTable(this, rows, riid, ppv);
    }
    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override {
        return QueryContinue(escapePressed != FALSE, keyState);
    }
    STDMETHODIMP GiveFeedback(DWORD) noexcept override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  private:
    ~CopyDropSource() override = default;
};

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = FormatOf(format);
    return data->QueryGetData(&wanted) == S_OK;
}

bool AcceptableDrop(IDataObject* data, DropKinds kinds) {
    if (!data) return false;
    if (Offers(data, CF_HDROP)) return true;
    return kinds == DropKinds::kFilesOrText &&
           (Offers(data, CF_UNICODETEXT) || Offers(data, CF_TEXT));
}

DWORD EffectFor(bool acceptable, DWORD allowed) {
    return acceptable && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

std::optional<std::wstring> ReadText(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = FormatOf(format);
    StgMedium medium;
    if (FAILED(data->GetData(&wanted, medium.put())) || !medium.global()) return std::nullopt;
    GlobalLockScope<const unsigned char> lock(medium.global());
    if (!lock) return std::nullopt;
    return TextFromBuffer(lock.get(), ::GlobalSize(medium.global()), format == CF_UNICODETEXT);
}

// The first name of a CF_HDROP. The list is checked first because
// DragQueryFile trusts it to be terminated, and counted here because some
// DragQueryFile implementations count one name in an empty list.
std::optional<std::wstring> ReadFirstFile(IDataObject* data) {
    FORMATETC wanted = FormatOf(CF_HDROP);
    StgMedium medium;
    if (FAILED(data->GetData(&wanted, medium.put())) || !medium.global()) return std::nullopt;
    {
        GlobalLockScope<const unsigned char> lock(medium.global());
        if (!lock) return std::nullopt;
        const std::optional<size_t> names =
            DropFilesCount(lock.get(), ::GlobalSize(medium.global()));
        if (!names || *names == 0) return std::nullopt;
    }
    HDROP drop = static_cast<HDROP>(medium.global());
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(static_cast<size_t>(length) + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, 0, name.data(), length + 1);
    name.resize(std::min(copied, length));
    return name;
}

}  // namespace

ComPtr<IDataObject> MakeDataObject(const DragPayload& payload) {
    return ComPtr<IDataObject>::Adopt(new PayloadDataObject(payload));
}

HRESULT QueryContinue(bool escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

ComPtr<IDropSource> MakeCopyDropSource() {
    return ComPtr<IDropSource>::Adopt(new CopyDropSource());
}

DWORD RunCopyDrag(IDataObject* data) {
    if (!data) return DROPEFFECT_NONE;
    ComPtr<IDropSource> source = MakeCopyDropSource();
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(data, source.get(), DROPEFFECT_COPY, &effect);
    return hr == DRAGDROP_S_DROP ? (effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
}

std::wstring TextFromBuffer(const void* data, size_t bytes, bool wide) {
    if (!data) return {};
    if (wide) {
        const size_t count = bytes / sizeof(wchar_t);
        std::wstring text(count, L'\0');
        if (count) std::memcpy(text.data(), data, count * sizeof(wchar_t));  // may be unaligned
        text.resize(std::wstring_view(text.c_str()).size());
        return text;
    }
    const char* first = static_cast<const char*>(data);
    const char* end = static_cast<const char*>(std::memchr(first, '\0', bytes));
    return Widen(std::string_view(first, end ? static_cast<size_t>(end - first) : bytes));
}

std::optional<size_t> DropFilesCount(const void* data, size_t bytes) {
    if (!data || bytes < sizeof(DROPFILES)) return std::nullopt;
    DROPFILES header;
    std::memcpy(&header, data, sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= bytes) return std::nullopt;
    const auto* base = static_cast<const unsigned char*>(data);
    size_t at = header.pFiles;
    const size_t unit = header.fWide ? sizeof(wchar_t) : 1;
    // Walks name by name until the empty one that ends the list.
    size_t names = 0;
    size_t nameLength = 0;
    for (; at + unit <= bytes; at += unit) {
        bool nul;
        if (header.fWide) {
            wchar_t c;
            std::memcpy(&c, base + at, sizeof c);
            nul = c == L'\0';
        } else {
            nul = base[at] == 0;
        }
        if (!nul) {
            ++nameLength;
            continue;
        }
        if (nameLength == 0) return names;
        ++names;
        nameLength = 0;
    }
    return std::nullopt;
}

DropContent ReadDropped(IDataObject* data) {
    DropContent dropped;
    if (!data) return dropped;
    if (std::optional<std::wstring> file = ReadFirstFile(data)) {
        dropped.hasFiles = true;
        dropped.firstFile = std::move(*file);
    }
    dropped.text = ReadText(data, CF_UNICODETEXT);
    if (!dropped.text) dropped.text = ReadText(data, CF_TEXT);
    return dropped;
}

StgMedium& StgMedium::operator=(StgMedium&& other) noexcept {
    if (this != &other) {
        reset();
        medium_ = std::exchange(other.medium_, STGMEDIUM{});
    }
    return *this;
}

void StgMedium::reset() {
    if (medium_.tymed != TYMED_NULL) ::ReleaseStgMedium(&medium_);
    medium_ = STGMEDIUM{};
}

SlotDropTarget::SlotDropTarget(DropHandler onDrop, DropKinds kinds)
    : onDrop_(std::move(onDrop)), kinds_(kinds) {}

ComPtr<SlotDropTarget> SlotDropTarget::Create(DropHandler onDrop, DropKinds kinds) {
    return ComPtr<SlotDropTarget>::Adopt(new SlotDropTarget(std::move(onDrop), kinds));
}

STDMETHODIMP SlotDropTarget::QueryInterface(REFIID riid, void** ppv) noexcept {
    static const InterfaceRow rows[] = {RowOf<IDropTarget>(IID_IDropTarget, this)};
    return QueryInterfaceTable(this, rows, riid, ppv);
}

// The caller is OLE, which knows nothing of C++ exceptions.
STDMETHODIMP SlotDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    return Guarded([&] {
        if (!effect) return E_INVALIDARG;
        acceptable_ = AcceptableDrop(data, kinds_);
        *effect = EffectFor(acceptable_, *effect);
        return S_OK;
    });
}

STDMETHODIMP SlotDropTarget::DragOver(DWORD, POINTL, DWORD* effect) noexcept {
    if (!effect) return E_INVALIDARG;
    *effect = EffectFor(acceptable_, *effect);
    return S_OK;
}

STDMETHODIMP SlotDropTarget::DragLeave() noexcept {
    acceptable_ = false;
    return S_OK;
}

STDMETHODIMP SlotDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    return Guarded([&] {
        if (!effect) return E_INVALIDARG;
        acceptable_ = false;
        const DWORD taken = EffectFor(AcceptableDrop(data, kinds_), *effect);
        // Nothing is taken until the handler has it.
        *effect = DROPEFFECT_NONE;
        if (taken == DROPEFFECT_NONE) return S_OK;
        const DropContent dropped = ReadDropped(data);
        if (onDrop_) onDrop_(dropped);
        *effect = taken;
        return S_OK;
    });
}

DropRegistration::DropRegistration(HWND window, ComPtr<IDropTarget> target)
    : window_(window), target_(std::move(target)) {
    result_ = target_ ? ::RegisterDragDrop(window_, target_.get()) : E_INVALIDARG;
    registered_ = SUCCEEDED(result_);
}

DropRegistration::DropRegistration(DropRegistration&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)),
      target_(std::move(other.target_)),
      registered_(std::exchange(other.registered_, false)),
      result_(std::exchange(other.result_, E_FAIL)) {}

DropRegistration& DropRegistration::operator=(DropRegistration&& other) noexcept {
    if (this != &other) {
        revoke();
        window_ = std::exchange(other.window_, nullptr);
        target_ = std::move(other.target_);
        registered_ = std::exchange(other.registered_, false);
        result_ = std::exchange(other.result_, E_FAIL);
    }
    return *this;
}

void DropRegistration::revoke() {
    if (registered_) ::RevokeDragDrop(window_);
    registered_ = false;
    target_.reset();
}

std::optional<BITMAPINFOHEADER> PackedDibHeader(HBITMAP bitmap, size_t lead) {
    if (!bitmap || ::GetObjectType(bitmap) != OBJ_BITMAP) return std::nullopt;
    BITMAP described{};
    if (::GetObjectW(bitmap, sizeof described, &described) != sizeof described) return std::nullopt;
    const LONG width = described.bmWidth;
    const LONG height = described.bmHeight < 0 ? -described.bmHeight : described.bmHeight;
    if (width <= 0 || height <= 0) return std::nullopt;

    const WORD bitCount = described.bmBitsPixel == 32 ? 32 : 24;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t imageBytes = stride * static_cast<std::uint64_t>(height);
    if (lead > MAXDWORD - sizeof(BITMAPINFOHEADER) ||
        imageBytes > MAXDWORD - sizeof(BITMAPINFOHEADER) - lead)
        return std::nullopt;
    BITMAPINFOHEADER header = PlainDibHeader(width, height, bitCount);
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    return header;
}

bool PackDib(HBITMAP bitmap, const BITMAPINFOHEADER& header, void* packed) {
    auto* bytes = static_cast<unsigned char*>(packed);
    std::memcpy(bytes, &header, sizeof header);
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return false;
    // No colour table follows at these depths, so the header alone is the BITMAPINFO.
    const int lines =
        ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(header.biHeight), bytes + sizeof header,
                    reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    std::memcpy(bytes, &header, sizeof header);  // GetDIBits may have rewritten it
    return lines == header.biHeight;
}

std::vector<unsigned char> PackedDibOf(HBITMAP bitmap) {
    const std::optional<BITMAPINFOHEADER> header = PackedDibHeader(bitmap);
    if (!header) return {};
    std::vector<unsigned char> dib(header->biSize + size_t{header->biSizeImage});
    if (!PackDib(bitmap, *header, dib.data())) return {};
    return dib;
}

UniqueBitmap BitmapFromPackedDib(const std::vector<unsigned char>& dib) {
    constexpr size_t kHeaderSize = sizeof(BITMAPINFOHEADER);
    constexpr size_t kMaskBytes = 3 * sizeof(DWORD);
    if (dib.size() < kHeaderSize) return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), kHeaderSize);
    if (header.biSize < kHeaderSize || header.biSize > dib.size()) return {};
    if (header.biPlanes != 1 || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == LONG_MIN)
        return {};
    const WORD bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return {};
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    if (header.biCompression != BI_RGB && !(bitfields && (bitCount == 16 || bitCount == 32)))
        return {};
    // The masks sit right after the 40 bytes of BITMAPINFOHEADER: outside it
    // for that header, inside the larger ones.
    if (bitfields && header.biSize != kHeaderSize && header.biSize < kHeaderSize + kMaskBytes)
        return {};

    const std::uint64_t size = dib.size();
    const std::uint64_t masksAt = kHeaderSize;
    const std::uint64_t tableAt =
        header.biSize + (bitfields && header.biSize == kHeaderSize ? kMaskBytes : 0);
    std::uint64_t colours = header.biClrUsed;
    if (colours == 0 && bitCount <= 8) colours = std::uint64_t{1} << bitCount;
    const std::uint64_t bitsAt = tableAt + colours * sizeof(RGBQUAD);
    if (bitsAt > size) return {};
    const std::uint64_t stride =
        ((static_cast<std::uint64_t>(header.biWidth) * bitCount + 31) / 32) * 4;
    const std::uint64_t height =
        static_cast<std::uint64_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    if (height > (size - bitsAt) / stride) return {};
    const std::uint64_t imageBytes = stride * height;
    if (imageBytes > MAXDWORD) return {};

    // A plain BITMAPINFO for CreateDIBSection, whatever header came in.
    const std::uint64_t tableEntries =
        bitCount <= 8 ? std::min<std::uint64_t>(colours, 1u << bitCount) : 0;
    std::vector<unsigned char> info(kHeaderSize +
                                    std::max<size_t>(kMaskBytes, 256 * sizeof(RGBQUAD)));
    BITMAPINFOHEADER plain = header;
    plain.biSize = kHeaderSize;
    plain.biSizeImage = static_cast<DWORD>(imageBytes);
    plain.biClrUsed = static_cast<DWORD>(tableEntries);
    plain.biClrImportant = 0;
    std::memcpy(info.data(), &plain, kHeaderSize);
    if (bitfields)
        std::memcpy(info.data() + kHeaderSize, dib.data() + masksAt, kMaskBytes);
    else if (tableEntries)
        std::memcpy(info.data() + kHeaderSize, dib.data() + tableAt,
                    static_cast<size_t>(tableEntries) * sizeof(RGBQUAD));

    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr,
                                           reinterpret_cast<const BITMAPINFO*>(info.data()),
                                           DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    ::GdiFlush();
    std::memcpy(bits, dib.data() + bitsAt, static_cast<size_t>(imageBytes));
    return bitmap;
}

}  // namespace quillet
