// TCP sockets on Windows: Winsock 1.1 (wsock32), and the hidden window for its notifications.
#include <winsock.h>
// winsock.h before windows.h: it brings the Winsock 1.1 declarations.
#include <windows.h>

#include <cstring>

#include "platform/socket.h"

namespace velmo::platform {
namespace {

SOCKET Raw(SocketHandle s) { return static_cast<SOCKET>(s); }

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = address;
    return a;
}

timeval MakeTimeval(int timeoutMs) {
    timeval tv;
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    return tv;
}

// Waits until the socket can be read (or a listening socket has a connection).
bool WaitReadable(SocketHandle s, int timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Raw(s), &readable);
    timeval tv = MakeTimeval(timeoutMs);
    int n = ::select(0, &readable, nullptr, nullptr, &tv);
    if (n == 0) WSASetLastError(WSAETIMEDOUT);
    return n > 0;
}

}  // namespace

bool StartSocketLibrary() {
    WSADATA data;
    int result = ::WSAStartup(MAKEWORD(1, 1), &data);
    return result != WSAEINVAL && result != WSASYSNOTREADY && result != WSAVERNOTSUPPORTED;
}

void StopSocketLibrary() {
    ::WSACancelBlockingCall();
    ::WSACleanup();
}

int LastSocketError() { return ::WSAGetLastError(); }

SocketHandle OpenStreamSocket() {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(s);
}

void CloseSocketHandle(SocketHandle s) {
    if (s != kNoSocket) ::closesocket(Raw(s));
}

void ShutdownSending(SocketHandle s) { ::shutdown(Raw(s), 1 /* SD_SEND */); }

int ConnectSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port, int timeoutMs) {
    sockaddr_in a = MakeAddress(address, port);
    if (timeoutMs <= 0) {
        if (::connect(Raw(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return 0;
        return ::WSAGetLastError();
    }
    u_long nonBlocking = 1;
    ::ioctlsocket(Raw(s), FIONBIO, &nonBlocking);
    int result = 0;
    if (::connect(Raw(s), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        result = ::WSAGetLastError();
        if (result == WSAEWOULDBLOCK) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(Raw(s), &writable);
            FD_SET(Raw(s), &failed);
            timeval tv = MakeTimeval(timeoutMs);
            int n = ::select(0, nullptr, &writable, &failed, &tv);
            if (n == 0) {
                result = WSAETIMEDOUT;
            } else if (n < 0) {
                result = ::WSAGetLastError();
            } else if (FD_ISSET(Raw(s), &failed)) {
                int e = 0;
                int len = sizeof e;
                ::getsockopt(Raw(s), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&e), &len);
                result = e != 0 ? e : WSAECONNREFUSED;
            } else {
                result = 0;
            }
        }
    }
    u_long blocking = 0;
    ::ioctlsocket(Raw(s), FIONBIO, &blocking);
    if (result != 0) WSASetLastError(result);
    return result;
}

bool BindSocketTo(SocketHandle s, std::uint32_t address, std::uint16_t port) {
    sockaddr_in a = MakeAddress(address, port);
    return ::bind(Raw(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

bool ListenOnSocket(SocketHandle s, int backlog) { return ::listen(Raw(s), backlog) == 0; }

std::optional<std::uint16_t> SocketLocalPort(SocketHandle s) {
    sockaddr_in a{};
    int len = sizeof a;
    if (::getsockname(Raw(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return std::nullopt;
    return ntohs(a.sin_port);
}

std::optional<std::uint32_t> SocketLocalAddress(SocketHandle s) {
    sockaddr_in a{};
    int len = sizeof a;
    if (::getsockname(Raw(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return std::nullopt;
    return a.sin_addr.s_addr;
}

SocketHandle AcceptOnSocket(SocketHandle s, unsigned char (&peer)[16], int timeoutMs) {
    if (timeoutMs > 0 && !WaitReadable(s, timeoutMs)) return kNoSocket;
    sockaddr_in a{};
    int len = sizeof a;
    SOCKET accepted = ::accept(Raw(s), reinterpret_cast<sockaddr*>(&a), &len);
    if (accepted == INVALID_SOCKET) return kNoSocket;
    std::memcpy(peer, &a, sizeof peer);
    return static_cast<SocketHandle>(accepted);
}

int PeerState(SocketHandle s) {
    sockaddr_in a{};
    int len = sizeof a;
    if (::getpeername(Raw(s), reinterpret_cast<sockaddr*>(&a), &len) == 0) return 0;
    return ::WSAGetLastError();
}

long ReceiveFrom(SocketHandle s, void* buffer, std::size_t size, int timeoutMs) {
    if (timeoutMs > 0 && !WaitReadable(s, timeoutMs)) return -1;
    return ::recv(Raw(s), static_cast<char*>(buffer), static_cast<int>(size), 0);
}

long SendTo(SocketHandle s, const void* data, std::size_t size, int timeoutMs) {
    if (timeoutMs > 0) {
        DWORD ms = static_cast<DWORD>(timeoutMs);
        ::setsockopt(Raw(s), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms),
                     sizeof ms);
    }
    return ::send(Raw(s), static_cast<const char*>(data), static_cast<int>(size), 0);
}

std::uint32_t ParseDottedAddress(const std::string& text) { return ::inet_addr(text.c_str()); }

std::optional<std::uint32_t> LookUpHostAddress(const std::string& name) {
    hostent* entry = ::gethostbyname(name.c_str());
    if (!entry || entry->h_length <= 0 || !entry->h_addr_list[0]) return std::nullopt;
    std::uint32_t address;
    std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    return address;
}

std::optional<std::string> LocalHostName() {
    char name[256] = {};
    if (::gethostname(name, 255) != 0) return std::nullopt;
    return std::string(name);
}

namespace {

const wchar_t kNotifierClass[] = L"VelmoSocketNotifier";

LRESULT CALLBACK NotifierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto self = reinterpret_cast<SocketNotifier*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message != WM_NCCREATE && message != WM_NCDESTROY) {
        std::optional<std::intptr_t> result = self->Deliver(message, wParam, lParam);
        if (result) return *result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ATOM RegisterNotifierClass() {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = NotifierProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kNotifierClass;
        return RegisterClassW(&wc);
    }();
    return atom;
}

}  // namespace

// A top-level window that is never shown rather than a message-only one: only top-level
// windows hear WM_QUERYENDSESSION, which the component answers.
SocketNotifier::SocketNotifier(Handler handler) : handler_(std::move(handler)) {
    RegisterNotifierClass();
    window_ = CreateWindowExW(0, kNotifierClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

SocketNotifier::~SocketNotifier() {
    if (window_) {
        SetWindowLongPtrW(static_cast<HWND>(window_), GWLP_USERDATA, 0);
        DestroyWindow(static_cast<HWND>(window_));
    }
}

bool SocketNotifier::Available() const { return window_ != nullptr; }

bool SocketNotifier::Select(SocketHandle s, unsigned message, long events) {
    if (!window_) return false;
    bool ok = ::WSAAsyncSelect(Raw(s), static_cast<HWND>(window_), message, events) == 0;
    if (ok && events == 0) {
        u_long blocking = 0;
        ::ioctlsocket(Raw(s), FIONBIO, &blocking);
    }
    return ok;
}

void SocketNotifier::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window_) PostMessageW(static_cast<HWND>(window_), message, wParam, lParam);
}

std::optional<std::intptr_t> SocketNotifier::Deliver(unsigned message, std::uintptr_t wParam,
                                                     std::intptr_t lParam) {
    return handler_ ? handler_(message, wParam, lParam) : std::nullopt;
}

bool PumpMessagesUntil(const bool& flag, int timeoutMs) {
    DWORD start = GetTickCount();
    while (!flag) {
        MSG msg;
        while (!flag && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return flag;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (flag) break;
        DWORD elapsed = GetTickCount() - start;
        if (timeoutMs > 0 && elapsed >= static_cast<DWORD>(timeoutMs)) return false;
        DWORD wait = timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) - elapsed : INFINITE;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
    return true;
}

}  // namespace velmo::platform
