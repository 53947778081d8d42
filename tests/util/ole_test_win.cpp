// Drag and drop pieces against the real OLE, shell and GDI of the system.
#include "util/ole_win.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "util/com_ptr_win.h"
#include "util/handles_win.h"

namespace quillet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

using Bytes = std::vector<unsigned char>;

class OleEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};
[[maybe_unused]] ::testing::Environment* const kOle =
    ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// "Ünïcødé – ✓": Latin-1 letters, a dash only some code pages have, and a
// check mark none of the ANSI ones has.
const std::wstring kUnicode = L"\u00DCn\u00EFc\u00F8d\u00E9 \u2013 \u2713";

FORMATETC Format(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
    return FORMATETC{format, nullptr, aspect, -1, tymed};
}

Bytes BytesOf(const void* data, size_t size) {
    const auto* first = static_cast<const unsigned char*>(data);
    return Bytes(first, first + size);
}

Bytes WideBytes(const std::wstring& text) {
    return BytesOf(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::string AnsiOf(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring WideOf(const std::string& bytes) {
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

UniqueGlobal GlobalOf(const Bytes& bytes) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    GlobalLockScope<unsigned char> lock(block.get());
    if (lock && !bytes.empty()) std::memcpy(lock.get(), bytes.data(), bytes.size());
    return block;
}

Bytes ContentOf(HGLOBAL block) {
    GlobalLockScope<unsigned char> lock(block);
    if (!lock) return {};
    return BytesOf(lock.get(), ::GlobalSize(block));
}

// The whole block GetData hands out for one format.
std::optional<Bytes> GetBytes(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = Format(format);
    StgMedium medium;
    if (data->GetData(&wanted, medium.put()) != S_OK) return std::nullopt;
    if (medium.get().tymed != TYMED_HGLOBAL || !medium.global()) return std::nullopt;
    return ContentOf(medium.global());
}

std::vector<CLIPFORMAT> EnumeratedFormats(IDataObject* data) {
    ComPtr<IEnumFORMATETC> formats;
    std::vector<CLIPFORMAT> found;
    if (data->EnumFormatEtc(DATADIR_GET, formats.put()) != S_OK || !formats) return found;
    FORMATETC item;
    ULONG fetched = 0;
    while (formats->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        EXPECT_EQ(item.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
        EXPECT_EQ(item.dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
        if (item.ptd) ::CoTaskMemFree(item.ptd);
        found.push_back(item.cfFormat);
    }
    return found;
}

Bytes DropFilesBlock(const std::vector<std::string>& names, bool wide) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = wide ? TRUE : FALSE;
    Bytes out = BytesOf(&header, sizeof header);
    auto append = [&](const std::string& name) {
        for (char c : name) {
            if (wide) {
                const wchar_t w = static_cast<unsigned char>(c);
                out.insert(out.end(), reinterpret_cast<const unsigned char*>(&w),
                           reinterpret_cast<const unsigned char*>(&w) + sizeof w);
            } else {
                out.push_back(static_cast<unsigned char>(c));
            }
        }
        out.insert(out.end(), wide ? sizeof(wchar_t) : 1, 0);
    };
    for (const std::string& name : names) append(name);
    out.insert(out.end(), wide ? sizeof(wchar_t) : 1, 0);
    return out;
}

// Counts the references media hand out for their release, so a test can
// tell that every medium was released again.
class ReleaseCounter final : public IUnknown {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++outstanding_); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--outstanding_); }
    long outstanding() const { return outstanding_; }

  private:
    long outstanding_ = 0;
};

// A data object with whatever blocks a test puts in. It keeps ownership of
// the memory and lends it out with a release reference, as some programs do.
class FakeDataObject final : public IDataObject {
  public:
    void Offer(CLIPFORMAT format, UniqueGlobal block, DWORD tymed = TYMED_HGLOBAL) {
        offers_[format] = Entry{tymed, std::move(block)};
    }
    void Offer(CLIPFORMAT format, const Bytes& bytes) { Offer(format, GlobalOf(bytes)); }

    int gets() const { return gets_; }
    long outstanding() const { return counter_.outstanding(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        *medium = STGMEDIUM{};
        const HRESULT hr = QueryGetData(format);
        if (hr != S_OK) return hr;
        const Entry& entry = offers_.at(format->cfFormat);
        if (entry.tymed != TYMED_HGLOBAL) return DV_E_TYMED;
        ++gets_;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = entry.block.get();
        medium->pUnkForRelease = &counter_;
        counter_.AddRef();
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        const auto found = offers_.find(format->cfFormat);
        if (found == offers_.end()) return DV_E_FORMATETC;
        return (format->tymed & found->second.tymed) ? S_OK : DV_E_TYMED;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    struct Entry {
        DWORD tymed = TYMED_HGLOBAL;
        UniqueGlobal block;
    };
    std::map<CLIPFORMAT, Entry> offers_;
    ReleaseCounter counter_;
    int gets_ = 0;
};

// ---- the data object -------------------------------------------------------

TEST(OleDataObjectTest, OffersExactlyThePayloadFormats) {
    DragPayload payload;
    payload.text = L"hello";
    payload.files = {L"C:\\a.txt"};
    payload.dib = Bytes(64, 1);
    ComPtr<IDataObject> data = MakeDataObject(payload);
    ASSERT_TRUE(data);

    for (CLIPFORMAT format : {CF_UNICODETEXT, CF_TEXT, CF_HDROP, CF_DIB}) {
        FORMATETC wanted = Format(format);
        EXPECT_EQ(data->QueryGetData(&wanted), S_OK) << format;
        FORMATETC several = Format(format, TYMED_HGLOBAL | TYMED_ISTREAM);
        EXPECT_EQ(data->QueryGetData(&several), S_OK) << format;
        FORMATETC stream = Format(format, TYMED_ISTREAM);
        EXPECT_NE(data->QueryGetData(&stream), S_OK) << format;
        FORMATETC icon = Format(format, TYMED_HGLOBAL, DVASPECT_ICON);
        EXPECT_NE(data->QueryGetData(&icon), S_OK) << format;
    }
    const auto html = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"HTML Format"));
    for (CLIPFORMAT format :
         {CLIPFORMAT(CF_BITMAP), CLIPFORMAT(CF_OEMTEXT), html, CLIPFORMAT(CF_DIBV5)}) {
        FORMATETC wanted = Format(format, TYMED_HGLOBAL | TYMED_GDI);
        EXPECT_EQ(data->QueryGetData(&wanted), DV_E_FORMATETC) << format;
        StgMedium medium;
        EXPECT_NE(data->GetData(&wanted, medium.put()), S_OK) << format;
        EXPECT_EQ(medium.get().tymed, static_cast<DWORD>(TYMED_NULL));
    }
    EXPECT_THAT(EnumeratedFormats(data.get()),
                UnorderedElementsAre(CF_UNICODETEXT, CF_TEXT, CF_HDROP, CF_DIB));
}

TEST(OleDataObjectTest, TextAloneOffersOnlyTheTextFormats) {
    DragPayload payload;
    payload.text = L"just text";
    ComPtr<IDataObject> data = MakeDataObject(payload);
    EXPECT_THAT(EnumeratedFormats(data.get()), UnorderedElementsAre(CF_UNICODETEXT, CF_TEXT));
    FORMATETC files = Format(CF_HDROP);
    EXPECT_EQ(data->QueryGetData(&files), DV_E_FORMATETC);
    FORMATETC dib = Format(CF_DIB);
    EXPECT_EQ(data->QueryGetData(&dib), DV_E_FORMATETC);
}

TEST(OleDataObjectTest, FilesAloneOfferOnlyTheDropList) {
    DragPayload payload;
    payload.files = {L"C:\\one"};
    ComPtr<IDataObject> data = MakeDataObject(payload);
    EXPECT_THAT(EnumeratedFormats(data.get()), ElementsAre(CF_HDROP));
}

TEST(OleDataObjectTest, AnEmptyPayloadOffersNothing) {
    ComPtr<IDataObject> data = MakeDataObject(DragPayload{});
    EXPECT_THAT(EnumeratedFormats(data.get()), IsEmpty());
    FORMATETC text = Format(CF_TEXT);
    EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);
}

