// TPOPForm and TNETForm: the two settings dialogs that hold the POP and dial-up accounts.
#pragma once

#include "app/win32/form.h"
#include "controls/win32/lib_bt_btn.h"
#include "controls/win32/lib_c_box.h"
#include "controls/win32/lib_edit.h"
#include "controls/win32/lib_label.h"
#include "controls/win32/lib_panel.h"

namespace velmo::app {

// Both dialogs live as long as the program, so what they hold survives closing them. They
// have no cancel: whatever their fields hold when they close is what the main window uses.
class TSettingsDialog : public TForm {
  public:
    // Hides the dialog (by "設定完了" or the system menu); its fields keep their values.
    void CloseDialog();

  protected:
    TSettingsDialog(const wchar_t* className, std::string_view caption, HWND owner);
    void Centre();
};

class TPOPForm : public TSettingsDialog {
  public:
    explicit TPOPForm(HWND owner);

    controls::TLibPanel LibPanel2;
    controls::TLibLabel Label4;
    controls::TLibEdit Edit11;  // POP3 server
    controls::TLibLabel Label5;
    controls::TLibEdit Edit12;  // POP3 user
    controls::TLibLabel Label6;
    controls::TLibEdit Edit13;  // POP3 password
    controls::TLibBtBtn LibBtBtn2;

  private:
    void LibBtBtn2Click() { CloseDialog(); }
};

class TNETForm : public TSettingsDialog {
  public:
    explicit TNETForm(HWND owner);

    controls::TLibPanel LibPanel2;
    controls::TLibLabel Label4;
    controls::TLibCBox LibCBox1;  // phone-book entries, then "ＬＡＮ接続"
    controls::TLibLabel Label5;
    controls::TLibEdit Edit12;  // dial-up user
    controls::TLibLabel Label6;
    controls::TLibEdit Edit13;  // dial-up password
    controls::TLibBtBtn LibBtBtn2;

  private:
    void LibBtBtn2Click() { CloseDialog(); }
};

}  // namespace velmo::app
