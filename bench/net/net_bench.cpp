// Drives one transfer the way the steps do, for bench/net/run to time against curl and cp.
//   net_bench ftp-upload HOST:PORT USER PASSWORD FILE NAME   STOR FILE as NAME, passive mode
//   net_bench http-get URL TARGET                             GET URL into TARGET, 1024-byte blocks
//   net_bench copy SOURCE FOLDER                              copy with progress (no display)
//   net_bench load FILE                                       only the upload's load into memory
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "controls/lib_file.h"
#include "net/ftp.h"
#include "net/memory_stream.h"
#include "platform/files.h"
#include "platform/http.h"

namespace {

using namespace velmo;

int FtpUpload(char** argv) {
    net::T_FTP ftp;
    ftp.Hostname = argv[0];
    ftp.Username = argv[1];
    ftp.Password = argv[2];
    if (!ftp.Stream.LoadFromFile(argv[3])) return 2;
    ftp.Login();
    ftp.ChangeDir("/");
    if (ftp.ReplyCode != 250) return 3;
    ftp.URI = argv[4];
    ftp.Upload();
    const bool stored = ftp.ReplyCode == 226;
    ftp.Logout();
    return stored ? 0 : 4;
}

int HttpGet(char** argv) {
    std::unique_ptr<platform::HttpGet> get = platform::HttpGet::Open(argv[0], "Orvanta");
    if (!get) return 2;
    platform::File file;
    if (!file.Open(argv[1], platform::File::Mode::Write)) return 3;
    char block[1024];
    for (;;) {
        std::ptrdiff_t n = get->Read(block, sizeof block);
        if (n <= 0) break;
        if (!file.Write(block, static_cast<std::size_t>(n))) return 4;
    }
    return file.Close() ? 0 : 4;
}

int Load(char** argv) {
    net::TMemoryStream stream;
    return stream.LoadFromFile(argv[0]) ? 0 : 2;
}

int Copy(char** argv) { return controls::CopyFileWithProgress(argv[0], argv[1]) == 0 ? 0 : 4; }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::strcmp(argv[1], "ftp-upload") == 0) return FtpUpload(argv + 2);
    if (argc == 4 && std::strcmp(argv[1], "http-get") == 0) return HttpGet(argv + 2);
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0) return Copy(argv + 2);
    if (argc == 3 && std::strcmp(argv[1], "load") == 0) return Load(argv + 2);
    std::fprintf(stderr, "usage: net_bench ftp-upload|http-get|copy ...\n");
    return 1;
}