TEST(OleDataObjectTest, UnicodeTextComesBackExactly) {
    DragPayload payload;
    payload.text = kUnicode;
    ComPtr<IDataObject> data = MakeDataObject(payload);
    const std::optional<Bytes> bytes = GetBytes(data.get(), CF_UNICODETEXT);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, WideBytes(kUnicode));
    EXPECT_EQ(ReadDropped(data.get()).text, kUnicode);
}

TEST(OleDataObjectTest, AnsiTextIsTheCodePageForm) {
    DragPayload payload;
    payload.text = kUnicode;
    ComPtr<IDataObject> data = MakeDataObject(payload);
    const std::optional<Bytes> bytes = GetBytes(data.get(), CF_TEXT);
    ASSERT_TRUE(bytes);
    ASSERT_FALSE(bytes->empty());
    EXPECT_EQ(bytes->back(), 0) << "ends with its NUL";
    const std::string ansi(bytes->begin(), bytes->end() - 1);
    EXPECT_EQ(ansi.find('\0'), std::string::npos);
    EXPECT_EQ(ansi, AnsiOf(kUnicode));
    if (::GetACP() == 1252) {
        EXPECT_EQ(ansi,
                  "\xDCn\xEF"
                  "c\xF8"
                  "d\xE9 \x96 ?");
        EXPECT_EQ(WideOf(ansi), L"\u00DCn\u00EFc\u00F8d\u00E9 \u2013 ?");
    }
}

TEST(OleDataObjectTest, EachGetDataHandsOutItsOwnBlock) {
    DragPayload payload;
    payload.text = L"twice";
    ComPtr<IDataObject> data = MakeDataObject(payload);
    FORMATETC wanted = Format(CF_UNICODETEXT);
    StgMedium first;
    StgMedium second;
    ASSERT_EQ(data->GetData(&wanted, first.put()), S_OK);
    ASSERT_EQ(data->GetData(&wanted, second.put()), S_OK);
    EXPECT_EQ(first.get().pUnkForRelease, nullptr) << "the receiver owns the block";
    ASSERT_NE(first.global(), second.global());
    first.reset();
    EXPECT_EQ(ContentOf(second.global()), WideBytes(L"twice"));
}

