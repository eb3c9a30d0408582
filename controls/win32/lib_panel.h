// TLibPanel: the family's container, a coloured area that holds other controls.
#pragma once

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibPanel : public TLibControl {
  public:
    // font: the layout's font for the panel and the controls put on it; none keeps the
    // container's.
    TLibPanel(HWND parent, int id, const Bounds& bounds, HFONT font = nullptr,
              std::string_view caption = {});

    bool OriginalStyle() const { return originalStyle_; }
    void SetOriginalStyle(bool on);

    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF colour);
    // A lowered inner bevel of the width, inside a single border line.
    void SetLoweredBevel(int width);
    // Colour of the caption text (the window-text colour unless set).
    void SetTextColour(COLORREF colour);

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnEraseBackground(WPARAM wParam);
    LRESULT OnPaint();
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnChildNotification(UINT message, WPARAM wParam, LPARAM lParam);

    bool originalStyle_ = false;
    COLORREF colour_;
    COLORREF textColour_ = CLR_INVALID;
    HFONT font_ = nullptr;
    int bevel_ = 0;
};

}  // namespace velmo::controls
