// TCP sockets: Winsock 1.1 on Windows, BSD sockets elsewhere, errors reported as Winsock numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace velmo::platform {

// A socket as the components keep it: -1 when there is none. Addresses are IPv4 in network
// byte order, with all bits set meaning "no address" (the value inet_addr fails with).
using SocketHandle = std::intptr_t;
constexpr SocketHandle kNoSocket = -1;
constexpr std::uint32_t kNoAddress = 0xFFFFFFFFu;

// The Winsock error numbers, reported on every platform so that the components see one set.
namespace socket_error {
constexpr int kInterrupted = 10004;
constexpr int kAccessDenied = 10013;
constexpr int kInvalidArgument = 10022;
constexpr int kWouldBlock = 10035;
constexpr int kInProgress = 10036;
constexpr int kNotSocket = 10038;
constexpr int kAddressInUse = 10048;
constexpr int kAddressNotAvailable = 10049;
constexpr int kNetworkUnreachable = 10051;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNotConnected = 10057;
constexpr int kShutDown = 10058;
constexpr int kTimedOut = 10060;
constexpr int kConnectionRefused = 10061;
constexpr int kHostUnreachable = 10065;
constexpr int kNotInitialised = 10093;
}  // namespace socket_error

// Starts the socket library asking for version 1.1. True when it must be stopped again,
// which is every outcome except the three refusals (10022, 10091, 10092).
bool StartSocketLibrary();
void StopSocketLibrary();

// The error number of the last failed call on this thread.
int LastSocketError();

SocketHandle OpenStreamSocket();
void CloseSocketHandle(SocketHandle s);
void ShutdownSending(SocketHandle s);

// 0 when connected, else the error number. With a time-out above 0 the connect gives up after
// that many milliseconds (kTimedOut); with 0 it is one plain call, so a socket that delivers
// notifications answers kWouldBlock and completes later.
int ConnectSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port, int timeoutMs);

bool BindSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port);
bool ListenOnSocket(SocketHandle s, int backlog);
std::optional<std::uint16_t> SocketLocalPort(SocketHandle s);
// The local address a connected socket uses.
std::optional<std::uint32_t> SocketLocalAddress(SocketHandle s);

// One incoming connection; kNoSocket when none came within the time-out (0: one plain call).
// peer receives the 16-byte address record of the other side.
SocketHandle AcceptOnSocket(SocketHandle s, unsigned char (&peer)[16], int timeoutMs);

// 0 when the socket has a connected peer, else the error number (kNotConnected when it has none).
int PeerState(SocketHandle s);

// Bytes received, 0 when the peer closed, -1 on a failure. With a time-out above 0 a peer that
// sends nothing for that long fails the call with kTimedOut; with 0 it is one plain call.
long ReceiveFrom(SocketHandle s, void* buffer, std::size_t size, int timeoutMs);
// Bytes accepted, or -1. A peer that takes nothing for timeoutMs (above 0) ends the call.
long SendTo(SocketHandle s, const void* data, std::size_t size, int timeoutMs);

// inet_addr: a dotted address, or kNoAddress (which 255.255.255.255 also parses to).
std::uint32_t ParseDottedAddress(const std::string& text);
// The first IPv4 address the system's resolver gives for a name; nullopt when it has none.
std::optional<std::uint32_t> LookUpHostAddress(const std::string& name);
// The machine's own host name.
std::optional<std::string> LocalHostName();

// A hidden window that receives socket notifications as messages (Windows). Where the OS has no
// such thing, Available() is false and the components run their transfers in blocking mode.
class SocketNotifier {
  public:
    // Gets every message of the window; nullopt lets the system's default processing have it.
    using Handler = std::function<std::optional<std::intptr_t>(
        unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

    explicit SocketNotifier(Handler handler);
    ~SocketNotifier();
    SocketNotifier(const SocketNotifier&) = delete;
    SocketNotifier& operator=(const SocketNotifier&) = delete;

    bool Available() const;
    // Asks for `message` on the events in mask (FD_READ 1, FD_WRITE 2, FD_ACCEPT 8, FD_CONNECT
    // 16, FD_CLOSE 32); the socket is then non-blocking. A mask of 0 ends the notifications and
    // makes the socket blocking again.
    bool Select(SocketHandle s, unsigned message, long events);
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Delivers a message to the handler at once, as the window would.
    std::optional<std::intptr_t> Deliver(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam);

  private:
    Handler handler_;
    void* window_ = nullptr;
};

// Processes the application's pending messages until `flag` becomes true; false when timeoutMs
// passed without it. Without a message queue it only looks at the flag.
bool PumpMessagesUntil(const bool& flag, int timeoutMs);

}  // namespace velmo::platform
