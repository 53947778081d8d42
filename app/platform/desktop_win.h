// The desktop as the slot commands see it: held keys, the regional date and
// time, the shell, and name resolution over Windows Sockets.
#pragma once

#include <windows.h>

#include "main_view.h"
#include "util/ModuleIP.h"
#include "util/shell_launch.h"

namespace quillet {

class SystemKeys final : public KeyState {
  public:
    bool IsDown(int virtualKey) const override;
};

class SystemClock final : public RegionalClock {
  public:
    std::wstring ShortDate() override;
    std::wstring TimeWithSeconds() override;
    void Wait(int milliseconds) override;
};

// ShellExecuteA with the desktop window as owner.
class DesktopShell final : public Shell {
  public:
    void ShellExec(std::wstring_view operation, std::wstring_view file,
                   std::wstring_view parameters, std::wstring_view directory, int showCmd) override;
};

// Each question opens and closes its own Windows Sockets session, so that
// every path out of it releases the library.
class WinsockResolver final : public HostResolver {
  public:
    std::optional<std::string> HostName() override;
    std::optional<std::vector<std::vector<uint8_t>>> AddressesOf(const std::string& name) override;
};

}  // namespace quillet
