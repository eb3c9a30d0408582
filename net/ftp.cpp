// The FTP client component over one control connection and one data connection per transfer.
#include "net/ftp.h"

#include <algorithm>
#include <exception>

#include "net/net_helpers.h"

namespace velmo::net {
namespace {

constexpr long kNotifyData = FD_READ_EVENT | FD_WRITE_EVENT | FD_ACCEPT_EVENT | FD_CONNECT_EVENT;
constexpr long kNotifyDataAndClose = kNotifyData | FD_CLOSE_EVENT;

// A whole decimal number with blanks around it, or nothing.
std::optional<long long> Number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 12) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int ReplyCodeOf(const std::string& line) {
    if (line.size() < 3) return 999;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9') return 999;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// The closing line of a multi-line reply repeats the code and follows it with a blank
// (or ends there).
bool EndsReply(const std::string& line, const std::string& code) {
    return line.compare(0, 3, code) == 0 && (line.size() == 3 || line[3] == ' ');
}

}  // namespace

T_FTP::T_FTP() = default;

T_FTP::~T_FTP() { ShutDownQuietly(); }

bool T_FTP::Asynchronous() const { return Async && Window && Window->Available(); }

void T_FTP::SendCommand(const std::string& text) {
    SendText(ControlSocket, text + "\r\n");
    Trace(text, tl_command);
}

void T_FTP::ReadReply() {
    std::string line;
    bool got = ReadLine(ControlSocket, line);
    if (got) Trace(line, tl_reply);
    ReplyCode = ReplyCodeOf(line);
    ReplyText = line.size() > 4 ? line.substr(4) : std::string();
    // A refusal's further lines are left unread: they come as the next reply.
    if (!got || ReplyCode >= 400 || line.size() < 4 || line[3] != '-') return;
    // Lines in between may say anything, blank-led or not; only the closing line counts.
    const std::string code = line.substr(0, 3);
    std::string next;
    while (ReadLine(ControlSocket, next)) {
        Trace(next, tl_reply);
        if (EndsReply(next, code)) break;
    }
}

void T_FTP::Login() {
    RemotePort = Port;
    T_TcpIp::Login();
    ControlSocket = Socket;
    ReadReply();
    SendCommand("USER " + Username);
    ReadReply();
    SendText(ControlSocket, "PASS " + Password + "\r\n");
    Trace("PASS ******", tl_command);
    ReadReply();
    SendCommand("TYPE I");
    ReadReply();
}

void T_FTP::Logout() {
    std::exception_ptr abortFailure;
    if (Busy) {
        // A bad answer to ABOR still ends in a closed connection; it is reported afterwards.
        try {
            Abort();
        } catch (...) {
            abortFailure = std::current_exception();
        }
    }
    if (Connected) {
        if (ControlSocket != platform::kNoSocket) {
            SendCommand("QUIT");
            ReadReply();
        }
        if (Socket != platform::kNoSocket && Socket != ControlSocket)
            platform::CloseSocketHandle(Socket);
        Socket = ControlSocket;
        ControlSocket = platform::kNoSocket;
    }
    T_TcpIp::Logout();
    if (abortFailure) std::rethrow_exception(abortFailure);
}

void T_FTP::StartOperation() {
    if (Busy) throw EProtocolBusy();
    if (!Connected) Login();
}

void T_FTP::ChangeDir(const std::string& directory) {
    StartOperation();
    SendCommand("CWD " + directory);
    ReadReply();
}

void T_FTP::OpenDataConnection() {
    Socket = platform::kNoSocket;
    listening_ = false;
    const bool async = Asynchronous();
    if (Passive) {
        SendCommand("PASV");
        ReadReply();
        if (ReplyCode != 227)
            throw EProtocolError("FTP", static_cast<std::uint16_t>(ReplyCode), ReplyText);
        // "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)"
        std::size_t open = ReplyText.find('(');
        std::string after = open == std::string::npos ? ReplyText : ReplyText.substr(open + 1);
        std::size_t close = after.find(')');
        std::string list = close == std::string::npos ? std::string() : after.substr(0, close);
        std::size_t fourth = static_cast<std::size_t>(NthPos(",", list, 4));
        std::string host = list.substr(0, std::min(fourth - 1, list.size()));
        for (char& c : host)
            if (c == ',') c = '.';
        Address = platform::ParseDottedAddress(host);
        std::string ports = fourth < list.size() ? list.substr(fourth) : std::string();
        std::size_t comma = ports.find(',');
        std::optional<long long> p1 = Number(ports.substr(0, comma));
        std::optional<long long> p2 =
            comma == std::string::npos ? std::nullopt : Number(ports.substr(comma + 1));
        // An answer without a usable port leaves no data connection; the transfer command
        // still goes out and the server's reply tells the caller.
        if (!p1 || !p2) return;
        auto port = static_cast<std::uint16_t>((*p1 * 256 + *p2) & 0xFFFF);
        Socket = CreateSocket();
        if (async) Window->Select(Socket, kDataSocketMessage, kNotifyData);
        ConnectSocket(Socket, port, Address, !async);
    } else {
        // The address the server already reaches us at. The host name's first address may
        // belong to another interface (a second card, a dial-up link): a server refuses or
        // cannot reach that one.
        std::uint16_t port = 0;
        const std::uint32_t local =
            platform::SocketLocalAddress(ControlSocket).value_or(LocalAddress());
        OpenInputSocket(Socket, port, local);
        const auto* a = reinterpret_cast<const unsigned char*>(&local);
        SendCommand("PORT " + std::to_string(a[0]) + "," + std::to_string(a[1]) + "," +
                    std::to_string(a[2]) + "," + std::to_string(a[3]) + "," +
                    std::to_string(port >> 8) + "," + std::to_string(port & 0xFF));
        ReadReply();
        // The server connects only once it has the transfer command, so the blocking accept
        // waits until that command has been answered.
        listening_ = Socket != platform::kNoSocket;
    }
    if (async && Socket != platform::kNoSocket)
        Window->Select(Socket, kDataSocketMessage, kNotifyDataAndClose);
}

// After the reply to STOR, RETR or LIST: a refusal sends no data and no further reply, so the
// transfer ends here with the refusal in ReplyCode. Otherwise a blocking active-mode transfer
// takes the server's connection now.
bool T_FTP::TransferAccepted() {
    if (ReplyCode >= 400) {
        listening_ = false;
        CloseSocket(Socket);
        return false;
    }
    if (listening_ && !Asynchronous()) AcceptDataConnection(true);
    return true;
}

// The listener gives way to the server's data connection. A failed blocking accept leaves the
// listener in Socket (the transfer then fails and the final reply tells); a notification that
// brought nothing leaves it listening for the next one.
void T_FTP::AcceptDataConnection(bool wait) {
    unsigned char peer[16];
    SocketHandle accepted = AcceptConnection(Socket, peer, wait);
    listening_ = accepted == platform::kNoSocket && !wait;
    if (accepted == platform::kNoSocket) return;
    CloseSocket(Socket);
    Socket = accepted;
    if (Asynchronous()) Window->Select(Socket, kDataSocketMessage, kNotifyDataAndClose);
}

void T_FTP::Upload() {
    StartOperation();
    if (URI.empty()) return;
    OpenDataConnection();
    SendCommand("STOR " + URI);
    ReadReply();
    TransferMode = tftp_upload;
    if (!TransferAccepted()) return;
    Busy = true;
    FileSize = static_cast<std::int32_t>(Stream.Size());
    Stream.SetPosition(0);
    while (SendDataChunk()) {
    }
    // Asynchronously, FD_WRITE sends the rest and FD_CLOSE finishes.
    if (!Asynchronous()) FinishUpload();
}

bool T_FTP::SendDataChunk() {
    if (Socket == platform::kNoSocket) return false;
    const std::size_t n = Stream.Read(Buffer.data(), Buffer.size());
    if (n == 0) {
        // Closing the data connection is the end of the file for the server.
        CloseSocket(Socket);
        if (Asynchronous()) Window->Post(kDataSocketMessage, 0, FD_CLOSE_EVENT);
        return false;
    }
    long sent = static_cast<long>(n);
    SendBuf(Socket, Buffer.data(), sent);
    if (sent < static_cast<long>(n))
        Stream.Seek(-static_cast<std::ptrdiff_t>(sent >= 0 ? n - sent : n));
    if (sent > 0 && OnDataReceived) OnDataReceived(*this, TransferMode, sent);
    return sent > 0;
}

void T_FTP::FinishUpload() {
    Closed = false;
    ReadReply();
    WaitForData = false;
    if (OnActionComplete) OnActionComplete(*this, TransferMode);
    Busy = false;
}

bool T_FTP::ReadDataChunk() {
    if (Socket == platform::kNoSocket) return false;
    long n = 0;
    ReceiveBuf(Socket, Buffer.data(), n, static_cast<long>(Buffer.size()));
    if (n > 0) {
        TMemoryStream& target = TransferMode == tftp_getdir ? ListStream : Stream;
        target.Write(Buffer.data(), static_cast<std::size_t>(n));
    }
    if (OnDataReceived) OnDataReceived(*this, TransferMode, static_cast<std::int32_t>(n));
    return n > 0;
}

// The data of a download or listing, then the server's final reply.
void T_FTP::ReceiveUntilFinalReply() {
    if (!Asynchronous()) {
        while (ReadDataChunk()) {
        }
        // Our end goes as soon as the data has ended: some servers hold the final reply back
        // until the client has closed the data connection too.
        if (TransferMode == tftp_getdir) {
            CloseListingConnection();
        } else {
            CloseSocket(Socket);
        }
        Closed = false;
        ReadReply();
        return;
    }
    // The data socket's FD_READ notifications deliver the data while the reply is awaited.
    Window->Select(ControlSocket, kControlSocketMessage, FD_READ_EVENT);
    Closed = false;
    WaitForData = true;
    ReadReply();
    WaitForData = false;
    Window->Select(ControlSocket, kControlSocketMessage, 0);
    // A quick server may have sent everything and answered before the accept notification
    // was handled: its connection is waiting, with the data in it.
    if (listening_) AcceptDataConnection(true);
}

void T_FTP::Download() {
    StartOperation();
    if (URI.empty()) return;
    SendCommand("SIZE " + URI);
    ReadReply();
    std::optional<long long> size = Number(ReplyText);
    FileSize = size && *size <= 0x7FFFFFFF ? static_cast<std::int32_t>(*size) : 0;
    OpenDataConnection();
    SendCommand("RETR " + URI);
    ReadReply();
    TransferMode = tftp_download;
    if (!TransferAccepted()) return;
    Busy = true;
    Stream.Clear();
    ReceiveUntilFinalReply();
    FinishDownload();
}

void T_FTP::FinishDownload() {
    while (ReadDataChunk()) {
    }
    Closed = false;
    CloseSocket(Socket);
    Stream.SetPosition(0);
    if (OnActionComplete) OnActionComplete(*this, TransferMode);
    Busy = false;
}

void T_FTP::GetDir(const std::string& path) {
    StartOperation();
    if (path.empty()) return;
    OpenDataConnection();
    SendCommand("TYPE A");
    ReadReply();
    SendCommand("LIST " + path);
    ReadReply();
    TransferMode = tftp_getdir;
    if (!TransferAccepted()) {
        // Later transfers must not run in ASCII mode; the refusal stays the answer.
        const int refusal = ReplyCode;
        const std::string refusalText = ReplyText;
        SendCommand("TYPE I");
        ReadReply();
        ReplyCode = refusal;
        ReplyText = refusalText;
        return;
    }
    Busy = true;
    ListStream.Clear();
    ReceiveUntilFinalReply();
    FinishGetDir();
}

// The listing's data connection goes without a trace line.
void T_FTP::CloseListingConnection() {
    if (Socket == platform::kNoSocket) return;
    platform::ShutdownSending(Socket);
    platform::CloseSocketHandle(Socket);
    Socket = platform::kNoSocket;
}

void T_FTP::FinishGetDir() {
    Closed = false;
    while (ReadDataChunk()) {
    }
    Closed = false;
    CloseListingConnection();
    SendCommand("TYPE I");
    ReadReply();
    DirList.clear();
    std::string_view listing = ListStream.Bytes();
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = listing.size();
        DirList.emplace_back(listing.substr(start, end - start));
        start = end;
        if (start < listing.size() && listing[start] == '\r') ++start;
        if (start < listing.size() && listing[start] == '\n') ++start;
    }
    ListStream.Clear();
    if (OnActionComplete) OnActionComplete(*this, TransferMode);
    Busy = false;
}

