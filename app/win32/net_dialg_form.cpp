// The dial-up progress window: three lines of text, a hidden abort button and progress bar.
#include "app/win32/net_dialg_form.h"

#include <commctrl.h>

#include "controls/win32/house_look.h"

namespace velmo::app {
namespace {

constexpr int kClientWidth = 263, kClientHeight = 99;

enum ControlId { kFace = 100, kLine1, kLine2, kLine3, kAbortButton, kProgressBar };

}  // namespace

TNetDialgForm::TNetDialgForm(HWND owner)
    : TForm(L"TNetDialgForm", "", FormStyle{WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW}, owner,
            kClientWidth, kClientHeight),
      LibPanel1(Handle(), kFace, {0, 0, kClientWidth, kClientHeight},
                controls::HouseFont(controls::kPanelFace)),
      LibPanel2(LibPanel1.Handle(), kLine1, {5, 11, 251, 32}),
      LibPanel3(LibPanel1.Handle(), kLine2, {5, 43, 251, 22}),
      LibPanel4(LibPanel1.Handle(), kLine3, {5, 64, 251, 22}),
      LibBtBtn(LibPanel1.Handle(), kAbortButton, {191, 40, 60, 24}, "中　断"),
      ProgressBar(PROGRESS_CLASSW, 0, 0, LibPanel1.Handle(), kProgressBar, {10, 44, 175, 18}) {
    // Purple shows only where the silver face leaves a gap.
    On(WM_CTLCOLORDLG, [](WPARAM, LPARAM) {
        return reinterpret_cast<LRESULT>(controls::SolidBrushOf(controls::kPurple));
    });
    SetFont(controls::HouseFont(controls::kFormFace));
    LibPanel1.SetColour(controls::kSilver);
    LibPanel1.SetLoweredBevel(2);
    for (controls::TLibPanel* line : {&LibPanel2, &LibPanel3, &LibPanel4})
        line->SetColour(controls::kSilver);
    LibPanel3.SetTextColour(controls::kGreen);
    LibPanel4.SetTextColour(controls::kRed);
    LibBtBtn.Hide();
    SendMessageW(ProgressBar.Handle(), PBM_SETRANGE32, 0, 100);
    OnClick(LibBtBtn, [this] { LibBtBtnClick(); });
    CentreOnScreen();
}

TNetDialgForm::~TNetDialgForm() { DestroyHandle(); }

void TNetDialgForm::Show() {
    FormShow();
    ShowWindow(Handle(), SW_SHOWNA);
    UpdateWindow(Handle());
}

}  // namespace velmo::app
