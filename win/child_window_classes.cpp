// Registration of the board view's and the preview's window classes.
#include "win/child_window_classes.h"

#include "win/board_colours.h"
#include "win/board_view.h"
#include "win/preview_window.h"

bool registerChildWindowClasses(HINSTANCE instance) {
    // Shared by both classes and never deleted: the classes live as long as the program.
    HBRUSH black = CreateSolidBrush(BOARD_BLACK);

    WNDCLASSEXW viewClass = {};
    viewClass.cbSize = sizeof viewClass;
    viewClass.style = CS_HREDRAW | CS_VREDRAW;
    viewClass.lpfnWndProc = BoardViewProc;
    viewClass.hInstance = instance;
    viewClass.hbrBackground = black;
    viewClass.lpszClassName = BOARD_VIEW_CLASS;
    if (RegisterClassExW(&viewClass) == 0) return false;

    WNDCLASSEXW previewClass = viewClass;
    previewClass.lpfnWndProc = PreviewProc;
    previewClass.lpszClassName = PREVIEW_CLASS;
    return RegisterClassExW(&previewClass) != 0;
}
