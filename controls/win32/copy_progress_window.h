// The file copy's progress window: a small always-on-top window with a bar and a KB count.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "controls/lib_file.h"
#include "controls/win32/lib_control.h"
#include "controls/win32/lib_label.h"

namespace velmo::controls {

// Exists for one copy: made before it, destroyed after it.
class TCopyProgressWindow : public CopyProgress {
  public:
    // owner: the application's main window; pump: lets the application handle its messages.
    TCopyProgressWindow(HWND owner, std::function<void()> pump);
    ~TCopyProgressWindow() override;

    void Show() override;
    void SetCaption(const std::string& caption) override;
    void SetMaximum(std::int64_t maximum) override;
    void Update(std::int64_t copied, const std::string& label) override;
    void ProcessMessages() override;
    void Close() override;

    HWND Handle() const { return window_; }
    std::string Label() const { return label_ ? label_->Text() : std::string(); }

  private:
    HWND window_ = nullptr;
    std::unique_ptr<TPlainControl> bar_;
    std::unique_ptr<TLibLabel> label_;
    std::function<void()> pump_;
};

}  // namespace velmo::controls
