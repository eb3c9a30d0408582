// TLibEdit: the family's one-line edit field.
#pragma once

#include <string>
#include <vector>

#include "controls/win32/lib_control.h"

namespace velmo::controls {

class TLibEdit : public TLibControl {
  public:
    TLibEdit(HWND parent, int id, const Bounds& bounds);

    // Shown as this character instead of the text; 0 shows the text.
    void SetPasswordChar(wchar_t c);
    // At most this many bytes of CP932 text: typing or pasting more is cut back with a beep.
    // 0 for no limit.
    void SetMaxLength(int bytes);
    int MaxLength() const { return maxLength_; }
    void SetReadOnly(bool readOnly);

    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  protected:
    HBRUSH ControlColour(HDC dc) override;

  private:
    void KeepWithinLimit();
    int maxLength_ = 0;
};

// A read-only, multi-line text box whose lines are only ever appended: the run log.
class TMemo : public TLibControl {
  public:
    TMemo(HWND parent, int id, const Bounds& bounds);

    void Clear();
    void AddLine(std::string_view line);
    // The lines as the box holds them.
    std::vector<std::string> Lines() const;

  protected:
    HBRUSH ControlColour(HDC dc) override;

  private:
    std::size_t lineCount_ = 0;
};

}  // namespace velmo::controls
