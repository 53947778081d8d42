// Drag and drop pieces against the real OLE, shell and GDI of the system.
#include "platform/ole_win.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/handles_win.h"

namespace quillet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

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
    for (const std::string& name : names) {
        for (char c : name) {
            out.push_back(static_cast<unsigned char>(c));
            if (wide) out.push_back(0);
        }
        out.insert(out.end(), wide ? 2 : 1, 0);
    }
    out.insert(out.end(), wide ? 2 : 1, 0);
    return out;
}

// A data object with whatever blocks a test puts in. It keeps ownership of
// the memory and lends it out with a reference to itself for the release,
// as some programs do, so a test can tell that every medium went back.
class FakeDataObject final : public IDataObject {
  public:
    void Offer(CLIPFORMAT format, UniqueGlobal block, DWORD tymed = TYMED_HGLOBAL) {
        offers_[format] = Entry{tymed, std::move(block)};
    }
    long outstanding() const { return lent_; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        const bool known = riid == IID_IUnknown || riid == IID_IDataObject;
        *ppv = known ? static_cast<IDataObject*>(this) : nullptr;
        if (known) AddRef();
        return known ? S_OK : E_NOINTERFACE;
    }
    // Lives on the test's stack; the count is only watched.
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++lent_ + 1); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--lent_ + 1); }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        *medium = STGMEDIUM{};
        const HRESULT hr = QueryGetData(format);
        if (hr != S_OK) return hr;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = offers_.at(format->cfFormat).block.get();
        medium->pUnkForRelease = this;
        AddRef();
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
    long lent_ = 0;
};

// ---- the data object -------------------------------------------------------

