// What a drop on a slot's text box brings: the first name of a file list,
// or text. Read by the OLE drop target, acted on by the slot commands.
#pragma once

#include <optional>
#include <string>

namespace quillet {

struct DropContent {
    bool hasFiles = false;
    std::wstring firstFile;
    std::optional<std::wstring> text;
};

}  // namespace quillet
