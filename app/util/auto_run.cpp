// The Auto Run command line.
#include "util/auto_run.h"

namespace quillet {

std::wstring AutoRunCommandLine(std::wstring_view folder, std::wstring_view exeName) {
    std::wstring path(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return L"\"" + path + std::wstring(exeName) + L"\"";
}

}  // namespace quillet
