// The drop-down list: items as CP932 text, drawn by us at the house item height.
#include "controls/win32/lib_c_box.h"

#include "controls/win32/house_look.h"
#include "platform/text.h"

namespace velmo::controls {
namespace {

constexpr int kListRows = 8;

// Item height for a font of h pixels: 18 for the house font.
int ItemHeightFor(int h) { return h + (h - 16) / 2 + 2; }

}  // namespace

TLibCBox::TLibCBox(HWND parent, int id, const Bounds& bounds) {
    Bounds dropped = bounds;
    dropped.height = bounds.height + kListRows * itemHeight_;
    Create(L"COMBOBOX",
           CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP |
               WS_VISIBLE,
           0, parent, id, dropped, "");
    SetOriginalStyle(true);
}

void TLibCBox::SetOriginalStyle(bool on) {
    if (on == originalStyle_) return;
    originalStyle_ = on;
    if (!on) return;
    SetFont(HouseFont(FaceOf(Font()).empty() ? kFormFace : FaceOf(Font()), false));
    itemHeight_ = ItemHeightFor(kHouseFontPixels);
    // The closed box is the selection field plus its frame: 24 pixels in all.
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24 - 6);
}

void TLibCBox::Clear() { SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }

void TLibCBox::Add(std::string_view item) {
    std::wstring wide = platform::Cp932ToWide(item);
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int TLibCBox::Count() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::string TLibCBox::ItemText(int index) const {
    LRESULT n = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
    if (n == CB_ERR) return {};
    std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
    n = SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(n == CB_ERR ? 0 : static_cast<std::size_t>(n));
    return platform::WideToCp932(wide);
}

std::vector<std::string> TLibCBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < Count(); ++i) items.push_back(ItemText(i));
    return items;
}

int TLibCBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TLibCBox::SetItemIndex(int index) { SendMessageW(Handle(), CB_SETCURSEL, index, 0); }

void TLibCBox::SelectText(std::string_view text) {
    int found = -1;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (ItemText(i) == text) found = i;
    SetItemIndex(found);
}

bool TLibCBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_MEASUREITEM:
            MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        default:
            return TLibControl::Reflected(message, wParam, lParam, result);
    }
}

void TLibCBox::MeasureItem(MEASUREITEMSTRUCT& item) const { item.itemHeight = itemHeight_; }

void TLibCBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    // The closed box shows its item highlighted only while it has the focus.
    const bool closedBox = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const bool selected =
        (item.itemState & ODS_SELECTED) != 0 && (!closedBox || (item.itemState & ODS_FOCUS) != 0);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        std::wstring text = platform::Cp932ToWide(ItemText(static_cast<int>(item.itemID)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT r = item.rcItem;
        r.left += 2;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace velmo::controls
