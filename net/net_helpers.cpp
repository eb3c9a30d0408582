// Network helpers: socket library start-up, name resolution, address texts and NthPos.
#include "net/net_helpers.h"

#include "platform/socket.h"

namespace velmo::net {
namespace {

// Lives from the first use to the end of the process.
struct SocketLibrary {
    bool started = platform::StartSocketLibrary();
    ~SocketLibrary() {
        if (started) platform::StopSocketLibrary();
    }
};

}  // namespace

void UseSocketLibrary() { static SocketLibrary library; }

std::uint32_t ResolveHost(const std::string& name) {
    if (name.empty()) return platform::kNoAddress;
    UseSocketLibrary();
    try {
        std::uint32_t address = platform::ParseDottedAddress(name);
        if (address != platform::kNoAddress) return address;
        return platform::LookUpHostAddress(name).value_or(platform::kNoAddress);
    } catch (...) {
        // The resolver's own failures mean "no address" to every caller.
        return platform::kNoAddress;
    }
}

std::uint32_t LocalAddress() {
    UseSocketLibrary();
    std::optional<std::string> name = platform::LocalHostName();
    std::optional<std::uint32_t> address;
    if (name) address = platform::LookUpHostAddress(*name);
    return address.value_or(platform::ParseDottedAddress("127.0.0.1"));
}

std::string AddressToText(std::uint32_t address) {
    // Network byte order is the order of the bytes in memory.
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

int NthPos(std::string_view sub, std::string_view text, int n) {
    if (n <= 0) return 0;
    std::string_view rest = text;
    int misses = 0;
    for (int i = 0; i < n; ++i) {
        std::size_t at = rest.find(sub);
        if (at == std::string_view::npos) {
            rest = {};
            ++misses;
        } else {
            rest.remove_prefix(at + 1);
        }
    }
    return static_cast<int>(text.size() - rest.size()) + misses;
}

bool SplitHostPort(std::string_view text, std::string& host, std::uint16_t& port) {
    std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos)
        return false;
    std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return false;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    host = std::string(text.substr(0, colon));
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace velmo::net
