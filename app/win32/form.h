// TForm: the base of the program's windows: class registration, one handler per message,
// button clicks by control, modal showing and the message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "controls/win32/lib_control.h"

namespace velmo::app {

using controls::Bounds;

// What a form's frame looks like.
struct FormStyle {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
};

class TForm {
  public:
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return hwnd_; }
    std::string Caption() const;
    void SetCaption(std::string_view caption);
    HFONT Font() const { return font_; }
    void SetFont(HFONT font);

    bool Visible() const { return IsWindowVisible(hwnd_) != 0; }
    void Hide() { ShowWindow(hwnd_, SW_HIDE); }
    // Asks the window to close, as its system menu does.
    void Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

    // Shown with its owner disabled until it is hidden again (by its own close handling);
    // returns the modal result it was closed with.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // The outer frame on the screen and the client size.
    RECT WindowBounds() const;
    SIZE ClientSize() const;
    void SetClientSize(int width, int height);
    void SetOuterSize(int width, int height);
    void MoveTo(int left, int top);
    void CentreOnScreen();
    void SetTopMost(bool topMost);

    // The form behind one of our top-level windows, or nullptr.
    static TForm* FromHandle(HWND hwnd);

  protected:
    TForm(const wchar_t* className, std::string_view caption, const FormStyle& style, HWND owner,
          int clientWidth, int clientHeight);

    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;
    // The one handler of a message; a message without one gets the default handling.
    void On(UINT message, Handler handler);
    // The handler of a button's (or check box's) click.
    void OnClick(const controls::TLibControl& control, std::function<void()> handler);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // Destroys the window while the derived form still exists, so that its handlers run.
    void DestroyHandle();

  private:
    friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnChildNotification(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    bool modal_ = false;
    int modalResult_ = 0;
    std::map<UINT, Handler> handlers_;
    std::map<HWND, std::function<void()>> clicks_;
};

// Dispatches one message as the program's loops do: keyboard navigation within our windows
// first, then the window procedure.
void DispatchOne(MSG& msg);
// Processes every pending message, then returns. A quit request stays queued for the loop.
void ProcessMessages();

}  // namespace velmo::app
