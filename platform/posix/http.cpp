// HTTP GET on Linux through libcurl's multi interface, so the body can be pulled in blocks.
#include "platform/http.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace velmo::platform {
namespace {

class CurlGet : public HttpGet {
  public:
    CurlGet() : easy_(curl_easy_init()), multi_(curl_multi_init()) {}
    ~CurlGet() override {
        if (multi_ && easy_) curl_multi_remove_handle(multi_, easy_);
        if (easy_) curl_easy_cleanup(easy_);
        if (multi_) curl_multi_cleanup(multi_);
    }

    bool Start(std::string_view url, std::string_view agent) {
        if (!easy_ || !multi_) return false;
        url_ = url;
        agent_ = agent;
        curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent_.c_str());
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 20L);
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, 30L);
        // A peer that sends nothing for a minute has gone: no wait lasts for ever.
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, 60L);
        curl_slist* headers = nullptr;
        headers = curl_slist_append(headers, "Cache-Control: no-cache");
        headers = curl_slist_append(headers, "Pragma: no-cache");
        headers_.reset(headers);
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlGet::OnData);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlGet::OnHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_multi_add_handle(multi_, easy_);
        // The URL counts as opened once an answer has begun; a refused connection or an
        // unknown host ends here.
        while (!answered_ && !done_) Pump();
        return answered_ && result_ == CURLE_OK;
    }

    std::ptrdiff_t Read(void* buffer, std::size_t size) override {
        while (pos_ == data_.size() && !done_) {
            data_.clear();
            pos_ = 0;
            if (paused_) {
                paused_ = false;
                curl_easy_pause(easy_, CURLPAUSE_CONT);
            }
            Pump();
        }
        if (pos_ == data_.size()) return result_ == CURLE_OK ? 0 : -1;
        std::size_t take = std::min(size, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, take);
        pos_ += take;
        return static_cast<std::ptrdiff_t>(take);
    }

  private:
    struct SlistFree {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    void Pump() {
        int running = 0;
        curl_multi_perform(multi_, &running);
        while (CURLMsg* msg = curl_multi_info_read(multi_, &running)) {
            if (msg->msg == CURLMSG_DONE) {
                done_ = true;
                result_ = msg->data.result;
            }
        }
        if (!done_ && !paused_) curl_multi_poll(multi_, nullptr, 0, 200, nullptr);
    }

    static size_t OnHeader(char*, size_t size, size_t count, void* self) {
        static_cast<CurlGet*>(self)->answered_ = true;
        return size * count;
    }

    static size_t OnData(char* data, size_t size, size_t count, void* self) {
        auto* get = static_cast<CurlGet*>(self);
        get->answered_ = true;
        // Hold at most a few blocks: pause the transfer until the caller has read them.
        if (get->data_.size() - get->pos_ > 256 * 1024) {
            get->paused_ = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        get->data_.append(data, size * count);
        return size * count;
    }

    CURL* easy_;
    CURLM* multi_;
    std::unique_ptr<curl_slist, SlistFree> headers_;
    std::string url_, agent_;
    std::string data_;
    std::size_t pos_ = 0;
    bool answered_ = false, done_ = false, paused_ = false;
    CURLcode result_ = CURLE_OK;
};

}  // namespace

std::unique_ptr<HttpGet> HttpGet::Open(std::string_view url, std::string_view agent) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised) return nullptr;
    auto get = std::make_unique<CurlGet>();
    if (!get->Start(url, agent)) return nullptr;
    return get;
}

}  // namespace velmo::platform
