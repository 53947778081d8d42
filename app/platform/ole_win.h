// OLE drag and drop for the slots: data objects to drag out, a drop target
// to receive with, and packed DIBs shared with the clipboard code.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/handles_win.h"
#include "drop_content.h"

namespace quillet {

// What a slot offers when it is dragged out or copied.
struct DragPayload {
    std::optional<std::wstring> text;
    std::vector<std::wstring> files;
    std::vector<unsigned char> dib;  // packed: BITMAPINFOHEADER, colours, bits
};

// A data object offering text as CF_UNICODETEXT and CF_TEXT (ANSI code
// page), files as CF_HDROP and a picture as CF_DIB, all in HGLOBALs.
ComPtr<IDataObject> MakeDataObject(const DragPayload& payload);

// The drag source's answer to QueryContinueDrag: Escape cancels, releasing
// the left button drops.
HRESULT QueryContinue(bool escapePressed, DWORD keyState);
ComPtr<IDropSource> MakeCopyDropSource();

// Runs a modal drag that only offers to copy; the effect the target chose,
// or DROPEFFECT_NONE when cancelled or refused.
DWORD RunCopyDrag(IDataObject* data);

// The first name of the data's file list and its text, each when offered.
DropContent ReadDropped(IDataObject* data);

// Readers for memory another program filled in: nothing past `bytes` is read.
// Text ends at the first NUL or at the end of the buffer.
std::wstring TextFromBuffer(const void* data, size_t bytes, bool wide);
// The number of names in a DROPFILES block, or nothing when the header or
// the list's closing empty name lies out of bounds.
std::optional<size_t> DropFilesCount(const void* data, size_t bytes);

// Owns a medium filled in by IDataObject::GetData.
class StgMedium {
  public:
    StgMedium() = default;
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;
    StgMedium(StgMedium&& other) noexcept : medium_(other.medium_) { other.medium_ = {}; }
    StgMedium& operator=(StgMedium&& other) noexcept;
    ~StgMedium() { reset(); }

    void reset();
    STGMEDIUM* put() {
        reset();
        return &medium_;
    }
    const STGMEDIUM& get() const { return medium_; }
    // The memory, when the medium is an HGLOBAL.
    HGLOBAL global() const { return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }

  private:
    STGMEDIUM medium_{};
};

// What a drop target takes: a file list, and text too for a text box.
enum class DropKinds { kFilesOrText, kFiles };

// The drop target of a slot, a text box's or a picture's: takes what its
// kind of slot holds, only as a copy, and hands what was dropped to onDrop.
class SlotDropTarget final : public RefCounted<IDropTarget> {
  public:
    using DropHandler = std::function<void(const DropContent&)>;

    // Starts with one reference, which Create hands to its caller.
    explicit SlotDropTarget(DropHandler onDrop, DropKinds kinds = DropKinds::kFilesOrText);
    static ComPtr<SlotDropTarget> Create(DropHandler onDrop,
                                         DropKinds kinds = DropKinds::kFilesOrText);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;

    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL pt, DWORD* effect) noexcept override;
    STDMETHODIMP DragLeave() noexcept override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

  private:
    ~SlotDropTarget() override = default;  // only Release deletes

    DropHandler onDrop_;
    DropKinds kinds_;
    bool acceptable_ = false;  // what DragEnter found, for DragOver
};

// A window registered as a drop target for as long as this lives.
class DropRegistration {
  public:
    DropRegistration() = default;
    DropRegistration(HWND window, ComPtr<IDropTarget> target);
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    DropRegistration(DropRegistration&& other) noexcept;
    DropRegistration& operator=(DropRegistration&& other) noexcept;
    ~DropRegistration() { revoke(); }

    bool registered() const { return registered_; }
    IDropTarget* target() const { return target_.get(); }
    explicit operator bool() const { return registered_; }
    // What RegisterDragDrop answered.
    HRESULT result() const { return result_; }

  private:
    void revoke();

    HWND window_ = nullptr;
    ComPtr<IDropTarget> target_;
    bool registered_ = false;
    HRESULT result_ = E_FAIL;
};

// The bitmap as a bottom-up packed DIB of 32 bits when it has 32, else 24;
// empty when it cannot be read.
std::vector<unsigned char> PackedDibOf(HBITMAP bitmap);
// The same in two steps, for a DIB inside a larger block: its header
// (biSizeImage set), or nothing when the bitmap cannot be read or the DIB and
// `lead` bytes before it would not fit in a DWORD; then the header and the
// pixels into `packed`, which has room for them. False when the pixels could
// not all be read.
std::optional<BITMAPINFOHEADER> PackedDibHeader(HBITMAP bitmap, size_t lead = 0);
bool PackDib(HBITMAP bitmap, const BITMAPINFOHEADER& header, void* packed);
// A DIB section from a packed DIB; empty when the DIB is truncated or of a
// kind not understood.
UniqueBitmap BitmapFromPackedDib(const std::vector<unsigned char>& dib);

}  // namespace quillet
