// The folder glyph, drawn with GDI so that the program carries no image files.
#include "app/win32/glyphs.h"

namespace velmo::app {

HBITMAP FolderGlyph() {
    static HBITMAP glyph = [] {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, 16, 16};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        HBRUSH yellow = CreateSolidBrush(RGB(240, 200, 64));
        HPEN outline = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
        HGDIOBJ oldBrush = SelectObject(dc, yellow);
        HGDIOBJ oldPen = SelectObject(dc, outline);
        Rectangle(dc, 1, 3, 7, 6);    // the tab
        Rectangle(dc, 1, 5, 15, 14);  // the folder
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(outline);
        DeleteObject(yellow);
        SelectObject(dc, old);
        DeleteDC(dc);
        return bitmap;
    }();
    return glyph;
}

}  // namespace velmo::app
