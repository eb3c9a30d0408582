// Loading a shared library by name and looking up its entry points.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmo::platform {

class Library {
  public:
    // nullptr when the library cannot be loaded. The name is CP932; a bare name is
    // searched as the OS searches (on Windows the program's folder comes first).
    static std::unique_ptr<Library> Open(std::string_view name);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // nullptr when the library has no such entry point.
    void* Symbol(const char* name) const;

  private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace velmo::platform
