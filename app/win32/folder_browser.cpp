// SHBrowseForFolderW with file-system folders only and the status line, started at a folder.
#include "app/win32/folder_browser.h"

#include <shlobj.h>

#include "platform/text.h"

namespace velmo::app {
namespace {

struct BrowseStart {
    std::wstring folder;
};

int CALLBACK BrowseCallbackProc(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const BrowseStart*>(data);
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(start->folder.c_str()));
    }
    return 0;
}

}  // namespace

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& caption,
                                           const std::string& startFolder) {
    BrowseStart start{platform::Cp932ToWide(startFolder)};
    std::wstring title = platform::Cp932ToWide(caption);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path) != 0;
    CoTaskMemFree(chosen);
    if (!ok) return std::nullopt;
    return platform::WideToCp932(path);
}

}  // namespace velmo::app
