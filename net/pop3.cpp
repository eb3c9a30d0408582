// The POP3 client component, as "POP before FTP" uses it.
#include "net/pop3.h"

#include <exception>

namespace velmo::net {
namespace {

const char kConnectionEnded[] = "Connection closed by the server";

std::int32_t ToNumber(const std::string& text) {
    std::int64_t value = 0;
    bool digits = !text.empty() && text.size() <= 10;
    for (char c : text) {
        if (c < '0' || c > '9') digits = false;
        value = value * 10 + (c - '0');
    }
    if (!digits || value > 0x7FFFFFFF)
        throw EProtocolError("POP3", 999, "'" + text + "' is not a valid integer value");
    return static_cast<std::int32_t>(value);
}

}  // namespace

T_Pop3::T_Pop3() { RemotePort = 110; }

T_Pop3::~T_Pop3() { ShutDownQuietly(); }

void T_Pop3::ReadReply() {
    std::string line;
    if (!ReadLine(Socket, line)) throw EProtocolError("POP3", 999, kConnectionEnded);
    Trace(line, tl_reply);
    if (line.compare(0, 3, "+OK") == 0) return;
    if (line.compare(0, 4, "-ERR") == 0) throw EProtocolError("POP3", 500, line);
    throw EProtocolError("POP3", 999, line);
}

std::string T_Pop3::ReadDataLine() {
    std::string line;
    if (!ReadLine(Socket, line)) throw EProtocolError("POP3", 999, kConnectionEnded);
    return line;
}

void T_Pop3::Login() {
    T_TcpIp::Login();
    ReadReply();
    SendCommand("USER " + UserName);
    ReadReply();
    SendText(Socket, "PASS " + Password + "\r\n");
    Trace("PASS *****", tl_command);
    ReadReply();
    SendCommand("LIST");
    ReadReply();
    numberOfMails_ = 0;
    for (std::string line = ReadDataLine(); line != "."; line = ReadDataLine()) {
        std::size_t blank = line.find(' ');
        t_reply entry;
        entry.Number = ToNumber(line.substr(0, blank));
        entry.Size = ToNumber(blank == std::string::npos ? std::string() : line.substr(blank + 1));
        MailList.push_back(entry);
        ++numberOfMails_;
    }
}

void T_Pop3::Retrieve(std::int32_t number) {
    if (!Connected) Login();
    SendCommand("RETR " + std::to_string(number));
    ReadReply();
    MailText.clear();
    // Lines are kept as the server sent them, a doubled leading dot included.
    for (std::string line = ReadDataLine(); line != "."; line = ReadDataLine())
        MailText.push_back(std::move(line));
}

void T_Pop3::Logout() {
    // The connection is closed whatever the farewell brings: a component left "connected" to
    // a socket the server has dropped would fail every later log-in in its own QUIT.
    std::exception_ptr failure;
    if (Connected) {
        try {
            SendCommand("QUIT");
            ReadReply();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    T_TcpIp::Logout();
    MailList.clear();
    if (failure) std::rethrow_exception(failure);
}

void T_Pop3::Action() {
    Login();
    if (!MailList.empty()) Retrieve(1);
    Logout();
}

}  // namespace velmo::net
