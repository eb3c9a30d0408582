// The FTP client component: log-in, directory change, store, retrieve, listing, abort, log-out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/tcpip.h"

namespace velmo::net {

enum t_ftp_mode { tftp_download, tftp_upload, tftp_getdir };

class T_FTP;
using TDataTransferProc = std::function<void(T_FTP& Sender, t_ftp_mode mode, std::int32_t bytes)>;
using TFTPActionCompleteProc = std::function<void(T_FTP& Sender, t_ftp_mode mode)>;

// Only the reply to PASV is judged here (227 or EProtocolError); every other reply is read,
// traced and left in ReplyCode and ReplyText for the caller.
class T_FTP : public T_TcpIp {
  public:
    T_FTP();
    ~T_FTP() override;

    std::string URI;  // remote file name for SIZE, RETR and STOR
    std::string Password = "user@localhost";
    std::string Username = "ftp";
    bool Passive = true;
    std::uint16_t Port = 21;
    t_ftp_mode Mode = tftp_download;  // what Action does
    TDataTransferProc OnDataReceived;
    TFTPActionCompleteProc OnActionComplete;
    // Data transfers driven by socket notifications to the hidden window. Only where the OS
    // delivers them (Windows); elsewhere transfers block whatever this says.
    bool Async = false;

    int ReplyCode = 0;  // 999 when a reply has no three-digit code
    std::string ReplyText;
    SocketHandle ControlSocket = platform::kNoSocket;
    t_ftp_mode TransferMode = tftp_download;
    std::vector<std::string> DirList;
    std::int32_t FileSize = 0;
    bool Busy = false;
    TMemoryStream ListStream;

    std::optional<std::intptr_t> WndProc(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam) override;
    void Action() override;
    void SendCommand(const std::string& text) override;
    void Login() override;
    void Logout() override;

    void ChangeDir(const std::string& directory);
    void Upload();
    void Download();
    void GetDir(const std::string& path);
    void Abort();
    // Never raises: a closed or silent connection gives 999 and an empty text.
    void ReadReply();

  private:
    bool Asynchronous() const;
    void StartOperation();
    void OpenDataConnection();
    bool TransferAccepted();
    void AcceptDataConnection(bool wait);
    bool SendDataChunk();
    bool ReadDataChunk();
    void ReceiveUntilFinalReply();
    void FinishUpload();
    void FinishDownload();
    void FinishGetDir();
    void CloseListingConnection();

    bool listening_ = false;  // active mode: Socket is still the listener
};

}  // namespace velmo::net
