// The preview window: the next piece in its arriving rotation, named by the window's
// user-data word (rotation in the high half, kind in the low half).
#pragma once

#include <windows.h>

inline constexpr const wchar_t* PREVIEW_CLASS = L"VarnekKostrel_Preview";
inline constexpr const wchar_t* PREVIEW_NAME = L"preview";

constexpr int PREVIEW_PIXEL_SIDE = 4 * 20;

LRESULT CALLBACK PreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam);
