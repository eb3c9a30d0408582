// TLibCBox: the family's drop-down list, owner-drawn in the house look.
#pragma once

#include <string>
#include <vector>

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibCBox : public TLibControl {
  public:
    // bounds.height is the closed box's height; the list drops below it.
    TLibCBox(HWND parent, int id, const Bounds& bounds);

    bool OriginalStyle() const { return originalStyle_; }
    void SetOriginalStyle(bool on);

    void Clear();
    void Add(std::string_view item);
    int Count() const;
    std::vector<std::string> Items() const;
    int ItemIndex() const;  // -1: nothing selected
    void SetItemIndex(int index);
    // Selects the item whose text is exactly `text`; none such leaves no selection.
    void SelectText(std::string_view text);
    int ItemHeight() const { return itemHeight_; }

    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void MeasureItem(MEASUREITEMSTRUCT& item) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    std::string ItemText(int index) const;

    bool originalStyle_ = false;
    int itemHeight_ = 18;
};

}  // namespace velmo::controls
