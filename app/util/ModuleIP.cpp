// The machine's IP addresses as one line of text.
#include "util/ModuleIP.h"

#include "util/trim.h"

namespace quillet {

std::wstring FormatAddresses(const std::vector<std::vector<uint8_t>>& addresses) {
    std::wstring text;
    for (const std::vector<uint8_t>& address : addresses) {
        if (!text.empty()) text += L", ";
        for (size_t i = 0; i < address.size(); ++i) {
            if (i) text += L'.';
            text += std::to_wstring(address[i]);
        }
    }
    return text;
}

std::wstring GetIPAddress(HostResolver& resolver) {
    std::optional<std::string> name = resolver.HostName();
    if (!name) return {};
    const auto addresses = resolver.AddressesOf(std::string(TrimSpaces(*name)));
    if (!addresses) return {};
    return FormatAddresses(*addresses);
}

std::wstring IPAddressMessage(const std::wstring& addresses) {
    return L"Your current IP Address\r\n" + addresses +
           L"\r\n\r\nThis is also now in your clipboard.";
}

}  // namespace quillet
