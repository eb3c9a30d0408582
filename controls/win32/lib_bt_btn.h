// TLibBtBtn: the family's push button, with an optional bitmap glyph.
#pragma once

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibBtBtn : public TLibControl {
  public:
    TLibBtBtn(HWND parent, int id, const Bounds& bounds, std::string_view caption);

    bool OriginalStyle() const { return originalStyle_; }
    void SetOriginalStyle(bool on);
    // A button that shows only the glyph (the caption is kept for screen readers).
    void SetGlyph(HBITMAP glyph);
    // What a mouse click does: the parent hears BN_CLICKED. Nothing when disabled.
    void Click();

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    bool originalStyle_ = false;
};

}  // namespace velmo::controls
