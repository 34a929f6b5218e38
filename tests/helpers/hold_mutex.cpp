// Takes the installer's single-instance mutex with the installer's own code, prints "held" (or
// "taken" when another process holds it) and keeps it until its standard input ends. Stands in for
// a running copy of the installer in the single-instance tests.
#include <cstdio>
#include <iostream>
#include <string>

#include "utils/NamedMutex.h"

int main(int argc, char** argv) {
  const std::wstring name = L"Global\\_QM_INSTALLER_MASTER_INSTANCE";
  NamedMutexHandle owned;
  const NamedMutexOutcome outcome = createNamedMutex(name, owned);
  std::puts(outcome == NamedMutexOutcome::Created         ? "held"
            : outcome == NamedMutexOutcome::AlreadyExists ? "taken"
                                                          : "failed");
  std::fflush(stdout);
  if (argc > 1 && std::string(argv[1]) == "--once") {
    return 0;
  }
  for (std::string line; std::getline(std::cin, line);) {
    // Each line asks whether the mutex is still held by this process.
    std::puts(owned ? "still held" : "not held");
    std::fflush(stdout);
  }
  return 0;
}
