// The machine's own IP addresses as one line of text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

// Name resolution of the machine's own host name.
class HostResolver {
  public:
    virtual ~HostResolver() = default;
    // The host name, or nothing when the system cannot tell it.
    virtual std::optional<std::string> HostName() = 0;
    // Every address of `name` in the resolver's order, or nothing when the
    // name does not resolve.
    virtual std::optional<std::vector<std::vector<uint8_t>>> AddressesOf(
        const std::string& name) = 0;
};

// "192.168.0.5, 10.0.0.2": bytes in decimal joined by ".", addresses by ", ".
std::wstring FormatAddresses(const std::vector<std::vector<uint8_t>>& addresses);

// The line above for this machine; empty when no address could be found.
std::wstring GetIPAddress(HostResolver& resolver);

// What the IP command shows once the line is on the clipboard.
std::wstring IPAddressMessage(const std::wstring& addresses);

}  // namespace quillet
