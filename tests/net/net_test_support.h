// Shared by the network suites: trace recorder, scripted loopback peer, real-server settings.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "net/tcpip.h"
#include "platform/socket.h"

namespace velmo::net::testing {

// Every trace call of a component, in order.
struct TraceLog {
    std::vector<std::pair<std::string, TTraceLevel>> lines;
    TTraceProc Proc() {
        return [this](const std::string& s, TTraceLevel level) { lines.emplace_back(s, level); };
    }
    // The texts at the given levels only.
    std::vector<std::string> At(std::initializer_list<TTraceLevel> levels) const;
    // Command and reply lines, as the run log shows them.
    std::vector<std::string> Dialogue() const { return At({tl_command, tl_reply}); }
    std::vector<std::string> Sockets() const { return At({tl_socket}); }
};

std::string Id(platform::SocketHandle s);

// The far side of one connection of a ScriptServer, used from the server's thread.
class ScriptPeer {
  public:
    explicit ScriptPeer(platform::SocketHandle s) : socket_(s) {}
    void Send(std::string_view bytes);
    // One line without its CR LF; empty when the client closed or went quiet for 10 s.
    std::string ReadLine();
    // Everything until the client closes.
    std::string ReadAll();
    void Pause(int ms);
    void Close();
    // A listener for one data connection: the "h1,h2,h3,h4,p1,p2" text of its address.
    std::string OpenDataListener();
    // The data connection a client made to that listener.
    ScriptPeer AcceptData();
    // A data connection to an address that a client announced with PORT.
    static ScriptPeer ConnectTo(const std::string& portArguments);

  private:
    platform::SocketHandle socket_;
    platform::SocketHandle listener_ = platform::kNoSocket;
};

// A TCP peer on 127.0.0.1 that accepts one connection and plays a script on it in a thread.
class ScriptServer {
  public:
    explicit ScriptServer(std::function<void(ScriptPeer&)> script);
    ~ScriptServer();
    std::uint16_t Port() const { return port_; }
    // "127.0.0.1:port", as a server text with a port.
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    // Waits for the script to end.
    void Join();

  private:
    platform::SocketHandle listener_ = platform::kNoSocket;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

// The real servers' ports and accounts, from the file that tools/servers writes.
// Empty when the servers are not running.
const std::map<std::string, std::string>& ServersEnv();
// One value; the test fails when it is missing.
std::string Env(const std::string& key);
// A path of the servers' folders as the program spells it ("\" separated; Z: under Windows).
std::string ServerPath(const std::string& unixPath);

}  // namespace velmo::net::testing
