// The POP-before-FTP and dial-up settings dialogs.
#include "app/win32/settings_dialogs.h"

#include "controls/win32/house_look.h"

namespace velmo::app {
namespace {

constexpr int kClientWidth = 538, kClientHeight = 163;

enum ControlId {
    kPanel = 100,
    kLabel4,
    kField1,
    kLabel5,
    kEdit12,
    kLabel6,
    kEdit13,
    kDoneButton,
};

// One silver panel over the client area; three rows of caption and field; the button below.
constexpr Bounds kPanelPlace{0, 0, kClientWidth, kClientHeight};
constexpr int kRowTop[] = {16, 52, 88};
constexpr int kLabelLeft = 16, kFieldLeft = 200, kLabelWidth = 180, kFieldHeight = 24;
constexpr Bounds LabelAt(int row) { return {kLabelLeft, kRowTop[row] + 5, kLabelWidth, 18}; }
constexpr Bounds FieldAt(int row, int width) {
    return {kFieldLeft, kRowTop[row], width, kFieldHeight};
}
constexpr Bounds kDonePlace{209, 126, 120, 28};

}  // namespace

TSettingsDialog::TSettingsDialog(const wchar_t* className, std::string_view caption, HWND owner)
    : TForm(className, caption, FormStyle{}, owner, kClientWidth, kClientHeight) {
    SetFont(controls::HouseFont(controls::kFormFace));
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        CloseDialog();
        return 0;
    });
}

void TSettingsDialog::CloseDialog() {
    if (Modal())
        SetModalResult(IDOK);
    else
        Hide();
}

void TSettingsDialog::Centre() { CentreOnScreen(); }

TPOPForm::TPOPForm(HWND owner)
    : TSettingsDialog(L"TPOPForm", "POP before FTP", owner),
      LibPanel2(Handle(), kPanel, kPanelPlace, controls::HouseFont(controls::kPanelFace)),
      Label4(LibPanel2.Handle(), kLabel4, LabelAt(0), "ＰＯＰサーバ："),
      Edit11(LibPanel2.Handle(), kField1, FieldAt(0, 320)),
      Label5(LibPanel2.Handle(), kLabel5, LabelAt(1), "ユーザＩＤ："),
      Edit12(LibPanel2.Handle(), kEdit12, FieldAt(1, 320)),
      Label6(LibPanel2.Handle(), kLabel6, LabelAt(2), "パスワード："),
      Edit13(LibPanel2.Handle(), kEdit13, FieldAt(2, 200)),
      LibBtBtn2(LibPanel2.Handle(), kDoneButton, kDonePlace, "設定完了") {
    LibPanel2.SetColour(controls::kSilver);
    // The POP captions are short: the fields start further left, the server's is the widest.
    Edit11.SetBounds({130, kRowTop[0], 392, kFieldHeight});
    Edit12.SetLeft(130);
    Edit13.SetLeft(130);
    Edit13.SetPasswordChar(L'*');
    OnClick(LibBtBtn2, [this] { LibBtBtn2Click(); });
    Centre();
}

TNETForm::TNETForm(HWND owner)
    : TSettingsDialog(L"TNETForm", "ダイアルアップ接続設定", owner),
      LibPanel2(Handle(), kPanel, kPanelPlace, controls::HouseFont(controls::kPanelFace)),
      Label4(LibPanel2.Handle(), kLabel4, LabelAt(0), "ダイアルアップ接続先："),
      LibCBox1(LibPanel2.Handle(), kField1, FieldAt(0, 321)),
      Label5(LibPanel2.Handle(), kLabel5, LabelAt(1), "ユーザＩＤ："),
      Edit12(LibPanel2.Handle(), kEdit12, FieldAt(1, 321)),
      Label6(LibPanel2.Handle(), kLabel6, LabelAt(2), "パスワード："),
      Edit13(LibPanel2.Handle(), kEdit13, FieldAt(2, 200)),
      LibBtBtn2(LibPanel2.Handle(), kDoneButton, kDonePlace, "設定完了") {
    LibPanel2.SetColour(controls::kSilver);
    Edit13.SetPasswordChar(L'*');
    OnClick(LibBtBtn2, [this] { LibBtBtn2Click(); });
    Centre();
}

}  // namespace velmo::app
