// TCP sockets on Linux: BSD sockets, with errno turned into the Winsock numbers.
#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmo::platform {
namespace {

thread_local int lastError = 0;

int WinsockNumber(int e) {
    namespace se = socket_error;
    switch (e) {
        case EINTR:
            return se::kInterrupted;
        case EACCES:
            return se::kAccessDenied;
        case EPERM:
            return se::kAccessDenied;
        case EFAULT:
            return 10014;
        case EINVAL:
            return se::kInvalidArgument;
        case EMFILE:
            return 10024;
        case EAGAIN:
            return se::kWouldBlock;
        case EINPROGRESS:
            return se::kWouldBlock;  // Winsock says "would block" for a pending connect
        case EALREADY:
            return 10037;
        case EBADF:
            return se::kNotSocket;
        case ENOTSOCK:
            return se::kNotSocket;
        case EDESTADDRREQ:
            return 10039;
        case EMSGSIZE:
            return 10040;
        case EPROTOTYPE:
            return 10041;
        case ENOPROTOOPT:
            return 10042;
        case EPROTONOSUPPORT:
            return 10043;
        case EOPNOTSUPP:
            return 10045;
        case EAFNOSUPPORT:
            return 10047;
        case EADDRINUSE:
            return se::kAddressInUse;
        case EADDRNOTAVAIL:
            return se::kAddressNotAvailable;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return se::kNetworkUnreachable;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return se::kConnectionAborted;
        case EPIPE:
            return se::kConnectionAborted;
        case ECONNRESET:
            return se::kConnectionReset;
        case ENOBUFS:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return se::kNotConnected;
        case ESHUTDOWN:
            return se::kShutDown;
        case ETIMEDOUT:
            return se::kTimedOut;
        case ECONNREFUSED:
            return se::kConnectionRefused;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return se::kHostUnreachable;
        default:
            return se::kInvalidArgument;
    }
}

int Fail(int e) {
    lastError = WinsockNumber(e);
    return lastError;
}

int Fd(SocketHandle s) { return static_cast<int>(s); }

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = address;
    return a;
}

// Waits until the socket is ready for `events`; false (with kTimedOut) when the time passed.
bool WaitFor(SocketHandle s, short events, int timeoutMs) {
    pollfd p{Fd(s), events, 0};
    for (;;) {
        int n = ::poll(&p, 1, timeoutMs);
        if (n > 0) return true;
        if (n == 0) {
            lastError = socket_error::kTimedOut;
            return false;
        }
        if (errno != EINTR) {
            Fail(errno);
            return false;
        }
    }
}

}  // namespace

// BSD sockets need no start-up; the flag still says "stop me", as a successful start would.
bool StartSocketLibrary() { return true; }
void StopSocketLibrary() {}

int LastSocketError() { return lastError; }

SocketHandle OpenStreamSocket() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        Fail(errno);
        return kNoSocket;
    }
    return fd;
}

void CloseSocketHandle(SocketHandle s) {
    if (s != kNoSocket) ::close(Fd(s));
}

void ShutdownSending(SocketHandle s) { ::shutdown(Fd(s), SHUT_WR); }

int ConnectSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port, int timeoutMs) {
    sockaddr_in a = MakeAddress(address, port);
    int flags = ::fcntl(Fd(s), F_GETFL);
    if (timeoutMs > 0) ::fcntl(Fd(s), F_SETFL, flags | O_NONBLOCK);
    int result = 0;
    if (::connect(Fd(s), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        if (errno == EINPROGRESS && timeoutMs > 0) {
            if (!WaitFor(s, POLLOUT, timeoutMs)) {
                result = lastError;
            } else {
                int e = 0;
                socklen_t len = sizeof e;
                ::getsockopt(Fd(s), SOL_SOCKET, SO_ERROR, &e, &len);
                if (e != 0) result = Fail(e);
            }
        } else {
            result = Fail(errno);
        }
    }
    if (timeoutMs > 0) ::fcntl(Fd(s), F_SETFL, flags);
    return result;
}

bool BindSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port) {
    sockaddr_in a = MakeAddress(address, port);
    if (::bind(Fd(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return true;
    Fail(errno);
    return false;
}

bool ListenOnSocket(SocketHandle s, int backlog) {
    if (::listen(Fd(s), backlog) == 0) return true;
    Fail(errno);
    return false;
}

std::optional<std::uint16_t> SocketLocalPort(SocketHandle s) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getsockname(Fd(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        Fail(errno);
        return std::nullopt;
    }
    return ntohs(a.sin_port);
}

std::optional<std::uint32_t> SocketLocalAddress(SocketHandle s) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getsockname(Fd(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        Fail(errno);
        return std::nullopt;
    }
    return a.sin_addr.s_addr;
}

SocketHandle AcceptOnSocket(SocketHandle s, unsigned char (&peer)[16], int timeoutMs) {
    if (timeoutMs > 0 && !WaitFor(s, POLLIN, timeoutMs)) return kNoSocket;
    sockaddr_in a{};
    socklen_t len = sizeof a;
    int fd;
    do fd = ::accept4(Fd(s), reinterpret_cast<sockaddr*>(&a), &len, SOCK_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(errno);
        return kNoSocket;
    }
    std::memcpy(peer, &a, sizeof peer);
    return fd;
}

int PeerState(SocketHandle s) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getpeername(Fd(s), reinterpret_cast<sockaddr*>(&a), &len) == 0) return 0;
    return Fail(errno);
}

long ReceiveFrom(SocketHandle s, void* buffer, std::size_t size, int timeoutMs) {
    if (timeoutMs > 0 && !WaitFor(s, POLLIN, timeoutMs)) return -1;
    ssize_t n;
    do n = ::recv(Fd(s), buffer, size, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0) Fail(errno);
    return static_cast<long>(n);
}

long SendTo(SocketHandle s, const void* data, std::size_t size, int timeoutMs) {
    if (timeoutMs > 0) {
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        ::setsockopt(Fd(s), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    }
    ssize_t n;
    do n = ::send(Fd(s), data, size, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        // A blocking send that ran out of its time reports EAGAIN: that is a time-out here.
        if (timeoutMs > 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            lastError = socket_error::kTimedOut;
        else
            Fail(errno);
    }
    return static_cast<long>(n);
}

std::uint32_t ParseDottedAddress(const std::string& text) { return ::inet_addr(text.c_str()); }

std::optional<std::uint32_t> LookUpHostAddress(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0 || !list) return std::nullopt;
    std::uint32_t address = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(list);
    return address;
}

std::optional<std::string> LocalHostName() {
    char name[256] = {};
    if (::gethostname(name, 255) != 0) return std::nullopt;
    return std::string(name);
}

// No window system here: notifications are not available and transfers block.
SocketNotifier::SocketNotifier(Handler handler) : handler_(std::move(handler)) {}
SocketNotifier::~SocketNotifier() = default;
bool SocketNotifier::Available() const { return false; }
bool SocketNotifier::Select(SocketHandle, unsigned, long) { return false; }
void SocketNotifier::Post(unsigned, std::uintptr_t, std::intptr_t) {}
std::optional<std::intptr_t> SocketNotifier::Deliver(unsigned message, std::uintptr_t wParam,
                                                     std::intptr_t lParam) {
    return handler_ ? handler_(message, wParam, lParam) : std::nullopt;
}

bool PumpMessagesUntil(const bool& flag, int) { return flag; }

}  // namespace velmo::platform
