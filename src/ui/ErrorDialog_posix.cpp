// Stands in for the error dialog on a terminal: prints the notice on standard error and, when
// standard input is a terminal, waits for Enter.
#include "ui/ErrorDialog.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "utils/TextConversion.h"

bool isTaskDialogAvailable() { return false; }

void showErrorDialog(const std::wstring& content, const std::wstring& heading,
                     const std::wstring& title) {
  std::string text = toUtf8Lenient(title) + "\n";
  if (heading != content) {
    text += toUtf8Lenient(heading) + "\n";
  }
  text += toUtf8Lenient(content) + "\n";
  std::fputs(text.c_str(), stderr);
  if (::isatty(STDIN_FILENO)) {
    std::fputs("Press Enter to continue.\n", stderr);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
  }
}
