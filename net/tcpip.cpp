// The TCP client component: connection, line and buffer I/O, socket traces.
#include "net/tcpip.h"

#include "net/net_helpers.h"

namespace velmo::net {
namespace {

std::string Id(SocketHandle s) { return std::to_string(s); }
std::string PortText(std::uint16_t port) { return std::to_string(port); }

}  // namespace

T_TcpIp::T_TcpIp() : Buffer(kBufferSize) {
    UseSocketLibrary();
    Window = std::make_unique<platform::SocketNotifier>(
        [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            return WndProc(message, wParam, lParam);
        });
}

T_TcpIp::~T_TcpIp() { ShutDownQuietly(); }

void T_TcpIp::ShutDownQuietly() {
    OnTrace = nullptr;
    if (Socket == platform::kNoSocket && !Connected) return;
    try {
        Logout();
    } catch (...) {
        // A peer that answers the farewell badly cannot stop the component from going away.
    }
}

void T_TcpIp::Trace(const std::string& s, TTraceLevel level) {
    if (OnTrace) OnTrace(s, level);
}

std::optional<std::intptr_t> T_TcpIp::WndProc(unsigned message, std::uintptr_t,
                                              std::intptr_t lParam) {
    constexpr unsigned kQueryEndSession = 0x0011;
    if (message == kControlSocketMessage) {
        if ((lParam & 0xFFFF) == FD_READ_EVENT) DataArrived = true;
        return 0;
    }
    // Never keep Windows from logging off or shutting down.
    if (message == kQueryEndSession) return 1;
    return std::nullopt;
}

SocketHandle T_TcpIp::CreateSocket() { return platform::OpenStreamSocket(); }

void T_TcpIp::ConnectSocket(SocketHandle& slot, std::uint16_t port, std::uint32_t address,
                            bool wait) {
    int error = platform::ConnectSocketTo(slot, address, port, wait ? ConnectTimeout : 0);
    if (error == 0) {
        Trace("Opened output socket " + PortText(port) + " to host " + AddressToText(address) +
                  " successfully; ID " + Id(slot),
              tl_socket);
    } else if (error != platform::socket_error::kWouldBlock) {
        CloseSocket(slot);
        Trace(
            "Failed to open output socket " + PortText(port) + " to host " + AddressToText(address),
            tl_socket);
    }
}

void T_TcpIp::OpenOutputSocket(SocketHandle& slot, std::uint16_t port, std::uint32_t address) {
    CloseSocket(slot);
    slot = CreateSocket();
    ConnectSocket(slot, port, address);
}

void T_TcpIp::OpenInputSocket(SocketHandle& slot, std::uint16_t& port, std::uint32_t localAddress) {
    CloseSocket(slot);
    slot = CreateSocket();
    const std::string local = AddressToText(localAddress);
    if (slot == platform::kNoSocket || !platform::BindSocketTo(slot, localAddress, port)) {
        Trace("Failed to bind socket " + PortText(port) + " for local ip " + local, tl_socket);
        CloseSocket(slot);
        return;
    }
    Trace("Bound to socket " + PortText(port) + " for local ip " + local, tl_socket);
    if (std::optional<std::uint16_t> bound = platform::SocketLocalPort(slot)) port = *bound;
    if (!platform::ListenOnSocket(slot, 2)) {
        CloseSocket(slot);
        Trace("Failed to set input socket " + PortText(port) + " to listening mode", tl_socket);
        return;
    }
    Trace("Set input socket " + PortText(port) + " to listening mode sucessfully; ID " + Id(slot),
          tl_socket);
}

SocketHandle T_TcpIp::AcceptConnection(SocketHandle listening, unsigned char (&peer)[16],
                                       bool wait) {
    SocketHandle s = platform::AcceptOnSocket(listening, peer, wait ? ConnectTimeout : 0);
    if (s == platform::kNoSocket) {
        Trace("No incoming connection found on socket ID " + Id(listening), tl_socket);
        return platform::kNoSocket;
    }
    Trace("Incoming connection found on socket ID " + Id(listening) + "; generated socket ID " +
              Id(s),
          tl_socket);
    return s;
}

int T_TcpIp::SocketState(SocketHandle s) {
    if (s == platform::kNoSocket) return 0;
    int error = platform::PeerState(s);
    if (error == 0) return 2;
    return error == platform::socket_error::kNotConnected ? 1 : 3;
}

void T_TcpIp::CloseSocket(SocketHandle& slot) {
    if (slot == platform::kNoSocket) return;
    platform::CloseSocketHandle(slot);
    Trace("Closed socket ID " + Id(slot), tl_socket);
    slot = platform::kNoSocket;
}

void T_TcpIp::ReceiveBuf(SocketHandle s, void* buffer, long& count, long size) {
    namespace se = platform::socket_error;
    do {
        // While waiting for notifications the socket is non-blocking and the wait is the
        // message pump's; otherwise the receive itself waits, up to the time-out.
        count = platform::ReceiveFrom(s, buffer, static_cast<std::size_t>(size),
                                      WaitForData ? 0 : ReceiveTimeout);
        if (count < 1) {
            int error = count == 0 ? 0 : platform::LastSocketError();
            if (error == se::kWouldBlock && WaitForData) {
                DataArrived = false;
                if (!platform::PumpMessagesUntil(DataArrived, ReceiveTimeout))
                    error = se::kTimedOut;
            }
            Closed = error != se::kWouldBlock;
        } else {
            Trace("Received " + std::to_string(count) + " bytes on socket ID " + Id(s), tl_socket);
        }
    } while (!Closed && count < 1);
}

bool T_TcpIp::ReadLine(SocketHandle s, std::string& line) {
    std::string text;
    do {
        char c;
        long count = 0;
        ReceiveBuf(s, &c, count, 1);
        if (count < 1 || c == '\r') continue;
        if (c == '\n') {
            line = std::move(text);
            return true;
        }
        text += c;
    } while (!Eof(s));
    return false;
}

void T_TcpIp::SendBuf(SocketHandle s, const void* buffer, long& count) {
    count = platform::SendTo(s, buffer, static_cast<std::size_t>(count), ReceiveTimeout);
    Trace("Sent " + std::to_string(count) + " bytes on socket ID " + Id(s), tl_socket);
}

void T_TcpIp::SendText(SocketHandle s, const std::string& text) {
    long count = static_cast<long>(text.size());
    SendBuf(s, text.data(), count);
}

void T_TcpIp::SendCommand(const std::string& text) {
    SendText(Socket, text + "\r\n");
    Trace(text, tl_command);
}

void T_TcpIp::Login() {
    if (Connected) {
        try {
            Logout();
        } catch (const ETcpIpError&) {
            // A bad farewell on the old connection (one the server may have dropped long ago)
            // must not stop the new log-in; the old socket is closed either way.
        }
    }
    std::string host = Hostname;
    std::uint16_t port = RemotePort;
    SplitHostPort(Hostname, host, port);
    Address = ResolveHost(host);
    if (Address == platform::kNoAddress) throw ETcpIpError("Couldn't resolve hostname " + Hostname);
    OpenOutputSocket(Socket, port, Address);
    if (Socket == platform::kNoSocket)
        throw ESocketError(static_cast<std::uint16_t>(platform::LastSocketError()));
    Closed = false;
    Connected = true;
}

void T_TcpIp::Logout() {
    CloseSocket(Socket);
    Socket = platform::kNoSocket;
    Connected = false;
}

void T_TcpIp::Action() {
    Login();
    Stream.Clear();
    while (!Eof(Socket)) {
        long count = 0;
        ReceiveBuf(Socket, Buffer.data(), count, static_cast<long>(Buffer.size()));
        if (count >= 1) Stream.Write(Buffer.data(), static_cast<std::size_t>(count));
    }
    Stream.SetPosition(0);
}

bool T_TcpIp::Eof(SocketHandle s) { return Closed || SocketState(s) != 2; }

}  // namespace velmo::net