void T_FTP::Abort() {
    if (!Busy) return;
    SendCommand("ABOR");
    // Some servers read the control connection only between transfers: with the data
    // connection gone they finish it and then answer.
    CloseSocket(Socket);
    ReadReply();
    Busy = false;
    if (ReplyCode == 426) {
        ReadReply();  // "transfer aborted" comes first, then the answer to ABOR itself
    } else if (ReplyCode >= 400) {
        throw EProtocolError("FTP", static_cast<std::uint16_t>(ReplyCode), ReplyText);
    }
}

void T_FTP::Action() {
    Login();
    if (Mode != tftp_upload) Stream.Clear();
    switch (Mode) {
        case tftp_download:
            Download();
            break;
        case tftp_upload:
            Upload();
            break;
        case tftp_getdir:
            GetDir(".");
            break;
    }
    Logout();
}

std::optional<std::intptr_t> T_FTP::WndProc(unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    if (message != kDataSocketMessage) return T_TcpIp::WndProc(message, wParam, lParam);
    // Notifications that arrive after the transfer ended are stale.
    if (!Busy) return 0;
    switch (lParam & 0xFFFF) {
        case FD_READ_EVENT:
            if (TransferMode == tftp_download || TransferMode == tftp_getdir) ReadDataChunk();
            break;
        case FD_WRITE_EVENT:
            if (TransferMode == tftp_upload)
                while (SendDataChunk()) {
                }
            break;
        case FD_ACCEPT_EVENT:
            if (listening_) AcceptDataConnection(false);
            break;
        case FD_CLOSE_EVENT:
            if (TransferMode == tftp_upload) {
                FinishUpload();
            } else {
                // The server has sent everything: take the rest and close our end now, as the
                // blocking transfers do, since some servers answer only after that.
                while (ReadDataChunk()) {
                }
                if (TransferMode == tftp_getdir) {
                    CloseListingConnection();
                } else {
                    CloseSocket(Socket);
                }
            }
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace velmo::net