TEST(OleDataObjectTest, OffersExactlyThePayloadFormatsAsContentInMemory) {
    struct Case {
        const char* name;
        DragPayload payload;
        std::vector<CLIPFORMAT> formats;
    };
    const Case cases[] = {
        {"all", {L"t", {L"C:\\a.txt"}, Bytes(64, 1)}, {CF_UNICODETEXT, CF_TEXT, CF_HDROP, CF_DIB}},
        {"text", {L"t", {}, {}}, {CF_UNICODETEXT, CF_TEXT}},
        {"files", {std::nullopt, {L"C:\\one"}, {}}, {CF_HDROP}},
        {"only empty names", {std::nullopt, {L""}, {}}, {}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IDataObject> data = MakeDataObject(c.payload);
        ASSERT_TRUE(data);
        EXPECT_THAT(EnumeratedFormats(data.get()), UnorderedElementsAreArray(c.formats));
        for (CLIPFORMAT format : {CF_UNICODETEXT, CF_TEXT, CF_HDROP, CF_DIB, CF_BITMAP, CF_DIBV5}) {
            const bool offered =
                std::find(c.formats.begin(), c.formats.end(), format) != c.formats.end();
            FORMATETC several = Format(format, TYMED_HGLOBAL | TYMED_ISTREAM);
            EXPECT_EQ(data->QueryGetData(&several), offered ? S_OK : DV_E_FORMATETC) << format;
            StgMedium medium;
            EXPECT_EQ(data->GetData(&several, medium.put()) == S_OK, offered) << format;
            EXPECT_EQ(medium.get().tymed, static_cast<DWORD>(offered ? TYMED_HGLOBAL : TYMED_NULL));
            FORMATETC stream = Format(format, TYMED_ISTREAM);
            EXPECT_NE(data->QueryGetData(&stream), S_OK) << format;
            FORMATETC icon = Format(format, TYMED_HGLOBAL, DVASPECT_ICON);
            EXPECT_NE(data->QueryGetData(&icon), S_OK) << format;
        }
    }
}

TEST(OleDataObjectTest, EachGetDataHandsOutItsOwnCopy) {
    DragPayload payload;
    payload.text = kUnicode;
    for (int i = 0; i < 100; ++i) payload.dib.push_back(static_cast<unsigned char>(i * 7));
    ComPtr<IDataObject> data = MakeDataObject(payload);
    EXPECT_EQ(GetBytes(data.get(), CF_DIB), payload.dib);
    const Bytes western = {0xDC, 'n', 0xEF, 'c', 0xF8, 'd', 0xE9, ' ', 0x96, ' ', '?', 0};
    if (::GetACP() == 1252) {
        EXPECT_EQ(GetBytes(data.get(), CF_TEXT), western);
    }
    FORMATETC wanted = Format(CF_UNICODETEXT);
    StgMedium first;
    StgMedium second;
    ASSERT_EQ(data->GetData(&wanted, first.put()), S_OK);
    ASSERT_EQ(data->GetData(&wanted, second.put()), S_OK);
    EXPECT_EQ(first.get().pUnkForRelease, nullptr) << "the receiver owns the block";
    ASSERT_NE(first.global(), second.global());
    first.reset();
    EXPECT_EQ(ContentOf(second.global()), WideBytes(kUnicode));
}

TEST(OleDataObjectTest, FilesComeBackAsAWideDropListWithoutEmptyNames) {
    DragPayload payload;
    payload.files = {L"", L"C:\\first file.txt", L"", L"D:\\second\\b.png"};
    ComPtr<IDataObject> data = MakeDataObject(payload);
    FORMATETC wanted = Format(CF_HDROP);
    StgMedium medium;
    ASSERT_EQ(data->GetData(&wanted, medium.put()), S_OK);
    const Bytes block = ContentOf(medium.global());
    ASSERT_GE(block.size(), sizeof(DROPFILES) + 4);
    EXPECT_EQ(Bytes(block.end() - 4, block.end()), Bytes(4, 0))
        << "the last name's NUL, the list's";
    HDROP drop = static_cast<HDROP>(medium.global());
    ASSERT_EQ(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    for (UINT i = 0; i < 2; ++i) {
        wchar_t name[MAX_PATH] = {};
        ::DragQueryFileW(drop, i, name, MAX_PATH);
        EXPECT_EQ(std::wstring(name), payload.files[2 * i + 1]);
    }
    const DropContent dropped = ReadDropped(data.get());
    EXPECT_TRUE(dropped.hasFiles);
    EXPECT_EQ(dropped.firstFile, L"C:\\first file.txt");
    EXPECT_FALSE(dropped.text);
}

// ---- reading a drop --------------------------------------------------------

// A block cut down from a larger one of 'x's keeps the old bytes just past
// its new end, where a reader that ignores the size finds them.
UniqueGlobal ShrunkBlock(size_t size) {
    UniqueGlobal block = GlobalCopy(std::string(4096, 'x').data(), 4096);
    HGLOBAL smaller = ::GlobalReAlloc(block.get(), size, GMEM_MOVEABLE);
    if (!smaller) return {};
    block.release();
    block.reset(smaller);
    return block;
}

Bytes ListAt(Bytes block, DWORD pFiles) {
    std::memcpy(block.data(), &pFiles, sizeof pFiles);  // the header's first field
    return block;
}

TEST(OleReadDroppedTest, ReadsWhatOtherProgramsOfferAndNothingPastIt) {
    struct Offered {
        CLIPFORMAT format;
        Bytes bytes;
        size_t shrunkTo = 0;
        DWORD tymed = TYMED_HGLOBAL;
    };
    struct Case {
        const char* name;
        std::vector<Offered> offers;
        std::wstring firstFile;  // empty: no files
        std::optional<std::wstring> text;
        bool western = false;  // the expectation holds in code page 1252
    };
    const Bytes wide = DropFilesBlock({"C:\\x"}, true);
    const Bytes narrow = DropFilesBlock({"C:\\x"}, false);
    const auto cut = [](const Bytes& bytes, size_t size) {
        return Bytes(bytes.begin(), bytes.begin() + size);
    };
    const Case cases[] = {
        {"ansi list",
         {{CF_HDROP, DropFilesBlock({"C:\\one.txt", "C:\\two.txt"}, false)}},
         L"C:\\one.txt",
         std::nullopt},
        {"wide list and text",
         {{CF_HDROP, DropFilesBlock({"E:\\pics\\cat.jpg"}, true)},
          {CF_UNICODETEXT, WideBytes(L"t")}},
         L"E:\\pics\\cat.jpg",
         L"t"},
        {"empty list", {{CF_HDROP, DropFilesBlock({}, true)}}, L"", std::nullopt},
        {"ansi list without its NULs", {{CF_HDROP, cut(narrow, narrow.size() - 2)}}, L"", {}},
        {"wide list cut inside its NUL", {{CF_HDROP, cut(wide, wide.size() - 3)}}, L"", {}},
        {"list past the block",
         {{CF_HDROP, ListAt(wide, static_cast<DWORD>(wide.size()))}},
         L"",
         {}},
        {"list inside the header", {{CF_HDROP, ListAt(wide, 4)}}, L"", {}},
        {"header alone", {{CF_HDROP, cut(wide, sizeof(DROPFILES))}}, L"", {}},
        {"header cut short", {{CF_HDROP, cut(wide, sizeof(DROPFILES) - 1)}}, L"", {}},
        {"unicode preferred",
         {{CF_UNICODETEXT, WideBytes(L"wide \u2713")},
          {CF_TEXT, {'n', 'a', 'r', 'r', 'o', 'w', 0}}},
         L"",
         L"wide \u2713"},
        {"ansi from the code page",
         {{CF_TEXT, {'c', 'a', 'f', 0xE9, ' ', 0x80, 0}}},
         L"",
         L"caf\u00E9 \u20AC",
         true},
        {"ansi to its first NUL", {{CF_TEXT, {'a', 'b', 'c', 0, 'd', 'e', 'f', 0}}}, L"", L"abc"},
        {"unicode to its first NUL",
         {{CF_UNICODETEXT, WideBytes(std::wstring(L"left\0right", 10))}},
         L"",
         L"left"},
        {"ansi to the block end", {{CF_TEXT, {}, 5}}, L"", L"xxxxx"},
        {"unicode to the block end, odd size",
         {{CF_UNICODETEXT, {}, 7}},
         L"",
         std::wstring(3, static_cast<wchar_t>(0x7878))},
        {"a bitmap only", {{CF_BITMAP, {}, 0, TYMED_GDI}}, L"", std::nullopt},
    };
    for (const Case& c : cases) {
        if (c.western && ::GetACP() != 1252) continue;
        SCOPED_TRACE(c.name);
        FakeDataObject data;
        for (const Offered& offer : c.offers) {
            UniqueGlobal block = offer.shrunkTo ? ShrunkBlock(offer.shrunkTo)
                                 : offer.tymed == TYMED_HGLOBAL
                                     ? GlobalCopy(offer.bytes.data(), offer.bytes.size())
                                     : UniqueGlobal();
            ASSERT_EQ(::GlobalSize(block.get()),
                      offer.shrunkTo ? offer.shrunkTo : offer.bytes.size());
            data.Offer(offer.format, std::move(block), offer.tymed);
        }
        const DropContent dropped = ReadDropped(&data);
        EXPECT_EQ(dropped.hasFiles, !c.firstFile.empty());
        EXPECT_EQ(dropped.firstFile, c.firstFile);
        EXPECT_EQ(dropped.text, c.text);
        EXPECT_EQ(data.outstanding(), 0) << "every medium is released";
    }
    EXPECT_FALSE(ReadDropped(nullptr).text);
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

constexpr DWORD kAnyEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// Each case dragged over a new target of its kinds and dropped on it; the
// effect is what the target answers, and whether it takes the drop.
TEST(OleSlotDropTargetTest, TakesTextOrFilesAsACopyAndAFilesTargetFileListsAlone) {
    DragPayload files;
    files.files = {L"C:\\f"};
    DragPayload both = files;
    both.text = L"C:\\f";
    DragPayload picture;
    picture.dib = Bytes(60, 0);
    const ComPtr<IDataObject> text = TextData(L"t");
    const ComPtr<IDataObject> fileData = MakeDataObject(files);
    const ComPtr<IDataObject> bothData = MakeDataObject(both);
    const ComPtr<IDataObject> pictureData = MakeDataObject(picture);
    FakeDataObject ansi;
    ansi.Offer(CF_TEXT, GlobalCopy("a", 2));
    FakeDataObject bitmap;
    bitmap.Offer(CF_BITMAP, UniqueGlobal(), TYMED_GDI);
    constexpr DropKinds kAny = DropKinds::kFilesOrText, kFiles = DropKinds::kFiles;
    const struct {
        const char* name;
        DropKinds kinds;
        IDataObject* data;
        DWORD allowed, effect;
    } cases[] = {
        {"text", kAny, text.get(), kAnyEffect, DROPEFFECT_COPY},
        {"files", kAny, fileData.get(), kAnyEffect, DROPEFFECT_COPY},
        {"ansi text", kAny, &ansi, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {"a bitmap", kAny, &bitmap, kAnyEffect, DROPEFFECT_NONE},
        {"a picture", kAny, pictureData.get(), kAnyEffect, DROPEFFECT_NONE},
        {"move only", kAny, text.get(), DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {"link or move", kAny, text.get(), DROPEFFECT_LINK | DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {"no data", kAny, nullptr, kAnyEffect, DROPEFFECT_NONE},
        // A picture slot's target: text, however it comes, is no picture.
        {"files target: files and text", kFiles, bothData.get(), kAnyEffect, DROPEFFECT_COPY},
        {"files target: text", kFiles, text.get(), kAnyEffect, DROPEFFECT_NONE},
        {"files target: ansi text", kFiles, &ansi, DROPEFFECT_COPY, DROPEFFECT_NONE},
        {"files target: files to move", kFiles, bothData.get(), DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {"files target: no data", kFiles, nullptr, kAnyEffect, DROPEFFECT_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        ComPtr<SlotDropTarget> target = SlotDropTarget::Create(recorder.handler(), c.kinds);
        DWORD effect = c.allowed;
        EXPECT_EQ(target->DragEnter(c.data, MK_LBUTTON, POINTL{10, 10}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect);
        effect = c.allowed;
        EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect);
        EXPECT_THAT(recorder.drops, IsEmpty()) << "entering drops nothing";
        effect = c.allowed;
        EXPECT_EQ(target->Drop(c.data, 0, POINTL{}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect);
        EXPECT_EQ(recorder.drops.size(), c.effect == DROPEFFECT_COPY ? 1u : 0u);
    }
}

TEST(OleSlotDropTargetTest, DragLeaveForgetsAndExceptionsAndMissingEffectsAreErrors) {
    ComPtr<SlotDropTarget> target = SlotDropTarget::Create(
        [](const DropContent&) { throw std::runtime_error("slot is busy"); });
    ComPtr<IDataObject> data = TextData(L"t");
    DWORD effect = kAnyEffect;
    EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, POINTL{}, &effect), S_OK);
    EXPECT_EQ(target->DragLeave(), S_OK);
    effect = kAnyEffect;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "left";
    effect = kAnyEffect;
    HRESULT hr = S_OK;
    EXPECT_NO_THROW(hr = target->Drop(data.get(), 0, POINTL{}, &effect));
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragEnter(data.get(), 0, POINTL{}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->DragOver(0, POINTL{}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->Drop(data.get(), 0, POINTL{}, nullptr), E_INVALIDARG);
}

// ---- registration ----------------------------------------------------------

UniqueWindow MakeWindow(DWORD style = WS_POPUP) {
    return UniqueWindow(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"drop here", style, 0, 0, 120,
                                          120, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                          nullptr));
}

ComPtr<IDropTarget> AnyTarget() {
    return SlotDropTarget::Create([](const DropContent&) {});
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
}

TEST(OleDropRegistrationTest, RegistersUntilMovedOnOrDestroyedThenLetsGo) {
    UniqueWindow one = MakeWindow();
    UniqueWindow two = MakeWindow();
    ASSERT_TRUE(one && two);
    ComPtr<IDropTarget> probe = AnyTarget();
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    {
        DropRegistration kept;
        {
            DropRegistration original(one.get(), AnyTarget());
            ASSERT_TRUE(original);
            EXPECT_EQ(original.result(), S_OK);
            kept = std::move(original);
            EXPECT_FALSE(original.registered());
        }
        EXPECT_TRUE(kept.registered());
        EXPECT_EQ(::RegisterDragDrop(one.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);

        kept = DropRegistration(
            two.get(), SlotDropTarget::Create([alive = std::move(alive)](const DropContent&) {}));
        EXPECT_FALSE(watch.expired());
        EXPECT_EQ(::RegisterDragDrop(one.get(), probe.get()), S_OK) << "the first was revoked";
        EXPECT_EQ(::RevokeDragDrop(one.get()), S_OK);
        EXPECT_EQ(::RegisterDragDrop(two.get(), probe.get()), DRAGDROP_E_ALREADYREGISTERED);
    }
    EXPECT_TRUE(watch.expired()) << "every reference to the target was released";
    EXPECT_EQ(::RegisterDragDrop(two.get(), probe.get()), S_OK) << "revoked when destroyed";
    EXPECT_EQ(::RevokeDragDrop(two.get()), S_OK);
    EXPECT_FALSE(DropRegistration(nullptr, AnyTarget()).registered());
}

// ---- dragging out ----------------------------------------------------------

TEST(OleDropSourceTest, EscapeCancelsAndReleasingDrops) {
    ComPtr<IDropSource> source = MakeCopyDropSource();
    ASSERT_TRUE(source);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON | MK_SHIFT | MK_CONTROL), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_RBUTTON), DRAGDROP_S_DROP);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, 0), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_EQ(RunCopyDrag(nullptr), 0u);
}

// With no button held, DoDragDrop drops at once onto whatever is under the
// cursor, which lets a whole drag run without a mouse.
class OleWholeDragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = MakeWindow(WS_POPUP | WS_VISIBLE | SS_NOTIFY);  // hit-testable
        ASSERT_TRUE(window_) << "CreateWindowExW failed: " << ::GetLastError();
        ::SetWindowPos(window_.get(), HWND_TOPMOST, 200, 200, 120, 120, SWP_SHOWWINDOW);
        ::UpdateWindow(window_.get());
        ASSERT_TRUE(::SetCursorPos(260, 260));
        // The window must be under the cursor, once the system has placed both.
        ASSERT_TRUE(PumpUntil([&] {
            POINT at{};
            return ::GetCursorPos(&at) && ::WindowFromPoint(at) == window_.get();
        }));
        ASSERT_EQ(::GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0) << "nothing may hold the button";
    }

    // Handles this thread's messages until `done` holds; false after 5 s.
    static bool PumpUntil(const std::function<bool()>& done) {
        for (int round = 0; round < 250 && !done(); ++round) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return done();
    }

    UniqueWindow window_;
    Recorder recorder_;
};

TEST_F(OleWholeDragTest, DropsOntoASlotAsACopyOrWithNoEffectWhenNoTargetTakesIt) {
    EXPECT_EQ(RunCopyDrag(TextData(L"t").get()), 0u) << "no target";
    DropRegistration registration(window_.get(), SlotDropTarget::Create(recorder_.handler()));
    ASSERT_TRUE(registration);
    DragPayload picture;
    picture.dib = Bytes(60, 0);
    EXPECT_EQ(RunCopyDrag(MakeDataObject(picture).get()), 0u) << "a refusing target";
    ASSERT_TRUE(::PostMessageW(window_.get(), WM_KEYDOWN, VK_ESCAPE, 1));
    EXPECT_EQ(RunCopyDrag(TextData(L"t").get()), 0u) << "escape";
    EXPECT_THAT(recorder_.drops, IsEmpty());
    EXPECT_EQ(RunCopyDrag(TextData(kUnicode).get()), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(recorder_.drops.size(), 1u);
    EXPECT_EQ(recorder_.drops[0].text, kUnicode);
}

// ---- packed DIBs -----------------------------------------------------------

// A packed DIB: the header and then the given bytes.
Bytes Dib(LONG width, LONG height, WORD bitCount, const Bytes& rest, DWORD compression = BI_RGB,
          DWORD coloursUsed = 0, DWORD imageSize = 0) {
    const BITMAPINFOHEADER header{sizeof header, width, height, 1,           bitCount, compression,
                                  imageSize,     0,     0,      coloursUsed, 0};
    Bytes dib(sizeof header + rest.size());
    std::memcpy(dib.data(), &header, sizeof header);
    std::copy(rest.begin(), rest.end(), dib.begin() + sizeof header);
    return dib;
}

BITMAPINFOHEADER HeaderOf(const Bytes& dib) {
    BITMAPINFOHEADER header{};
    if (dib.size() >= sizeof header) std::memcpy(&header, dib.data(), sizeof header);
    return header;
}

// Three by two, 24 bits, bottom-up: the lower row first, each padded to 12 bytes.
const Bytes kRows24 = {30, 20, 10,  255, 255, 255, 3,   2, 1, 0, 0, 0,
                       0,  0,  255, 0,   255, 0,   255, 0, 0, 0, 0, 0};

// Two colours, 2x2, 8 bits: indices 0 1 / 1 0, the table cut to its two entries.
Bytes PaletteDib() {
    return Dib(2, 2, 8, {50, 60, 70, 0, 200, 210, 220, 0, 1, 0, 0, 0, 0, 1, 0, 0}, BI_RGB, 2);
}

std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int width, int height) {
    UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    SelectObjectScope select(memory.get(), bitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(memory.get(), x, y));
    return pixels;
}

TEST(OlePackedDibTest, RoundTripKeepsThePixelsAndEveryByte) {
    UniqueBitmap bitmap = BitmapFromPackedDib(Dib(3, 2, 24, kRows24));
    ASSERT_TRUE(bitmap);
    EXPECT_THAT(PixelsOf(bitmap.get(), 3, 2),
                ElementsAre(RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(10, 20, 30),
                            RGB(255, 255, 255), RGB(1, 2, 3)));
    EXPECT_EQ(PackedDibOf(bitmap.get()), Dib(3, 2, 24, kRows24, BI_RGB, 0, 24));
}

TEST(OlePackedDibTest, TopDown32BitBitmapsComeOutBottomUp) {
    const Bytes top = {1, 2, 3, 0, 4, 5, 6, 0};
    const Bytes bottom = {7, 8, 9, 0, 10, 11, 12, 0};
    Bytes rows = top;
    rows.insert(rows.end(), bottom.begin(), bottom.end());
    UniqueBitmap bitmap = BitmapFromPackedDib(Dib(2, -2, 32, rows));
    ASSERT_TRUE(bitmap);
    EXPECT_THAT(PixelsOf(bitmap.get(), 2, 2),
                ElementsAre(RGB(3, 2, 1), RGB(6, 5, 4), RGB(9, 8, 7), RGB(12, 11, 10)));
    rows = bottom;
    rows.insert(rows.end(), top.begin(), top.end());
    EXPECT_EQ(PackedDibOf(bitmap.get()), Dib(2, 2, 32, rows, BI_RGB, 0, 16));
}

// A device bitmap has no bits of its own to copy: they come out through GDI.
TEST(OlePackedDibTest, DeviceBitmapsArePacked) {
    UniqueBitmap bitmap;
    {
        WindowDc screen(nullptr);
        ASSERT_TRUE(screen);
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), 4, 3));
    }
    ASSERT_TRUE(bitmap);
    std::vector<COLORREF> expected;
    {
        UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
        SelectObjectScope select(memory.get(), bitmap.get());
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                expected.push_back(RGB(x * 60, y * 100, 200));
                ::SetPixel(memory.get(), x, y, expected.back());
            }
        }
    }
    // Read back at its size, its pixels show the depth and the layout were right.
    const Bytes packed = PackedDibOf(bitmap.get());
    UniqueBitmap back = BitmapFromPackedDib(packed);
    ASSERT_TRUE(back);
    EXPECT_EQ(PixelsOf(back.get(), 4, 3), expected);
}

