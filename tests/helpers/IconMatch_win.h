// Which icon a window shows, told from its pixels on the screen: icons are objects of the process
// that loaded them, so another process cannot ask the window for its icon's image.
#pragma once

#include <windows.h>

#include <string>

// The icon that the icon control `control` shows on the screen: "error" (IDI_ERROR), "shield"
// (IDI_SHIELD), "main" (the installer's icon 32512, which this program carries too) or "unknown"
// when none is close. The control must be visible and not covered.
std::string matchIcon(HWND control);
