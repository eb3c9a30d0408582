// Shared by the network suites: trace recorder, scripted loopback peer, real-server settings.
#include "tests/net/net_test_support.h"

#include <gtest/gtest.h>

// <chrono> itself cannot be compiled for CP932 literals (its "µs" suffix); <thread> brings
// the clocks and durations.
#include <cstdlib>
#include <optional>
#include <thread>

#include "net/net_helpers.h"
#include "platform/files.h"

namespace velmo::net::testing {
namespace {

constexpr int kPeerTimeoutMs = 10000;

// tools/servers writes build/servers/env in the source tree; VELMO_SERVERS_ENV may name another.
std::string ServersEnvPath() {
    const char* path = std::getenv("VELMO_SERVERS_ENV");
    return path ? path : VELMO_SOURCE_DIR "/build/servers/env";
}

platform::SocketHandle Listen(std::uint16_t& port) {
    UseSocketLibrary();
    platform::SocketHandle s = platform::OpenStreamSocket();
    std::uint32_t loopback = platform::ParseDottedAddress("127.0.0.1");
    if (s == platform::kNoSocket || !platform::BindSocketTo(s, loopback, 0) ||
        !platform::ListenOnSocket(s, 4)) {
        ADD_FAILURE() << "cannot listen on 127.0.0.1";
        return platform::kNoSocket;
    }
    port = platform::SocketLocalPort(s).value_or(0);
    return s;
}

}  // namespace

std::vector<std::string> TraceLog::At(std::initializer_list<TTraceLevel> levels) const {
    std::vector<std::string> out;
    for (const auto& [text, level] : lines)
        for (TTraceLevel wanted : levels)
            if (level == wanted) out.push_back(text);
    return out;
}

std::string Id(platform::SocketHandle s) { return std::to_string(s); }

void ScriptPeer::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        long n = platform::SendTo(socket_, bytes.data(), bytes.size(), kPeerTimeoutMs);
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string ScriptPeer::ReadLine() {
    std::string line;
    char c;
    while (platform::ReceiveFrom(socket_, &c, 1, kPeerTimeoutMs) == 1) {
        if (c == '\n') break;
        if (c != '\r') line += c;
    }
    return line;
}

std::string ScriptPeer::ReadAll() {
    std::string all;
    char buffer[4096];
    long n;
    while ((n = platform::ReceiveFrom(socket_, buffer, sizeof buffer, kPeerTimeoutMs)) > 0)
        all.append(buffer, static_cast<std::size_t>(n));
    return all;
}

void ScriptPeer::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void ScriptPeer::Close() {
    platform::CloseSocketHandle(socket_);
    socket_ = platform::kNoSocket;
    platform::CloseSocketHandle(listener_);
    listener_ = platform::kNoSocket;
}

std::string ScriptPeer::OpenDataListener() {
    std::uint16_t port = 0;
    listener_ = Listen(port);
    return "127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256);
}

ScriptPeer ScriptPeer::AcceptData() {
    unsigned char peer[16];
    ScriptPeer data(platform::AcceptOnSocket(listener_, peer, kPeerTimeoutMs));
    platform::CloseSocketHandle(listener_);
    listener_ = platform::kNoSocket;
    return data;
}

ScriptPeer ScriptPeer::ConnectTo(const std::string& portArguments) {
    std::vector<int> n;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = portArguments.find(',', start);
        n.push_back(std::atoi(portArguments.substr(start, comma - start).c_str()));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (n.size() != 6) return ScriptPeer(platform::kNoSocket);
    std::string host = std::to_string(n[0]) + "." + std::to_string(n[1]) + "." +
                       std::to_string(n[2]) + "." + std::to_string(n[3]);
    platform::SocketHandle s = platform::OpenStreamSocket();
    platform::ConnectSocketTo(s, platform::ParseDottedAddress(host),
                              static_cast<std::uint16_t>(n[4] * 256 + n[5]), kPeerTimeoutMs);
    return ScriptPeer(s);
}

ScriptServer::ScriptServer(std::function<void(ScriptPeer&)> script) {
    listener_ = Listen(port_);
    thread_ = std::thread([this, script = std::move(script)] {
        unsigned char peer[16];
        platform::SocketHandle s = platform::AcceptOnSocket(listener_, peer, kPeerTimeoutMs);
        if (s == platform::kNoSocket) return;
        ScriptPeer connection(s);
        script(connection);
        connection.Close();
    });
}

ScriptServer::~ScriptServer() {
    Join();
    platform::CloseSocketHandle(listener_);
}

void ScriptServer::Join() {
    if (thread_.joinable()) thread_.join();
}

const std::map<std::string, std::string>& ServersEnv() {
    static const std::map<std::string, std::string> values = [] {
        std::map<std::string, std::string> out;
        std::optional<std::string> text = platform::ReadWholeFile(ServerPath(ServersEnvPath()));
        if (!text) return out;
        std::size_t start = 0;
        while (start < text->size()) {
            std::size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            std::string line = text->substr(start, end - start);
            start = end + 1;
            std::size_t eq = line.find('=');
            if (eq == std::string::npos || line[0] == '#') continue;
            std::string value = line.substr(eq + 1);
            if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
                value = value.substr(1, value.size() - 2);
            out[line.substr(0, eq)] = value;
        }
        return out;
    }();
    return values;
}

std::string Env(const std::string& key) {
    auto it = ServersEnv().find(key);
    if (it == ServersEnv().end()) {
        ADD_FAILURE() << key << " missing from " << ServersEnvPath() << ": run tools/servers start";
        return {};
    }
    return it->second;
}

std::string ServerPath(const std::string& unixPath) {
    std::string path = unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
#ifdef _WIN32
    // Wine shows the Unix root as drive Z:.
    if (!path.empty() && path[0] == '\\') path = "Z:" + path;
#endif
    return path;
}

}  // namespace velmo::net::testing
