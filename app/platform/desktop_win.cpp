// Held keys, the regional date and time, the shell and Windows Sockets for the slot commands.
#include "platform/desktop_win.h"

#include <shellapi.h>
#include <winsock.h>

#include "base/strings_win.h"
#include "base/system_library_win.h"

namespace quillet {

namespace {

// Windows Sockets, which only the IP address line uses.
struct Winsock {
    SystemLibrary library{L"ws2_32.dll"};
    decltype(&::WSAStartup) startup = library.Function<decltype(&::WSAStartup)>("WSAStartup");
    decltype(&::WSACleanup) cleanup = library.Function<decltype(&::WSACleanup)>("WSACleanup");
    decltype(&::gethostname) hostName = library.Function<decltype(&::gethostname)>("gethostname");
    decltype(&::gethostbyname) hostByName =
        library.Function<decltype(&::gethostbyname)>("gethostbyname");
    bool Loaded() const { return startup && cleanup && hostName && hostByName; }
};

const Winsock& Sockets() {
    static const Winsock winsock;
    return winsock;
}

class WinsockSession {
  public:
    WinsockSession() {
        WSADATA data{};
        started_ = Sockets().Loaded() && Sockets().startup(MAKEWORD(1, 1), &data) == 0;
    }
    ~WinsockSession() {
        if (started_) Sockets().cleanup();
    }
    bool Started() const { return started_; }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

  private:
    bool started_ = false;
};

}  // namespace

bool SystemKeys::IsDown(int virtualKey) const {
    return (static_cast<unsigned short>(::GetKeyState(virtualKey)) & 0x8000) != 0;
}

std::wstring SystemClock::ShortDate() {
    wchar_t buffer[128] = {};
    if (!::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 128,
                           nullptr))
        return {};
    return buffer;
}

std::wstring SystemClock::TimeWithSeconds() {
    wchar_t buffer[128] = {};
    if (!::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buffer, 128)) return {};
    return buffer;
}

void SystemClock::Wait(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

void DesktopShell::ShellExec(std::wstring_view operation, std::wstring_view file,
                             std::wstring_view parameters, std::wstring_view directory,
                             int showCmd) {
    const std::string verb = Narrow(operation), target = Narrow(file);
    const std::string params = Narrow(parameters), folder = Narrow(directory);
    ::ShellExecuteA(::GetDesktopWindow(), verb.c_str(), target.c_str(),
                    params.empty() ? nullptr : params.c_str(),
                    folder.empty() ? nullptr : folder.c_str(), showCmd);
}

std::optional<std::string> WinsockResolver::HostName() {
    WinsockSession session;
    if (!session.Started()) return std::nullopt;
    char name[256] = {};
    if (Sockets().hostName(name, static_cast<int>(sizeof name)) == SOCKET_ERROR)
        return std::nullopt;
    name[sizeof name - 1] = '\0';
    return std::string(name);
}

std::optional<std::vector<std::vector<uint8_t>>> WinsockResolver::AddressesOf(
    const std::string& name) {
    WinsockSession session;
    if (!session.Started()) return std::nullopt;
    // The entry belongs to the library and is good until the session ends.
    const hostent* host = Sockets().hostByName(name.c_str());
    if (!host) return std::nullopt;
    std::vector<std::vector<uint8_t>> addresses;
    const int length = host->h_length > 0 ? host->h_length : 0;
    for (char** entry = host->h_addr_list; entry && *entry; ++entry) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(*entry);
        addresses.emplace_back(bytes, bytes + length);
    }
    return addresses;
}

}  // namespace quillet
