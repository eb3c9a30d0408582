// DLLs on Windows through LoadLibraryW.
#include "platform/library.h"

#include <windows.h>

#include "platform/files.h"

namespace velmo::platform {

std::unique_ptr<Library> Library::Open(std::string_view name) {
    HMODULE module = LoadLibraryW(ToNativePath(name).c_str());
    if (!module) return nullptr;
    return std::unique_ptr<Library>(new Library(module));
}

Library::~Library() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* Library::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace velmo::platform
