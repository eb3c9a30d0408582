// Shared libraries on Linux through dlopen.
#include "platform/library.h"

#include <dlfcn.h>

#include "platform/files.h"

namespace velmo::platform {

std::unique_ptr<Library> Library::Open(std::string_view name) {
    NativePath native = ToNativePath(name);
    void* handle = ::dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::unique_ptr<Library>(new Library(handle));
}

Library::~Library() { ::dlclose(handle_); }

void* Library::Symbol(const char* name) const { return ::dlsym(handle_, name); }

}  // namespace velmo::platform
