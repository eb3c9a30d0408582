// TNetDialgForm: the small always-on-top window that shows a dial or a hang-up under way.
#pragma once

#include "app/win32/form.h"
#include "controls/win32/lib_bt_btn.h"
#include "controls/win32/lib_panel.h"

namespace velmo::app {

// Made and freed by dial-up control around each dial and hang-up; never by start-up.
class TNetDialgForm : public TForm {
  public:
    explicit TNetDialgForm(HWND owner);
    ~TNetDialgForm() override;

    // Shows the window without taking the focus from the main window's run.
    void Show();

    controls::TLibPanel LibPanel1;  // the silver face over the purple ground
    controls::TLibPanel LibPanel2;  // entry name
    controls::TLibPanel LibPanel3;  // green second line
    controls::TLibPanel LibPanel4;  // red status line
    controls::TLibBtBtn LibBtBtn;   // "中　断"
    controls::TPlainControl ProgressBar;

    // Set by "中　断"; cleared each time the window is shown.
    bool AbortRequested = false;

  private:
    void FormShow() { AbortRequested = false; }
    void LibBtBtnClick() { AbortRequested = true; }
};

}  // namespace velmo::app
