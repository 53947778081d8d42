// Starting the program with Windows: the Run key's value and its command line.
#pragma once

#include <string>
#include <string_view>

#include "store/filesystem.h"

namespace quillet {

inline constexpr std::wstring_view kAutoRunValue = L"Quillet_Pro";
inline constexpr std::wstring_view kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The quoted program path; a folder that ends in a backslash (a drive root)
// gets no second one.
std::wstring AutoRunCommandLine(std::wstring_view folder, std::wstring_view exeName);

// The Run key's value for all users (the machine) or for this user alone.
class AutoRunEntries {
  public:
    virtual ~AutoRunEntries() = default;
    enum class Scope { kMachine, kUser };
    virtual IoResult Set(Scope scope, std::wstring_view commandLine) = 0;
    // Success too when there was no such value.
    virtual IoResult Remove(Scope scope) = 0;
};

}  // namespace quillet
