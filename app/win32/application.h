// TApplication: the program's three windows, created in order, and the message loop.
#pragma once

#include <memory>

#include "app/win32/settings_dialogs.h"
#include "app/win32/velmo_form.h"

namespace velmo::app {

class TApplication {
  public:
    // Creates VelmoForm, POPForm and NETForm, in that order; the first is the main window.
    explicit TApplication(const VelmoFormOptions& options);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    TVelmoForm& VelmoForm() { return *velmoForm_; }
    TPOPForm& POPForm() { return *popForm_; }
    TNETForm& NETForm() { return *netForm_; }

    // Shows the main window and runs the message loop until it closes.
    void Run();

  private:
    bool commonControls_;
    std::unique_ptr<TVelmoForm> velmoForm_;
    std::unique_ptr<TPOPForm> popForm_;
    std::unique_ptr<TNETForm> netForm_;
};

}  // namespace velmo::app
