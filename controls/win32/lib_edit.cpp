// The one-line edit field and the log memo.
#include "controls/win32/lib_edit.h"

#include <vector>

#include "platform/text.h"

namespace velmo::controls {

// No tab stop: the keys that move between fields belong to the fields themselves.
TLibEdit::TLibEdit(HWND parent, int id, const Bounds& bounds) {
    Create(L"EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_VISIBLE, WS_EX_CLIENTEDGE, parent, id, bounds,
           "");
}

void TLibEdit::SetPasswordChar(wchar_t c) {
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, c, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLibEdit::SetMaxLength(int bytes) {
    maxLength_ = bytes;
    // Never more characters than bytes; the exact byte count is kept by KeepWithinLimit.
    SendMessageW(Handle(), EM_LIMITTEXT, bytes, 0);
    KeepWithinLimit();
}

bool TLibEdit::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) KeepWithinLimit();
    return TLibControl::Reflected(message, wParam, lParam, result);
}

void TLibEdit::KeepWithinLimit() {
    if (maxLength_ <= 0) return;
    std::string text = Text();
    if (text.size() <= static_cast<std::size_t>(maxLength_)) return;
    std::size_t keep = 0;
    while (keep < text.size()) {
        std::size_t next = keep + (platform::IsLeadByte(text[keep]) ? 2 : 1);
        if (next > static_cast<std::size_t>(maxLength_)) break;
        keep = next;
    }
    SetText(text.substr(0, keep));
    int end = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), EM_SETSEL, end, end);
    MessageBeep(MB_OK);
}

void TLibEdit::SetReadOnly(bool readOnly) { SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0); }

// A field keeps its own look, also when it is disabled or read-only.
HBRUSH TLibEdit::ControlColour(HDC) { return nullptr; }

TMemo::TMemo(HWND parent, int id, const Bounds& bounds) {
    Create(L"EDIT",
           ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL | WS_VISIBLE,
           WS_EX_CLIENTEDGE, parent, id, bounds, "");
    // The default limit of 32K characters would silently stop a long run's log.
    SendMessageW(Handle(), EM_LIMITTEXT, 0, 0);
}

void TMemo::Clear() {
    SetWindowTextW(Handle(), L"");
    lineCount_ = 0;
}

void TMemo::AddLine(std::string_view line) {
    std::wstring text = platform::Cp932ToWide(line);
    if (lineCount_ > 0) text.insert(0, L"\r\n");
    int end = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), EM_SETSEL, end, end);
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ++lineCount_;
}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    if (lineCount_ == 0) return lines;
    const std::string all = Text();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = all.find("\r\n", start);
        lines.push_back(
            all.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

HBRUSH TMemo::ControlColour(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

}  // namespace velmo::controls
