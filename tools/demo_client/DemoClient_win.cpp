// The demo client on Windows: records the URL it was opened with and shows it in a small window,
// which closes itself after half a minute (QM_DEMO_CLIENT_SECONDS, for tests, sets another time).
#include <windows.h>

#include <cwchar>

#include "LaunchRecord.h"
#include "common/ToolArguments.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShownSeconds = 30;

UINT shownMilliseconds() {
  wchar_t value[16] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"QM_DEMO_CLIENT_SECONDS", value, 16);
  const unsigned long seconds =
      length > 0 && length < 16 ? std::wcstoul(value, nullptr, 10) : kShownSeconds;
  return static_cast<UINT>(seconds * 1000);
}
std::wstring shownText;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(window, &paint);
    RECT area;
    ::GetClientRect(window, &area);
    ::InflateRect(&area, -16, -16);
    ::DrawTextW(dc, shownText.c_str(), -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    ::EndPaint(window, &paint);
    return 0;
  }
  case WM_TIMER:
    ::DestroyWindow(window);
    return 0;
  case WM_DESTROY:
    ::PostQuitMessage(0);
    return 0;
  default:
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const std::vector<std::wstring> arguments = toolArguments(0, nullptr);
  const std::wstring url = arguments.empty() ? std::wstring() : arguments.front();
  recordLaunch(url);
  shownText = L"Quillmere Client (demo)\n\nOpened with:\n" + url;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"QuillmereDemoClient";
  ::RegisterClassW(&windowClass);
  const HWND window =
      ::CreateWindowW(L"QuillmereDemoClient", L"Quillmere Client (demo)", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 520, 220, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, show);
  ::SetTimer(window, kCloseTimer, shownMilliseconds(), nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