TEST(OleDataObjectTest, FilesComeBackAsAWideDropList) {
    DragPayload payload;
    payload.files = {L"C:\\first file.txt", L"D:\\second\\b.png", L"C:\\third"};
    ComPtr<IDataObject> data = MakeDataObject(payload);

    FORMATETC wanted = Format(CF_HDROP);
    StgMedium medium;
    ASSERT_EQ(data->GetData(&wanted, medium.put()), S_OK);
    ASSERT_TRUE(medium.global());
    {
        GlobalLockScope<DROPFILES> header(medium.global());
        ASSERT_TRUE(header);
        EXPECT_TRUE(header.get()->fWide);
        EXPECT_EQ(header.get()->pFiles, sizeof(DROPFILES));
    }
    HDROP drop = static_cast<HDROP>(medium.global());
    ASSERT_EQ(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 3u);
    for (UINT i = 0; i < 3; ++i) {
        wchar_t name[MAX_PATH] = {};
        ::DragQueryFileW(drop, i, name, MAX_PATH);
        EXPECT_EQ(std::wstring(name), payload.files[i]);
    }
    const Bytes block = ContentOf(medium.global());
    ASSERT_GE(block.size(), sizeof(DROPFILES) + 2 * sizeof(wchar_t));
    EXPECT_EQ(block[block.size() - 1], 0);
    EXPECT_EQ(block[block.size() - 2], 0);
    EXPECT_EQ(block[block.size() - 3], 0) << "the last name's NUL, then the list's";
    EXPECT_EQ(block[block.size() - 4], 0);

    const DropContent dropped = ReadDropped(data.get());
    EXPECT_TRUE(dropped.hasFiles);
    EXPECT_EQ(dropped.firstFile, L"C:\\first file.txt");
    EXPECT_FALSE(dropped.text);
}

TEST(OleDataObjectTest, EmptyFileNamesDoNotCutTheList) {
    DragPayload payload;
    payload.files = {L"", L"C:\\real", L"", L"C:\\other"};
    ComPtr<IDataObject> data = MakeDataObject(payload);
    FORMATETC wanted = Format(CF_HDROP);
    StgMedium medium;
    ASSERT_EQ(data->GetData(&wanted, medium.put()), S_OK);
    EXPECT_EQ(::DragQueryFileW(static_cast<HDROP>(medium.global()), 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(ReadDropped(data.get()).firstFile, L"C:\\real");
}

TEST(OleDataObjectTest, DibComesBackByteForByte) {
    DragPayload payload;
    for (int i = 0; i < 100; ++i) payload.dib.push_back(static_cast<unsigned char>(i * 7));
    ComPtr<IDataObject> data = MakeDataObject(payload);
    EXPECT_EQ(GetBytes(data.get(), CF_DIB), payload.dib);
}

TEST(OleDataObjectTest, RefusesWritesAndAdvises) {
    ComPtr<IDataObject> data = MakeDataObject(DragPayload{});
    FORMATETC wanted = Format(CF_TEXT);
    STGMEDIUM medium{};
    EXPECT_TRUE(FAILED(data->SetData(&wanted, &medium, FALSE)));
    DWORD connection = 0;
    EXPECT_EQ(data->DAdvise(&wanted, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->DUnadvise(1), OLE_E_ADVISENOTSUPPORTED);
    ComPtr<IEnumSTATDATA> advises;
    EXPECT_EQ(data->EnumDAdvise(advises.put()), OLE_E_ADVISENOTSUPPORTED);
    ComPtr<IDropTarget> notATarget;
    EXPECT_EQ(data.As(notATarget), E_NOINTERFACE);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(data.As(unknown), S_OK);
}

// ---- reading a drop --------------------------------------------------------

TEST(OleReadDroppedTest, ReadsAnAnsiDropList) {
    FakeDataObject data;
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\one.txt", "C:\\two.txt"}, false));
    const DropContent dropped = ReadDropped(&data);
    EXPECT_TRUE(dropped.hasFiles);
    EXPECT_EQ(dropped.firstFile, L"C:\\one.txt");
    EXPECT_FALSE(dropped.text);
}

TEST(OleReadDroppedTest, ReadsAWideDropList) {
    FakeDataObject data;
    data.Offer(CF_HDROP, DropFilesBlock({"E:\\pics\\cat.jpg"}, true));
    const DropContent dropped = ReadDropped(&data);
    EXPECT_TRUE(dropped.hasFiles);
    EXPECT_EQ(dropped.firstFile, L"E:\\pics\\cat.jpg");
}

TEST(OleReadDroppedTest, AnEmptyOrUnterminatedDropListHasNoFiles) {
    FakeDataObject empty;
    empty.Offer(CF_HDROP, DropFilesBlock({}, true));
    EXPECT_FALSE(ReadDropped(&empty).hasFiles);

    Bytes cut = DropFilesBlock({"C:\\x"}, false);
    cut.resize(cut.size() - 2);  // loses both NULs
    FakeDataObject unterminated;
    unterminated.Offer(CF_HDROP, cut);
    const DropContent dropped = ReadDropped(&unterminated);
    EXPECT_FALSE(dropped.hasFiles);
    EXPECT_EQ(dropped.firstFile, L"");
}

TEST(OleReadDroppedTest, PrefersUnicodeText) {
    FakeDataObject data;
    data.Offer(CF_UNICODETEXT, WideBytes(L"wide \u2713"));
    data.Offer(CF_TEXT, Bytes{'n', 'a', 'r', 'r', 'o', 'w', 0});
    EXPECT_EQ(ReadDropped(&data).text, L"wide \u2713");
}

TEST(OleReadDroppedTest, AnsiTextIsConvertedFromTheCodePage) {
    const std::string ansi = "caf\xE9 \x80";
    Bytes bytes(ansi.begin(), ansi.end());
    bytes.push_back(0);
    FakeDataObject data;
    data.Offer(CF_TEXT, bytes);
    const DropContent dropped = ReadDropped(&data);
    ASSERT_TRUE(dropped.text);
    EXPECT_EQ(*dropped.text, WideOf(ansi));
    if (::GetACP() == 1252) {
        EXPECT_EQ(*dropped.text, L"caf\u00E9 \u20AC");
    }
    EXPECT_FALSE(dropped.hasFiles);
}

TEST(OleReadDroppedTest, TextEndsAtTheFirstNul) {
    FakeDataObject data;
    data.Offer(CF_TEXT, Bytes{'a', 'b', 'c', 0, 'd', 'e', 'f', 0});
    EXPECT_EQ(ReadDropped(&data).text, L"abc");
    FakeDataObject wide;
    wide.Offer(CF_UNICODETEXT, WideBytes(std::wstring(L"left\0right", 10)));
    EXPECT_EQ(ReadDropped(&wide).text, L"left");
}

// A block shrunk in place keeps its old bytes just past its new end, so a
// reader that ignores the size finds more 'x's there than the block holds.
UniqueGlobal ShrunkBlock(unsigned char fill, size_t from, size_t to) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, from));
    {
        GlobalLockScope<unsigned char> lock(block.get());
        if (lock) std::memset(lock.get(), fill, from);
    }
    HGLOBAL smaller = ::GlobalReAlloc(block.get(), to, GMEM_MOVEABLE);
    if (smaller) {
        block.release();
        block.reset(smaller);
    }
    return block;
}

