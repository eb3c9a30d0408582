// LibLha32: loading the archiver library and binding its forty entry points by name.
#include "steps/lib_lha32.h"

#include <cstring>

#include "platform/files.h"
#include "platform/library.h"
#include "platform/text.h"

namespace velmo::steps {
namespace {

// Stand-by routines for the entry points the program calls; they only throw.
std::uint16_t VELMO_UNLHA_CALL MissingGetVersion() {
    throw EUnlha32Error(LibLha32::NotFoundText("UnlhaGetVersion"));
}
int VELMO_UNLHA_CALL MissingGetRunning() {
    throw EUnlha32Error(LibLha32::NotFoundText("UnlhaGetRunning"));
}
int VELMO_UNLHA_CALL MissingSetCursorMode(int) {
    throw EUnlha32Error(LibLha32::NotFoundText("UnlhaSetCursorMode"));
}
int VELMO_UNLHA_CALL MissingUnlha(void*, const char*, char*, std::uint32_t) {
    throw EUnlha32Error(LibLha32::NotFoundText("Unlha"));
}
int VELMO_UNLHA_CALL MissingCheckArchive(const char*, int) {
    throw EUnlha32Error(LibLha32::NotFoundText("UnlhaCheckArchive"));
}
int VELMO_UNLHA_CALL MissingGetFileCount(const char*) {
    throw EUnlha32Error(LibLha32::NotFoundText("UnlhaGetFileCount"));
}

template <typename Fn>
Fn Bind(const LibLha32& lib, const char* name, Fn standBy) {
    return lib.Has(name) ? reinterpret_cast<Fn>(lib.Require(name)) : standBy;
}

}  // namespace

const std::array<const char*, 40> LibLha32::kEntryPoints = {
    "UnlhaGetVersion",
    "UnlhaGetRunning",
    "UnlhaGetBackGroundMode",
    "UnlhaSetBackGroundMode",
    "UnlhaGetCursorMode",
    "UnlhaSetCursorMode",
    "UnlhaGetCursorInterval",
    "UnlhaSetCursorInterval",
    "Unlha",
    "UnlhaCheckArchive",
    "UnlhaGetFileCount",
    "UnlhaQueryFunctionList",
    "UnlhaConfigDialog",
    "UnlhaOpenArchive",
    "UnlhaCloseArchive",
    "UnlhaFindFirst",
    "UnlhaFindNext",
    "UnlhaGetArcFileName",
    "UnlhaGetArcFileSize",
    "UnlhaGetArcOriginalSize",
    "UnlhaGetArcCompressedSize",
    "UnlhaGetArcRatio",
    "UnlhaGetArcDate",
    "UnlhaGetArcTime",
    "UnlhaGetArcOSType",
    "UnlhaGetFileName",
    "UnlhaGetMethod",
    "UnlhaGetOriginalSize",
    "UnlhaGetCompressedSize",
    "UnlhaGetRatio",
    "UnlhaGetDate",
    "UnlhaGetTime",
    "UnlhaGetWriteTime",
    "UnlhaGetCreateTime",
    "UnlhaGetAccessTime",
    "UnlhaGetCRC",
    "UnlhaGetAttribute",
    "UnlhaGetOSType",
    "UnlhaSetOwnerWindow",
    "UnlhaClearOwnerWindow",
};

std::string LibLha32::DefaultPath() {
#ifdef _WIN32
    return "UNLHA32.DLL";
#else
    return platform::JoinPath(platform::ProgramFolder(), "libunlha32.so");
#endif
}

std::unique_ptr<LibLha32> LibLha32::Load(const std::string& path) {
    std::unique_ptr<platform::Library> library = platform::Library::Open(path);
    if (!library) throw EUnlha32Error("Unlha32 Module Not Loaded.(UNLHA32.DLL)");
    platform::Library* raw = library.get();
    auto lib = std::make_unique<LibLha32>([raw](const char* name) { return raw->Symbol(name); });
    lib->library_ = std::move(library);
    return lib;
}

LibLha32::LibLha32(const std::function<void*(const char*)>& lookup) {
    for (std::size_t i = 0; i < kEntryPoints.size(); ++i) bound_[i] = lookup(kEntryPoints[i]);
    UnlhaGetVersion = Bind(*this, "UnlhaGetVersion", &MissingGetVersion);
    UnlhaGetRunning = Bind(*this, "UnlhaGetRunning", &MissingGetRunning);
    UnlhaSetCursorMode = Bind(*this, "UnlhaSetCursorMode", &MissingSetCursorMode);
    Unlha = Bind(*this, "Unlha", &MissingUnlha);
    UnlhaCheckArchive = Bind(*this, "UnlhaCheckArchive", &MissingCheckArchive);
    UnlhaGetFileCount = Bind(*this, "UnlhaGetFileCount", &MissingGetFileCount);
}

LibLha32::~LibLha32() = default;

bool LibLha32::Has(const char* name) const {
    for (std::size_t i = 0; i < kEntryPoints.size(); ++i)
        if (std::strcmp(kEntryPoints[i], name) == 0) return bound_[i] != nullptr;
    return false;
}

void* LibLha32::Require(const char* name) const {
    for (std::size_t i = 0; i < kEntryPoints.size(); ++i)
        if (std::strcmp(kEntryPoints[i], name) == 0 && bound_[i]) return bound_[i];
    throw EUnlha32Error(NotFoundText(name));
}

std::string LibLha32::NotFoundText(const std::string& name) {
    std::string shown = name;
    if (name != "Unlha" && name.rfind("Unlha", 0) == 0) shown = name.substr(5);
    return "Unlha32 Not Found function(" + shown + ")";
}

}  // namespace velmo::steps
