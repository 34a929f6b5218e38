// Looks at the installer's windows from another process, as a user and the client setup see
// them, for the end-to-end tests. A TARGET is a top-level window's exact title (the first such
// window that has no owner) or "#HANDLE" (decimal).
//
//   window_probe state TARGET               one JSON line: the window's state (see windowState)
//   window_probe post TARGET MSG WP LP      posts a message (decimal numbers)
//   window_probe post-all TITLE MSG WP LP   posts it to every window that TITLE finds and prints
//                                           {"posted": N}
//   window_probe send TARGET MSG WP LP      sends a message and prints {"result": N}
//   window_probe link TARGET                the first link of the window's text: its address and
//                                           a screen point on it, as JSON
//   window_probe popup-ok TARGET            presses OK in the message box the window owns
//   window_probe hold-event NAME            creates the named event set, prints "held" and keeps
//                                           it until standard input ends
//
// Exit code 0 on success, 2 when the window is not found, 1 for bad arguments.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "IconMatch_win.h"
#include "JsonText.h"
#include "common/ToolArguments.h"
#include "utils/Handles_win.h"

namespace {

constexpr UINT kTimeoutMs = 5000;
constexpr int kCloseButton = 1000;

void printLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The text of a window of any process (WM_GETTEXT, which the system carries across processes).
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs,
                             &length)) {
    return {};
  }
  std::vector<wchar_t> buffer(length + 1);
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, kTimeoutMs, &copied);
  return std::wstring(buffer.data(), copied);
}

