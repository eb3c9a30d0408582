// TLibCChk: the family's check box.
#pragma once

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibCChk : public TLibControl {
  public:
    TLibCChk(HWND parent, int id, const Bounds& bounds, std::string_view caption);

    bool Checked() const;
    void SetChecked(bool checked);
};

}  // namespace velmo::controls
