// The POP3 client component: log-in with the scan listing, retrieval of one message, log-out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/tcpip.h"

namespace velmo::net {

// One entry of the scan listing.
struct t_reply {
    std::int32_t Number = 0;
    std::int32_t Size = 0;  // octets
    // Not filled by the listing; kept for callers that look a message up themselves.
    std::string Sender;
    std::string Subject;
};

// Every status line must begin with "+OK"; "-ERR" raises EProtocolError 500, anything else 999.
class T_Pop3 : public T_TcpIp {
  public:
    T_Pop3();
    ~T_Pop3() override;

    std::string UserName;
    std::string Password;
    std::vector<t_reply> MailList;
    std::vector<std::string> MailText;  // the lines of the last retrieved message, as received
    std::int32_t NumberOfMails() const { return numberOfMails_; }

    void Action() override;
    void Login() override;
    void Logout() override;
    void Retrieve(std::int32_t number);
    void ReadReply();

  private:
    // The next line of a multi-line answer; raises when the connection ends before its ".".
    std::string ReadDataLine();

    std::int32_t numberOfMails_ = 0;
};

}  // namespace velmo::net