std::wstring className(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

struct Search {
  std::wstring title;
  HWND owner = nullptr; // when set: the windows owned by it
  std::vector<HWND> found;
};

// The title of a top-level window as the system keeps it: no message is sent, so the hidden
// windows of a thread that is not pumping messages (a COM thread's, say) cannot hold the search.
std::wstring storedTitle(HWND window) {
  wchar_t title[512] = {};
  ::GetWindowTextW(window, title, 512); // 512 characters, the terminating zero included
  return title;
}

BOOL CALLBACK collectTopLevel(HWND window, LPARAM parameter) {
  Search& search = *reinterpret_cast<Search*>(parameter);
  const HWND owner = ::GetWindow(window, GW_OWNER);
  if (search.owner ? owner == search.owner
                   : (!owner && ::IsWindowVisible(window) && storedTitle(window) == search.title)) {
    search.found.push_back(window);
  }
  return TRUE;
}

HWND findTarget(const std::wstring& target) {
  if (!target.empty() && target[0] == L'#') {
    const HWND window =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(target.c_str() + 1, nullptr, 10)));
    return ::IsWindow(window) ? window : nullptr;
  }
  Search search;
  search.title = target;
  ::EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> ownedWindows(HWND owner) {
  Search search;
  search.owner = owner;
  ::EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK collectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::vector<HWND> children(HWND window) {
  std::vector<HWND> found;
  ::EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string rectJson(const RECT& rect) {
  return "[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "]";
}

RECT screenRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

std::string childJson(HWND child) {
  return "{\"class\":" + jsonString(className(child)) +
         ",\"id\":" + std::to_string(::GetDlgCtrlID(child)) +
         ",\"text\":" + jsonString(windowText(child)) +
         ",\"visible\":" + jsonBool(::IsWindowVisible(child)) +
         ",\"enabled\":" + jsonBool(::IsWindowEnabled(child)) +
         ",\"style\":" + std::to_string(::GetWindowLongW(child, GWL_STYLE)) +
         ",\"rect\":" + rectJson(screenRect(child)) + "}";
}

std::string popupsJson(HWND window) {
  std::string out = "[";
  for (const HWND popup : ownedWindows(window)) {
    if (!::IsWindowVisible(popup)) {
      continue;
    }
    std::string texts = "[";
    for (const HWND child : children(popup)) {
      const std::wstring text = windowText(child);
      if (!text.empty()) {
        texts += (texts.size() > 1 ? "," : "") + jsonString(text);
      }
    }
    out += (out.size() > 1 ? "," : "") +
           ("{\"handle\":" + std::to_string(reinterpret_cast<INT_PTR>(popup)) +
            ",\"title\":" + jsonString(windowText(popup)) + ",\"texts\":" + texts + "]}");
  }
  return out + "]";
}

// The window's state: its title, class, extended style (and whether it is laid out right to
// left), its children, the texts among them, the progress bar's position, whether the "Close"
// button (1000) is enabled and where it is, which icon its main icon shows, and the visible
// windows it owns (message boxes).
std::string windowState(HWND window) {
  std::string all = "[";
  std::string texts = "[";
  std::string progress = "null";
  std::string closeEnabled = "null";
  std::string closePoint = "null";
  HWND iconControl = nullptr;
  for (const HWND child : children(window)) {
    all += (all.size() > 1 ? "," : "") + childJson(child);
    const std::wstring text = windowText(child);
    const std::wstring kind = className(child);
    if (!text.empty()) {
      texts += (texts.size() > 1 ? "," : "") + jsonString(text);
    }
    if (kind == PROGRESS_CLASSW) {
      DWORD_PTR position = 0;
      ::SendMessageTimeoutW(child, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &position);
      progress = std::to_string(static_cast<int>(position));
    }
    if (::GetDlgCtrlID(child) == kCloseButton) {
      closeEnabled = jsonBool(::IsWindowEnabled(child));
      const RECT rect = screenRect(child);
      closePoint = "[" + std::to_string((rect.left + rect.right) / 2) + "," +
                   std::to_string((rect.top + rect.bottom) / 2) + "]";
    }
    if (kind == L"Static" && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        !iconControl) {
      iconControl = child;
    }
  }
  const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
  return "{\"handle\":" + std::to_string(reinterpret_cast<INT_PTR>(window)) +
         ",\"title\":" + jsonString(windowText(window)) +
         ",\"class\":" + jsonString(className(window)) +
         ",\"visible\":" + jsonBool(::IsWindowVisible(window)) +
         ",\"exstyle\":" + std::to_string(exStyle) +
         ",\"rtl\":" + jsonBool((exStyle & WS_EX_LAYOUTRTL) != 0) +
         ",\"rect\":" + rectJson(screenRect(window)) + ",\"texts\":" + texts + "]" +
         ",\"progress\":" + progress + ",\"close_enabled\":" + closeEnabled +
         ",\"close_point\":" + closePoint +
         ",\"icon\":" + (iconControl ? "\"" + matchIcon(iconControl) + "\"" : std::string("null")) +
         ",\"popups\":" + popupsJson(window) + ",\"children\":" + all + "]}";
}

// Memory in another process, for the link control's messages that carry a structure.
class RemoteBuffer {
public:
  RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    process_.reset(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (process_) {
      address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_) {
      ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool valid() const { return address_ != nullptr; }
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  bool write(const void* data) {
    return ::WriteProcessMemory(process_.get(), address_, data, size_, nullptr) != 0;
  }
  bool read(void* data) {
    return ::ReadProcessMemory(process_.get(), address_, data, size_, nullptr) != 0;
  }

private:
  UniqueKernelHandle process_;
  void* address_ = nullptr;
  std::size_t size_;
};

// The first link of the window's link control: its address and a screen point on it.
int describeLink(HWND window) {
  HWND link = nullptr;
  for (const HWND child : children(window)) {
    if (className(child) == WC_LINK) {
      link = child;
    }
  }
  if (!link) {
    printLine("{\"link\":null}");
    return 0;
  }
  RemoteBuffer remote(link, sizeof(LHITTESTINFO));
  LHITTESTINFO hit = {};
  RECT client = {};
  ::GetClientRect(link, &client);
  bool found = false;
  for (int y = 2; y < client.bottom && !found && remote.valid(); y += 3) {
    for (int x = 1; x < client.right && !found; x += 3) {
      hit = {};
      hit.pt = {x, y};
      DWORD_PTR result = 0;
      found = remote.write(&hit) &&
              ::SendMessageTimeoutW(link, LM_HITTEST, 0, remote.address(), SMTO_ABORTIFHUNG,
                                    kTimeoutMs, &result) &&
              result && remote.read(&hit);
    }
  }
  if (!found) {
    printLine("{\"link\":" + jsonString(windowText(link)) + ",\"url\":null,\"point\":null}");
    return 0;
  }
  POINT point = hit.pt;
  ::ClientToScreen(link, &point);
  printLine("{\"link\":" + jsonString(windowText(link)) + ",\"url\":" + jsonString(hit.item.szUrl) +
            ",\"point\":[" + std::to_string(point.x) + "," + std::to_string(point.y) + "]}");
  return 0;
}

int pressOkInPopup(HWND window) {
  for (const HWND popup : ownedWindows(window)) {
    if (const HWND ok = ::GetDlgItem(popup, IDOK)) {
      ::PostMessageW(ok, BM_CLICK, 0, 0);
      printLine("{\"pressed\":true}");
      return 0;
    }
  }
  printLine("{\"pressed\":false}");
  return 2;
}

int holdEvent(const std::wstring& name) {
  const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, TRUE, name.c_str()));
  printLine(event ? "held" : "failed");
  for (std::string line; std::getline(std::cin, line);) {
  }
  return 0;
}

UINT number(const std::wstring& text) {
  return static_cast<UINT>(std::wcstoll(text.c_str(), nullptr, 10));
}

int messageCommand(const std::wstring& verb, HWND window, const std::vector<std::wstring>& args) {
  const UINT message = number(args[2]);
  const WPARAM wParam = number(args[3]);
  const LPARAM lParam = static_cast<LPARAM>(std::wcstoll(args[4].c_str(), nullptr, 10));
  if (verb == L"post") {
    printLine("{\"posted\":" + jsonBool(::PostMessageW(window, message, wParam, lParam)) + "}");
    return 0;
  }
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
  printLine("{\"result\":" + std::to_string(static_cast<INT_PTR>(result)) + "}");
  return 0;
}

// Posts the message of `args` to every visible top-level window without owner titled args[1].
int postToAll(const std::vector<std::wstring>& args) {
  Search search;
  search.title = args[1];
  ::EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  int posted = 0;
  for (const HWND window : search.found) {
    posted += ::PostMessageW(window, number(args[2]), number(args[3]),
                             static_cast<LPARAM>(std::wcstoll(args[4].c_str(), nullptr, 10)))
                  ? 1
                  : 0;
  }
  printLine("{\"posted\":" + std::to_string(posted) + "}");
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::wstring> args = toolArguments(argc, argv);
  if (args.size() < 2) {
    std::fputs("usage: window_probe COMMAND TARGET ...\n", stderr);
    return 1;
  }
  const std::wstring& verb = args[0];
  if (verb == L"hold-event") {
    return holdEvent(args[1]);
  }
  if (verb == L"post-all" && args.size() == 5) {
    return postToAll(args);
  }
  const HWND window = findTarget(args[1]);
  if (!window) {
    printLine("{\"found\":false}");
    return 2;
  }
  if (verb == L"state") {
    printLine(windowState(window));
    return 0;
  }
  if (verb == L"link") {
    return describeLink(window);
  }
  if (verb == L"popup-ok") {
    return pressOkInPopup(window);
  }
  if ((verb == L"post" || verb == L"send") && args.size() == 5) {
    return messageCommand(verb, window, args);
  }
  std::fputs("unknown command\n", stderr);
  return 1;
}