TEST(OlePackedDibTest, PaletteDibsUseTheirColourTable) {
    UniqueBitmap bitmap = BitmapFromPackedDib(PaletteDib());
    ASSERT_TRUE(bitmap);
    EXPECT_THAT(PixelsOf(bitmap.get(), 2, 2), ElementsAre(RGB(70, 60, 50), RGB(220, 210, 200),
                                                          RGB(220, 210, 200), RGB(70, 60, 50)));
}

TEST(OlePackedDibTest, BitfieldMasksAreHonoured) {
    // 16 bits as 5-6-5 (masks F800, 07E0, 001F); one pixel of pure green and one of pure red.
    UniqueBitmap bitmap = BitmapFromPackedDib(
        Dib(2, 1, 16, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, 0xE0, 0x07, 0x00, 0xF8},
            BI_BITFIELDS));
    ASSERT_TRUE(bitmap);
    const std::vector<COLORREF> seen = PixelsOf(bitmap.get(), 2, 1);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(GetRValue(seen[0]), 0);
    EXPECT_GE(GetGValue(seen[0]), 0xF8);
    EXPECT_GE(GetRValue(seen[1]), 0xF8);
    EXPECT_EQ(GetGValue(seen[1]), 0);
}

TEST(OlePackedDibTest, TruncatedDibsAreRejected) {
    for (const Bytes& dib : {Dib(3, 2, 24, kRows24), PaletteDib()}) {
        ASSERT_TRUE(BitmapFromPackedDib(dib));
        for (size_t cut = 0; cut < dib.size(); ++cut)
            EXPECT_FALSE(BitmapFromPackedDib(Bytes(dib.begin(), dib.begin() + cut))) << cut;
    }
}

TEST(OlePackedDibTest, MalformedHeadersAreRejected) {
    const Bytes good = Dib(3, 2, 24, kRows24);
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