TEST(OleReadDroppedTest, UnterminatedAnsiTextStopsAtTheBlockEnd) {
    UniqueGlobal block = ShrunkBlock('x', 4096, 5);
    ASSERT_TRUE(block);
    ASSERT_EQ(::GlobalSize(block.get()), 5u);
    FakeDataObject data;
    data.Offer(CF_TEXT, std::move(block));
    EXPECT_EQ(ReadDropped(&data).text, L"xxxxx");
}

TEST(OleReadDroppedTest, UnterminatedUnicodeTextStopsAtTheBlockEnd) {
    UniqueGlobal block = ShrunkBlock('x', 4096, 7);  // three characters and a stray byte
    ASSERT_TRUE(block);
    ASSERT_EQ(::GlobalSize(block.get()), 7u);
    FakeDataObject data;
    data.Offer(CF_UNICODETEXT, std::move(block));
    EXPECT_EQ(ReadDropped(&data).text, std::wstring(3, static_cast<wchar_t>(0x7878)));
}

TEST(OleReadDroppedTest, ReleasesEveryMedium) {
    FakeDataObject data;
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\f"}, true));
    data.Offer(CF_UNICODETEXT, WideBytes(L"t"));
    const DropContent dropped = ReadDropped(&data);
    EXPECT_TRUE(dropped.hasFiles);
    EXPECT_EQ(dropped.text, L"t");
    EXPECT_GE(data.gets(), 2);
    EXPECT_EQ(data.outstanding(), 0);
}

TEST(OleReadDroppedTest, NothingUsableGivesNothing) {
    FakeDataObject data;
    data.Offer(CF_BITMAP, UniqueGlobal(), TYMED_GDI);
    const DropContent dropped = ReadDropped(&data);
    EXPECT_FALSE(dropped.hasFiles);
    EXPECT_FALSE(dropped.text);
    EXPECT_FALSE(ReadDropped(nullptr).text);
}

TEST(OleBufferReaderTest, TextNeverRunsPastTheGivenSize) {
    const char narrow[] = "abcdef";
    EXPECT_EQ(TextFromBuffer(narrow, 3, false), L"abc");
    EXPECT_EQ(TextFromBuffer(narrow, 0, false), L"");
    const wchar_t wide[] = L"abcdef";
    EXPECT_EQ(TextFromBuffer(wide, 3 * sizeof(wchar_t), true), L"abc");
    EXPECT_EQ(TextFromBuffer(wide, 3 * sizeof(wchar_t) + 1, true), L"abc");
    EXPECT_EQ(TextFromBuffer(wide, 1, true), L"");
    EXPECT_EQ(TextFromBuffer(nullptr, 10, false), L"");
    const char terminated[] = "ab\0cd";
    EXPECT_EQ(TextFromBuffer(terminated, 5, false), L"ab");
}

TEST(OleBufferReaderTest, DropListsMustEndInBounds) {
    for (bool wide : {false, true}) {
        const Bytes good = DropFilesBlock({"C:\\a", "C:\\bb", "C:\\ccc"}, wide);
        EXPECT_EQ(DropFilesCount(good.data(), good.size()), size_t{3}) << wide;
        EXPECT_EQ(DropFilesCount(good.data(), good.size() - (wide ? 2 : 1)), std::nullopt) << wide;
        EXPECT_EQ(DropFilesCount(good.data(), good.size() - (wide ? 3 : 2)), std::nullopt) << wide;
        const Bytes empty = DropFilesBlock({}, wide);
        EXPECT_EQ(DropFilesCount(empty.data(), empty.size()), size_t{0}) << wide;
        EXPECT_EQ(DropFilesCount(empty.data(), sizeof(DROPFILES)), std::nullopt) << wide;
    }
    Bytes outside = DropFilesBlock({"C:\\a"}, true);
    DROPFILES header;
    std::memcpy(&header, outside.data(), sizeof header);
    header.pFiles = static_cast<DWORD>(outside.size());
    std::memcpy(outside.data(), &header, sizeof header);
    EXPECT_EQ(DropFilesCount(outside.data(), outside.size()), std::nullopt);
    header.pFiles = 4;  // inside the header
    std::memcpy(outside.data(), &header, sizeof header);
    EXPECT_EQ(DropFilesCount(outside.data(), outside.size()), std::nullopt);
    EXPECT_EQ(DropFilesCount(outside.data(), sizeof(DROPFILES) - 1), std::nullopt);
    EXPECT_EQ(DropFilesCount(nullptr, 100), std::nullopt);
}

