// The Run keys of the registry through cRegistry, which writes a program
// folder outside the code page as it is.
#pragma once

#include "util/auto_run.h"

namespace quillet {

class RegistryAutoRun final : public AutoRunEntries {
  public:
    IoResult Set(Scope scope, std::wstring_view commandLine) override;
    IoResult Remove(Scope scope) override;
};

}  // namespace quillet
