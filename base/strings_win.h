// Conversions at the seam between wide strings and the system's code pages.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillet {

std::wstring Widen(std::string_view bytes, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP);
// Whether Narrow keeps every character: no "?" and no look-alike.
bool Represents(std::wstring_view text, UINT codePage = CP_ACP);

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD error);

}  // namespace quillet