// ---- the drop target -------------------------------------------------------

struct Recorder {
    std::vector<DropContent> drops;
    SlotDropTarget::DropHandler handler() {
        return [this](const DropContent& dropped) { drops.push_back(dropped); };
    }
};

ComPtr<IDataObject> TextData(const std::wstring& text) {
    DragPayload payload;
    payload.text = text;
    return MakeDataObject(payload);
}

DWORD Enter(IDropTarget* target, IDataObject* data, DWORD allowed) {
    DWORD effect = allowed;
    EXPECT_EQ(target->DragEnter(data, MK_LBUTTON, POINTL{10, 10}, &effect), S_OK);
    return effect;
}

constexpr DWORD kAnyEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST(OleSlotDropTargetTest, TextAndFilesAreCopied) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    EXPECT_EQ(Enter(target.get(), TextData(L"t").get(), kAnyEffect),
              static_cast<DWORD>(DROPEFFECT_COPY));
    DragPayload files;
    files.files = {L"C:\\f"};
    EXPECT_EQ(Enter(target.get(), MakeDataObject(files).get(), kAnyEffect),
              static_cast<DWORD>(DROPEFFECT_COPY));
    FakeDataObject ansi;
    ansi.Offer(CF_TEXT, Bytes{'a', 0});
    EXPECT_EQ(Enter(target.get(), &ansi, DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_THAT(recorder.drops, IsEmpty()) << "entering drops nothing";
}

TEST(OleSlotDropTargetTest, OtherFormatsAreRefused) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    FakeDataObject bitmap;
    bitmap.Offer(CF_BITMAP, UniqueGlobal(), TYMED_GDI);
    EXPECT_EQ(Enter(target.get(), &bitmap, kAnyEffect), static_cast<DWORD>(DROPEFFECT_NONE));
    DragPayload picture;
    picture.dib = Bytes(60, 0);
    EXPECT_EQ(Enter(target.get(), MakeDataObject(picture).get(), kAnyEffect),
              static_cast<DWORD>(DROPEFFECT_NONE));
    DWORD effect = kAnyEffect;
    EXPECT_EQ(target->DragOver(0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST(OleSlotDropTargetTest, ASourceThatOnlyMovesIsRefused) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    ComPtr<IDataObject> data = TextData(L"t");
    EXPECT_EQ(Enter(target.get(), data.get(), DROPEFFECT_MOVE),
              static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(Enter(target.get(), data.get(), DROPEFFECT_LINK | DROPEFFECT_MOVE),
              static_cast<DWORD>(DROPEFFECT_NONE));
    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(data.get(), 0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_THAT(recorder.drops, IsEmpty());
}

TEST(OleSlotDropTargetTest, DragOverFollowsWhatEnteredAndWhatIsAllowed) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    Enter(target.get(), TextData(L"t").get(), kAnyEffect);
    DWORD effect = kAnyEffect;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragLeave(), S_OK);
    effect = kAnyEffect;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST(OleSlotDropTargetTest, DropHandsOverWhatWasDropped) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    DragPayload payload;
    payload.text = kUnicode;
    payload.files = {L"C:\\dropped.txt", L"C:\\second.txt"};
    ComPtr<IDataObject> data = MakeDataObject(payload);
    Enter(target.get(), data.get(), kAnyEffect);
    DWORD effect = kAnyEffect;
    EXPECT_EQ(target->Drop(data.get(), 0, POINTL{5, 5}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(recorder.drops.size(), 1u);
    EXPECT_TRUE(recorder.drops[0].hasFiles);
    EXPECT_EQ(recorder.drops[0].firstFile, L"C:\\dropped.txt");
    EXPECT_EQ(recorder.drops[0].text, kUnicode);
}

TEST(OleSlotDropTargetTest, RefusedDropsAreNotHandedOver) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    FakeDataObject bitmap;
    bitmap.Offer(CF_BITMAP, UniqueGlobal(), TYMED_GDI);
    DWORD effect = kAnyEffect;
    EXPECT_EQ(target->Drop(&bitmap, 0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAnyEffect;
    EXPECT_EQ(target->Drop(nullptr, 0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_THAT(recorder.drops, IsEmpty());
}

TEST(OleSlotDropTargetTest, ExceptionsStayInside) {
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(
        [](const DropContent&) { throw std::runtime_error("slot is busy"); });
    ComPtr<IDataObject> data = TextData(L"t");
    DWORD effect = kAnyEffect;
    HRESULT hr = S_OK;
    EXPECT_NO_THROW(hr = target->Drop(data.get(), 0, POINTL{}, &effect));
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST(OleSlotDropTargetTest, IsAnIDropTargetOnly) {
    Recorder recorder;
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler());
    ComPtr<IDropTarget> asTarget;
    EXPECT_EQ(target.As(asTarget), S_OK);
    EXPECT_EQ(asTarget.get(), static_cast<IDropTarget*>(target.get()));
    ComPtr<IDataObject> asData;
    EXPECT_EQ(target.As(asData), E_NOINTERFACE);
    EXPECT_FALSE(asData);
    EXPECT_EQ(target->DragEnter(TextData(L"t").get(), 0, POINTL{}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->DragOver(0, POINTL{}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->Drop(nullptr, 0, POINTL{}, nullptr), E_INVALIDARG);
}

// ---- registration ----------------------------------------------------------

UniqueWindow MakeWindow(DWORD style = WS_POPUP, int x = 0, int y = 0) {
    return UniqueWindow(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"drop here", style, x, y, 120,
                                          120, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                          nullptr));
}

ComPtr<IDropTarget> AnyTarget() {
    return SlotDropTarget::Create([](const DropContent&) {});
}

TEST(OleDropRegistrationTest, RegistersForItsLifetime) {
    UniqueWindow window = MakeWindow();
    ASSERT_TRUE(window);
    ComPtr<IDropTarget> probe = AnyTarget();
    {
        DropRegistration registration(window.get(), AnyTarget());
        EXPECT_TRUE(registration.registered());
        EXPECT_EQ(registration.result(), S_OK);
        EXPECT_EQ(::RegisterDragDrop(window.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);
    }
    EXPECT_EQ(::RegisterDragDrop(window.get(), probe.get()), S_OK) << "revoked again";
    EXPECT_EQ(::RevokeDragDrop(window.get()), S_OK);
}

TEST(OleDropRegistrationTest, AFailedRegistrationRevokesNothing) {
    UniqueWindow window = MakeWindow();
    ASSERT_TRUE(window);
    ComPtr<IDropTarget> first = AnyTarget();
    ASSERT_EQ(::RegisterDragDrop(window.get(), first.get()), S_OK);
    {
        DropRegistration second(window.get(), AnyTarget());
        EXPECT_FALSE(second);
        EXPECT_EQ(second.result(), DRAGDROP_E_ALREADYREGISTERED);
    }
    ComPtr<IDropTarget> probe = AnyTarget();
    EXPECT_EQ(::RegisterDragDrop(window.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(::RevokeDragDrop(window.get()), S_OK);

    DropRegistration nowhere(nullptr, AnyTarget());
    EXPECT_FALSE(nowhere.registered());
}

TEST(OleDropRegistrationTest, MovingHandsTheRegistrationOver) {
    UniqueWindow one = MakeWindow();
    UniqueWindow two = MakeWindow();
    ASSERT_TRUE(one && two);
    ComPtr<IDropTarget> probe = AnyTarget();
    DropRegistration kept;
    {
        DropRegistration original(one.get(), AnyTarget());
        ASSERT_TRUE(original);
        kept = std::move(original);
        EXPECT_FALSE(original.registered());
    }
    EXPECT_TRUE(kept.registered());
    EXPECT_EQ(::RegisterDragDrop(one.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);

    kept = DropRegistration(two.get(), AnyTarget());
    EXPECT_EQ(::RegisterDragDrop(one.get(), probe.get()), S_OK) << "the first was revoked";
    EXPECT_EQ(::RevokeDragDrop(one.get()), S_OK);
    EXPECT_EQ(::RegisterDragDrop(two.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);
}

TEST(OleDropRegistrationTest, LetsGoOfTheTarget) {
    UniqueWindow window = MakeWindow();
    ASSERT_TRUE(window);
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    {
        ComPtr<IDropTarget> target =
            SlotDropTarget::Create([alive = std::move(alive)](const DropContent&) {});
        DropRegistration registration(window.get(), std::move(target));
        ASSERT_TRUE(registration);
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_TRUE(watch.expired()) << "every reference to the target was released";
}

// ---- dragging out ----------------------------------------------------------

TEST(OleDropSourceTest, EscapeCancelsAndReleasingDrops) {
    EXPECT_EQ(QueryContinue(false, MK_LBUTTON), S_OK);
    EXPECT_EQ(QueryContinue(false, MK_LBUTTON | MK_SHIFT | MK_CONTROL), S_OK);
    EXPECT_EQ(QueryContinue(false, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(QueryContinue(false, MK_RBUTTON), DRAGDROP_S_DROP);
    EXPECT_EQ(QueryContinue(true, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(QueryContinue(true, 0), DRAGDROP_S_CANCEL);

    ComPtr<IDropSource> source = MakeCopyDropSource();
    ASSERT_TRUE(source);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST(OleDropSourceTest, NothingToDragIsNoDrop) {
    EXPECT_EQ(RunCopyDrag(nullptr), 0u);
}

// With no button held, DoDragDrop drops at once onto whatever is under the
// cursor, which lets a whole drag run without a mouse.
class OleWholeDragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = MakeWindow(WS_POPUP | WS_VISIBLE | SS_NOTIFY, 200, 200);  // hit-testable
        ASSERT_TRUE(window_);
        ::SetWindowPos(window_.get(), HWND_TOPMOST, 200, 200, 120, 120, SWP_SHOWWINDOW);
        ::UpdateWindow(window_.get());
        Pump();
        ASSERT_TRUE(::SetCursorPos(260, 260));
        Pump();
        POINT at{};
        ASSERT_TRUE(::GetCursorPos(&at));
        ASSERT_EQ(::WindowFromPoint(at), window_.get()) << "the window must be under the cursor";
        ASSERT_EQ(::GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0) << "nothing may hold the button";
    }

    static void Pump() {
        MSG msg;
        for (int round = 0; round < 5; ++round) {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            ::Sleep(20);
        }
    }

    UniqueWindow window_;
    Recorder recorder_;
};

TEST_F(OleWholeDragTest, DropsOntoASlotAsACopy) {
    DropRegistration registration(window_.get(), SlotDropTarget::Create(recorder_.handler()));
    ASSERT_TRUE(registration);
    EXPECT_EQ(RunCopyDrag(TextData(kUnicode).get()), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(recorder_.drops.size(), 1u);
    EXPECT_EQ(recorder_.drops[0].text, kUnicode);
}

TEST_F(OleWholeDragTest, ARefusingTargetMeansNoEffect) {
    DropRegistration registration(window_.get(), SlotDropTarget::Create(recorder_.handler()));
    ASSERT_TRUE(registration);
    DragPayload picture;
    picture.dib = Bytes(60, 0);
    EXPECT_EQ(RunCopyDrag(MakeDataObject(picture).get()), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_THAT(recorder_.drops, IsEmpty());
}

TEST_F(OleWholeDragTest, NoTargetMeansNoEffect) {
    EXPECT_EQ(RunCopyDrag(TextData(L"t").get()), static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST_F(OleWholeDragTest, EscapeCancels) {
    DropRegistration registration(window_.get(), SlotDropTarget::Create(recorder_.handler()));
    ASSERT_TRUE(registration);
    ASSERT_TRUE(::PostMessageW(window_.get(), WM_KEYDOWN, VK_ESCAPE, 1));
    EXPECT_EQ(RunCopyDrag(TextData(L"t").get()), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_THAT(recorder_.drops, IsEmpty());
}

// ---- packed DIBs -----------------------------------------------------------

Bytes HeaderBytes(LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB,
                  DWORD coloursUsed = 0) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = compression;
    header.biClrUsed = coloursUsed;
    return BytesOf(&header, sizeof header);
}

BITMAPINFOHEADER HeaderOf(const Bytes& dib) {
    BITMAPINFOHEADER header{};
    if (dib.size() >= sizeof header) std::memcpy(&header, dib.data(), sizeof header);
    return header;
}

// Three by two, 24 bits, bottom-up: the first row in memory is the lower one.
const COLORREF kTop[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
const COLORREF kBottom[3] = {RGB(10, 20, 30), RGB(255, 255, 255), RGB(1, 2, 3)};

Bytes KnownDib24() {
    Bytes dib = HeaderBytes(3, 2, 24);
    for (const COLORREF* row : {kBottom, kTop}) {
        for (int x = 0; x < 3; ++x) {
            dib.push_back(GetBValue(row[x]));
            dib.push_back(GetGValue(row[x]));
            dib.push_back(GetRValue(row[x]));
        }
        dib.insert(dib.end(), 3, 0);  // rows are padded to 12 bytes
    }
    return dib;
}

struct MemoryDc {
    MemoryDc() : dc(::CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc) ::DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC dc;
};

struct ScreenDc {
    ScreenDc() : dc(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc) ::ReleaseDC(nullptr, dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC dc;
};

std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int width, int height) {
    MemoryDc memory;
    SelectObjectScope select(memory.dc, bitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(memory.dc, x, y));
    return pixels;
}

// Reads pixel (x, y), y counted from the top, out of a bottom-up 24 or 32 bit DIB.
COLORREF DibPixel(const Bytes& dib, int x, int y) {
    const BITMAPINFOHEADER header = HeaderOf(dib);
    const size_t bytesPerPixel = header.biBitCount / 8;
    const size_t stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const size_t row = static_cast<size_t>(header.biHeight - 1 - y);
    const size_t at = sizeof header + row * stride + static_cast<size_t>(x) * bytesPerPixel;
    return RGB(dib.at(at + 2), dib.at(at + 1), dib.at(at));
}

TEST(OlePackedDibTest, BitmapFromPackedDibHasTheKnownPixels) {
    UniqueBitmap bitmap = BitmapFromPackedDib(KnownDib24());
    ASSERT_TRUE(bitmap);
    BITMAP described{};
    ASSERT_EQ(::GetObjectW(bitmap.get(), sizeof described, &described), int{sizeof described});
    EXPECT_EQ(described.bmWidth, 3);
    EXPECT_EQ(described.bmHeight, 2);
    EXPECT_THAT(PixelsOf(bitmap.get(), 3, 2),
                ElementsAre(kTop[0], kTop[1], kTop[2], kBottom[0], kBottom[1], kBottom[2]));
}

TEST(OlePackedDibTest, RoundTripKeepsEveryByte) {
    const Bytes original = KnownDib24();
    UniqueBitmap bitmap = BitmapFromPackedDib(original);
    ASSERT_TRUE(bitmap);
    const Bytes packed = PackedDibOf(bitmap.get());
    ASSERT_EQ(packed.size(), original.size());
    const BITMAPINFOHEADER header = HeaderOf(packed);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, 2);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 24u);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(DibPixel(packed, x, 0), kTop[x]) << x;
        EXPECT_EQ(DibPixel(packed, x, 1), kBottom[x]) << x;
    }
    EXPECT_TRUE(std::equal(original.begin() + sizeof header, original.end(),
                           packed.begin() + sizeof header));
}

TEST(OlePackedDibTest, TopDown32BitBitmapsComeOutBottomUp) {
    Bytes dib = HeaderBytes(2, -2, 32);
    const unsigned char top[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    const unsigned char bottom[8] = {7, 8, 9, 0, 10, 11, 12, 0};
    dib.insert(dib.end(), top, top + 8);
    dib.insert(dib.end(), bottom, bottom + 8);
    UniqueBitmap bitmap = BitmapFromPackedDib(dib);
    ASSERT_TRUE(bitmap);
    EXPECT_THAT(PixelsOf(bitmap.get(), 2, 2),
                ElementsAre(RGB(3, 2, 1), RGB(6, 5, 4), RGB(9, 8, 7), RGB(12, 11, 10)));
    const Bytes packed = PackedDibOf(bitmap.get());
    const BITMAPINFOHEADER header = HeaderOf(packed);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biHeight, 2);
    ASSERT_EQ(packed.size(), sizeof header + 16);
    EXPECT_EQ(DibPixel(packed, 0, 0), RGB(3, 2, 1));
    EXPECT_EQ(DibPixel(packed, 1, 0), RGB(6, 5, 4));
    EXPECT_EQ(DibPixel(packed, 0, 1), RGB(9, 8, 7));
    EXPECT_EQ(DibPixel(packed, 1, 1), RGB(12, 11, 10));
}

TEST(OlePackedDibTest, DeviceBitmapsArePacked) {
    UniqueBitmap bitmap;
    {
        ScreenDc screen;
        ASSERT_TRUE(screen.dc);
        bitmap.reset(::CreateCompatibleBitmap(screen.dc, 4, 3));
    }
    ASSERT_TRUE(bitmap);
    {
        MemoryDc memory;
        SelectObjectScope select(memory.dc, bitmap.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) ::SetPixel(memory.dc, x, y, RGB(x * 60, y * 100, 200));
    }
    const Bytes packed = PackedDibOf(bitmap.get());
    ASSERT_FALSE(packed.empty());
    const BITMAPINFOHEADER header = HeaderOf(packed);
    EXPECT_EQ(header.biWidth, 4);
    EXPECT_EQ(header.biHeight, 3);
    EXPECT_TRUE(header.biBitCount == 24 || header.biBitCount == 32) << header.biBitCount;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(DibPixel(packed, x, y), RGB(x * 60, y * 100, 200)) << x << "," << y;
}

TEST(OlePackedDibTest, PaletteDibsUseTheirColourTable) {
    // Two colours, 2x2, 8 bits: indices 0 1 / 1 0, the table cut to its two entries.
    Bytes dib = HeaderBytes(2, 2, 8, BI_RGB, 2);
    const RGBQUAD table[2] = {{50, 60, 70, 0}, {200, 210, 220, 0}};
    dib.insert(dib.end(), reinterpret_cast<const unsigned char*>(table),
               reinterpret_cast<const unsigned char*>(table) + sizeof table);
    const unsigned char rows[8] = {1, 0, 0, 0, 0, 1, 0, 0};  // bottom row first
    dib.insert(dib.end(), rows, rows + 8);
    UniqueBitmap bitmap = BitmapFromPackedDib(dib);
    ASSERT_TRUE(bitmap);
    EXPECT_THAT(PixelsOf(bitmap.get(), 2, 2), ElementsAre(RGB(70, 60, 50), RGB(220, 210, 200),
                                                          RGB(220, 210, 200), RGB(70, 60, 50)));
    for (size_t cut = 0; cut < dib.size(); ++cut)
        EXPECT_FALSE(BitmapFromPackedDib(Bytes(dib.begin(), dib.begin() + cut))) << cut;
}

TEST(OlePackedDibTest, BitfieldMasksAreHonoured) {
    // 16 bits as 5-6-5; one pixel of pure green and one of pure red.
    Bytes dib = HeaderBytes(2, 1, 16, BI_BITFIELDS);
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    dib.insert(dib.end(), reinterpret_cast<const unsigned char*>(masks),
               reinterpret_cast<const unsigned char*>(masks) + sizeof masks);
    const unsigned char pixels[4] = {0xE0, 0x07, 0x00, 0xF8};
    dib.insert(dib.end(), pixels, pixels + 4);
    UniqueBitmap bitmap = BitmapFromPackedDib(dib);
    ASSERT_TRUE(bitmap);
    const std::vector<COLORREF> seen = PixelsOf(bitmap.get(), 2, 1);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(GetRValue(seen[0]), 0);
    EXPECT_GE(GetGValue(seen[0]), 0xF8);
    EXPECT_GE(GetRValue(seen[1]), 0xF8);
    EXPECT_EQ(GetGValue(seen[1]), 0);
}

TEST(OlePackedDibTest, TruncatedDibsAreRejected) {
    const Bytes dib = KnownDib24();
    ASSERT_TRUE(BitmapFromPackedDib(dib));
    for (size_t cut = 0; cut < dib.size(); ++cut)
        EXPECT_FALSE(BitmapFromPackedDib(Bytes(dib.begin(), dib.begin() + cut))) << cut;
}

TEST(OlePackedDibTest, MalformedHeadersAreRejected) {
    const Bytes good = KnownDib24();
    auto with = [&](auto change) {
        Bytes dib = good;
        BITMAPINFOHEADER header = HeaderOf(dib);
        change(header);
        std::memcpy(dib.data(), &header, sizeof header);
        return dib;
    };
    using H = BITMAPINFOHEADER;
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biBitCount = 7; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biWidth = 0; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biWidth = -3; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biHeight = 0; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biHeight = 3; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biHeight = -0x7FFFFFFF; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biWidth = 0x7FFFFFFF; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biPlanes = 2; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biSize = 1000; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biSize = 12; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biCompression = BI_RLE8; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biCompression = BI_BITFIELDS; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) { h.biClrUsed = 0xFFFFFFFF; })));
    EXPECT_FALSE(BitmapFromPackedDib(with([](H& h) {
        h.biBitCount = 8;
        h.biClrUsed = 0;  // 256 colours would be needed
    })));
    EXPECT_TRUE(BitmapFromPackedDib(with([](H&) {})));
}

TEST(OlePackedDibTest, ThingsThatAreNotBitmapsGiveNothing) {
    EXPECT_THAT(PackedDibOf(nullptr), IsEmpty());
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush);
    EXPECT_THAT(PackedDibOf(reinterpret_cast<HBITMAP>(brush.get())), IsEmpty());
    EXPECT_FALSE(BitmapFromPackedDib({}));
}

}  // namespace
}  // namespace quillet
