// TLibLabel: the family's static label.
#pragma once

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibLabel : public TLibControl {
  public:
    TLibLabel(HWND parent, int id, const Bounds& bounds, std::string_view caption);

    // Off at creation: the plain look on the container's background. On: white bold
    // text centred both ways on blue, 24 pixels high; switching it off keeps that look.
    bool OriginalStyle() const { return originalStyle_; }
    void SetOriginalStyle(bool on);
    // Text colour of the plain look (the window-text colour unless set).
    void SetTextColour(COLORREF colour);

  protected:
    HBRUSH ControlColour(HDC dc) override;

  private:
    bool originalStyle_ = false;
    bool styled_ = false;
    COLORREF textColour_ = CLR_INVALID;
};

}  // namespace velmo::controls
