// Network helpers under the protocol components: socket library start-up, addresses, NthPos.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmo::net {

// Starts the socket library for the whole process on first use and stops it at exit.
void UseSocketLibrary();

// The IPv4 address (network byte order) of a dotted address or a host name; -1 (all bits set)
// when the name is empty or has none. 255.255.255.255 parses to that same value, so it is
// looked up as a name.
std::uint32_t ResolveHost(const std::string& name);
// The first address of this machine's own host name; 127.0.0.1 when that name has none.
std::uint32_t LocalAddress();
// Dotted decimal, first octet on the wire first.
std::string AddressToText(std::uint32_t address);
// The 1-based position of the n-th occurrence of sub in text; each search resumes one character
// after the previous match, so matches may overlap. Missing occurrences count past the end.
int NthPos(std::string_view sub, std::string_view text, int n);

// A server text "host:port" names another port than the protocol's own; true when the text has
// that form (a port of 1 to 65535 after the only colon), with host and port set from it.
bool SplitHostPort(std::string_view text, std::string& host, std::uint16_t& port);

}  // namespace velmo::net
