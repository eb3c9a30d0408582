// HTTP GET of one URL, the body read in blocks the caller sizes.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace velmo::platform {

// Always a fresh answer (no cache), redirects followed, the system's proxy settings. The
// status is not examined: an error page is a body like any other.
class HttpGet {
  public:
    // nullptr when the connection or the URL cannot be opened.
    static std::unique_ptr<HttpGet> Open(std::string_view url, std::string_view agent);
    virtual ~HttpGet() = default;
    // Up to `size` bytes of the body in order; 0 at its end; -1 when reading failed (a peer
    // that stays silent for 60 seconds fails the read).
    virtual std::ptrdiff_t Read(void* buffer, std::size_t size) = 0;
};

}  // namespace velmo::platform
