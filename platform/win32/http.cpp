// HTTP GET on Windows through WinInet.
#include "platform/http.h"

#include <windows.h>
#include <wininet.h>

#include "platform/text.h"

namespace velmo::platform {
namespace {

class WinInetGet : public HttpGet {
  public:
    WinInetGet(HINTERNET internet, HINTERNET url) : internet_(internet), url_(url) {}
    ~WinInetGet() override {
        InternetCloseHandle(url_);
        InternetCloseHandle(internet_);
    }

    std::ptrdiff_t Read(void* buffer, std::size_t size) override {
        DWORD got = 0;
        if (!InternetReadFile(url_, buffer, static_cast<DWORD>(size), &got)) return -1;
        return static_cast<std::ptrdiff_t>(got);
    }

  private:
    HINTERNET internet_;
    HINTERNET url_;
};

}  // namespace

std::unique_ptr<HttpGet> HttpGet::Open(std::string_view url, std::string_view agent) {
    HINTERNET internet = InternetOpenW(Cp932ToWide(agent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                       nullptr, nullptr, 0);
    if (!internet) return nullptr;
    // Nothing waits for ever: a connection gives up after 30 s, a silent peer after 60 s.
    DWORD connect = 30000, receive = 60000;
    InternetSetOptionW(internet, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
    HINTERNET handle =
        InternetOpenUrlW(internet, Cp932ToWide(url).c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    if (!handle) {
        InternetCloseHandle(internet);
        return nullptr;
    }
    return std::make_unique<WinInetGet>(internet, handle);
}

}  // namespace velmo::platform
