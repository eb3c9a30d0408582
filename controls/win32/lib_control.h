// The base of the control family: one window handle, its CP932 text, place, font and colours.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace velmo::controls {

// A place in the parent's client area, in pixels.
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

// One standard Windows control subclassed by its object. The object lives exactly as long as
// its owner (a form or a panel's form); the window dies with its parent or with the object,
// whichever comes first. Not copyable: the window knows its object by address.
class TLibControl {
  public:
    virtual ~TLibControl();
    TLibControl(const TLibControl&) = delete;
    TLibControl& operator=(const TLibControl&) = delete;

    HWND Handle() const { return hwnd_; }
    int Id() const;

    std::string Text() const;
    void SetText(std::string_view text);

    Bounds GetBounds() const;  // relative to the parent's client area
    void SetBounds(const Bounds& bounds);
    void SetTop(int top);
    void SetLeft(int left);

    bool Visible() const;  // its own flag, whatever its parents show
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    bool Focused() const;

    HFONT Font() const;
    void SetFont(HFONT font);

    // The object behind one of our windows, or nullptr for any other window.
    static TLibControl* FromHandle(HWND hwnd);

    // A notification the parent hands back to the control it is about (WM_COMMAND,
    // WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR...): true when the control answered it.
    virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The parent's way of passing such a notification to whichever child it concerns.
    static bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result);

  protected:
    TLibControl() = default;
    // Creates the window as a child of parent, in the parent's font, and subclasses it.
    void Create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id,
                const Bounds& bounds, std::string_view text);
    // Every message of the window; what a class does not handle goes to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Colours the parent asks for before the control paints: transparent text on the
    // parent's own background unless the class says otherwise.
    virtual HBRUSH ControlColour(HDC dc);

  private:
    friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND hwnd_ = nullptr;
};

// Any other standard control the windows hold (status bar, list box, progress bar).
class TPlainControl : public TLibControl {
  public:
    TPlainControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id,
                  const Bounds& bounds, std::string_view text = {}) {
        Create(className, style, exStyle, parent, id, bounds, text);
    }
};

// The background brush a container paints with (panels and forms answer it), so that
// labels and check boxes on it blend in. 0 when the window does not say.
inline constexpr UINT kGetBackgroundBrush = WM_APP + 0x3F00;
HBRUSH BackgroundBrushOf(HWND window);

}  // namespace velmo::controls
