// The TCP client component under the FTP and POP3 clients, with their exceptions and trace types.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/base_component.h"
#include "net/memory_stream.h"
#include "platform/socket.h"

namespace velmo::net {

using platform::SocketHandle;

class ETcpIpError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The socket could not be created or connected; ErrorCode is the socket layer's error number.
class ESocketError : public ETcpIpError {
  public:
    explicit ESocketError(std::uint16_t errorCode)
        : ETcpIpError("Error creating socket"), ErrorCode(errorCode) {}
    std::uint16_t ErrorCode;
};

// A reply the protocol does not accept; the message is the reply text.
class EProtocolError : public ETcpIpError {
  public:
    EProtocolError(std::string protocol, std::uint16_t errorCode, const std::string& message)
        : ETcpIpError(message), ErrorCode(errorCode), Protocol(std::move(protocol)) {}
    std::uint16_t ErrorCode;
    std::string Protocol;  // "FTP" or "POP3"
};

// An operation was started while a transfer is running.
class EProtocolBusy : public ETcpIpError {
  public:
    EProtocolBusy() : ETcpIpError("Protocol busy") {}
};

enum TTraceLevel { tl_command, tl_reply, tl_socket };
using TTraceProc = std::function<void(const std::string& s, TTraceLevel level)>;

// Notification messages of the hidden window: the control connection's, and the data
// connection's that the FTP client adds.
constexpr unsigned kControlSocketMessage = 0x0500;  // WM_USER + 256
constexpr unsigned kDataSocketMessage = 0x0501;     // WM_USER + 257
constexpr long FD_READ_EVENT = 1;
constexpr long FD_WRITE_EVENT = 2;
constexpr long FD_ACCEPT_EVENT = 8;
constexpr long FD_CONNECT_EVENT = 16;
constexpr long FD_CLOSE_EVENT = 32;

class T_TcpIp : public T_Base_Component {
  public:
    static constexpr std::size_t kBufferSize = 0x7F00;

    T_TcpIp();
    ~T_TcpIp() override;

    std::unique_ptr<platform::SocketNotifier> Window;
    SocketHandle Socket = platform::kNoSocket;
    std::string Hostname;  // a name or a dotted address, optionally followed by ":port"
    TTraceProc OnTrace;
    std::uint16_t RemotePort = 0;
    std::uint32_t Address = platform::kNoAddress;
    bool Closed = false;
    bool DataArrived = false;
    TMemoryStream Stream;
    std::vector<char> Buffer;
    bool WaitForData = false;
    bool Connected = false;

    // Nothing waits for ever: a connect (and an accept) gives up after ConnectTimeout, and a
    // peer that sends or takes nothing for ReceiveTimeout ends the connection as if it had
    // closed it. Milliseconds; 0 leaves the wait to the system.
    int ConnectTimeout = 30000;
    int ReceiveTimeout = 60000;

    // Messages of the hidden window; nullopt leaves a message to the default processing.
    virtual std::optional<std::intptr_t> WndProc(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam);
    virtual void OpenOutputSocket(SocketHandle& slot, std::uint16_t port, std::uint32_t address);
    virtual void Action();
    virtual void SendCommand(const std::string& text);
    virtual void Login();
    virtual void Logout();
    virtual bool Eof(SocketHandle s);

    SocketHandle CreateSocket();
    // wait false: one connect call, for a socket that reports its completion by notification.
    void ConnectSocket(SocketHandle& slot, std::uint16_t port, std::uint32_t address,
                       bool wait = true);
    void OpenInputSocket(SocketHandle& slot, std::uint16_t& port, std::uint32_t localAddress);
    // wait false: one accept call, for a listening socket that has reported a connection.
    SocketHandle AcceptConnection(SocketHandle listening, unsigned char (&peer)[16],
                                  bool wait = true);
    // 0 no socket, 1 not connected, 2 connected, 3 any other state.
    int SocketState(SocketHandle s);
    void CloseSocket(SocketHandle& slot);
    void ReceiveBuf(SocketHandle s, void* buffer, long& count, long size);
    // True when a whole line came; when the connection ends first, line keeps its value.
    bool ReadLine(SocketHandle s, std::string& line);
    void SendBuf(SocketHandle s, const void* buffer, long& count);
    void SendText(SocketHandle s, const std::string& text);

  protected:
    void Trace(const std::string& s, TTraceLevel level);
    // For the destructor of the most derived class, while its own Logout can still run:
    // nothing is traced any more, and a connection still open is logged out.
    void ShutDownQuietly();
};

}  // namespace velmo::net
