// What a drop on a slot's text box brings, and what a drag from a Copy
// button offers. Read and made by the OLE code, acted on by the slot commands.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet {

struct DropContent {
    bool hasFiles = false;
    std::wstring firstFile;
    std::optional<std::wstring> text;
};

// The only effect a drag offers is copy.
struct DragOffer {
    std::optional<std::wstring> text;
    std::vector<std::wstring> files;
    bool Empty() const { return !text && files.empty(); }
};

}  // namespace quillet
