// The application object: the forms and the loop that ends when the main window closes.
#include "app/win32/application.h"

#include <commctrl.h>

namespace velmo::app {

namespace {

// The status bar and progress bars are common controls: their classes must be registered
// before the first window is made.
bool InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&controls) != 0;
}

}  // namespace

TApplication::TApplication(const VelmoFormOptions& options)
    : commonControls_(InitialiseCommonControls()),
      velmoForm_(std::make_unique<TVelmoForm>(options)),
      popForm_(std::make_unique<TPOPForm>(velmoForm_->Handle())),
      netForm_(std::make_unique<TNETForm>(velmoForm_->Handle())) {
    velmoForm_->AttachDialogs(*popForm_, *netForm_);
    velmoForm_->OnClosed = [] { PostQuitMessage(0); };
}

// The dialogs go first: the main window owns them.
TApplication::~TApplication() {
    netForm_.reset();
    popForm_.reset();
    velmoForm_.reset();
}

void TApplication::Run() {
    velmoForm_->Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
}

}  // namespace velmo::app
