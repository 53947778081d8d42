// Owner-drawn parts of the main window: the Copy and Paste buttons' pictures
// and the maker's mark.
#pragma once

#include <windows.h>

namespace quillet {

// Copy and Paste buttons carry a small picture instead of a caption.
void DrawSlotButton(const DRAWITEMSTRUCT& item, bool copy);
// The maker's mark: a quill-coloured square with a white stroke.
void DrawLogo(const DRAWITEMSTRUCT& item);

}  // namespace quillet
