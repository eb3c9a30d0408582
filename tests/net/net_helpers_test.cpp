// Network helpers: NthPos, address texts, name resolution, host:port server texts.
#include "net/net_helpers.h"

#include <gtest/gtest.h>

#include "platform/socket.h"

namespace velmo::net {
namespace {

TEST(NetHelpers, NthPos) {
    struct Case {
        const char* sub;
        const char* text;
        int n;
        int pos;
    } cases[] = {
        {",", "192,168,0,10,19,137", 4, 13},
        {",", "192,168,0,10,19,137", 1, 4},
        {",", "1,2,3", 4, 7},  // two commas: length 5 plus two misses
        {"aa", "aaaa", 2, 2},  // matches overlap
        {",", "abc", 1, 4},
        {",", "a,b", 0, 0},
        {",", "", 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NthPos(c.sub, c.text, c.n), c.pos) << c.sub << " in " << c.text << " #" << c.n;
}

TEST(NetHelpers, AddressesAndNames) {
    const std::uint32_t loopback = ResolveHost("127.0.0.1");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&loopback);
    EXPECT_EQ(bytes[0], 127);  // network byte order: first octet first in memory
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(AddressToText(loopback), "127.0.0.1");
    EXPECT_EQ(AddressToText(ResolveHost("10.20.30.40")), "10.20.30.40");
    EXPECT_EQ(ResolveHost("localhost"), loopback);
    EXPECT_EQ(ResolveHost(""), platform::kNoAddress);
    EXPECT_EQ(ResolveHost("no-such-host.invalid"), platform::kNoAddress);
    // The all-ones address is the parser's failure value, so it is looked up as a name.
    EXPECT_EQ(ResolveHost("255.255.255.255"), platform::kNoAddress);
    EXPECT_NE(LocalAddress(), platform::kNoAddress);
}

TEST(NetHelpers, HostPortServerTexts) {
    struct Case {
        const char* text;
        bool split;
        const char* host;
        std::uint16_t port;
    } cases[] = {
        {"ftp.example.jp:2121", true, "ftp.example.jp", 2121},
        {"127.0.0.1:65535", true, "127.0.0.1", 65535},
        {"ftp.example.jp", false, "", 0},
        {"host:0", false, "", 0},
        {"host:65536", false, "", 0},
        {"host:", false, "", 0},
        {"host:21x", false, "", 0},
        {"a:1:2", false, "", 0},
        {"::1", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host;
        std::uint16_t port = 0;
        EXPECT_EQ(SplitHostPort(c.text, host, port), c.split) << c.text;
        EXPECT_EQ(host, c.host) << c.text;
        EXPECT_EQ(port, c.port) << c.text;
    }
}

}  // namespace
}  // namespace velmo::net
