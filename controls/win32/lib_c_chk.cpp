// The check box: a standard auto check box on its container's background.
#include "controls/win32/lib_c_chk.h"

namespace velmo::controls {

TLibCChk::TLibCChk(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
    Create(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0, parent, id, bounds, caption);
}

bool TLibCChk::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TLibCChk::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace velmo::controls
