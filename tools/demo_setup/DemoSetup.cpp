#include "DemoSetup.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <nlohmann/json.hpp>

#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/Registry.h"
#include "utils/TextConversion.h"

extern const unsigned char kEmbeddedClient[];
extern const std::size_t kEmbeddedClient_size;

namespace {

const wchar_t* const kUninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                     L"{5e1f0c3a-9b7d-4c2e-8a61-3f4d2b9c7e05}_is1";
const wchar_t* const kSchemeKey = L"Software\\Classes\\qmclient";

// Registers the "qmclient" URL scheme under `root`.
void registerScheme(RegistryRoot root, const std::wstring& client) {
  writeRegistryString(root, kSchemeKey, L"", L"URL:Quillmere Client");
  writeRegistryString(root, kSchemeKey, L"URL Protocol", L"");
  writeRegistryString(root, std::wstring(kSchemeKey) + L"\\shell\\open\\command", L"",
                      urlHandlerCommand(client));
}

std::filesystem::path besideProgram(const wchar_t* name) {
  return std::filesystem::u8path(toUtf8(joinPath(moduleDirectory(), name)));
}

SetupOptions readOptions() {
  SetupOptions options;
  std::ifstream file(besideProgram(L"QuillmereLoginSetup.options"));
  const nlohmann::json json = nlohmann::json::parse(file, nullptr, false);
  if (json.is_object()) {
    options.exitCode = json.value("exit_code", options.exitCode);
    options.secondExitCode = json.value("second_exit_code", options.secondExitCode);
    options.install = json.value("install", options.install);
    options.progressSteps = json.value("progress_steps", options.progressSteps);
    options.stepMilliseconds = json.value("step_ms", options.stepMilliseconds);
  }
  return options;
}

// Appends the run's arguments as one line to "QuillmereLoginSetup.runs" beside the program.
void recordRun(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    line += (line.empty() ? L"" : L" ") + argument;
  }
  std::ofstream(besideProgram(L"QuillmereLoginSetup.runs"), std::ios::app) << toUtf8(line) << "\n";
}

std::wstring argumentValue(const std::vector<std::wstring>& arguments, const std::wstring& name) {
  for (const std::wstring& argument : arguments) {
    if (argument.rfind(name, 0) == 0) {
      return argument.substr(name.size());
    }
  }
  return {};
}

void reportProgress(const std::vector<std::wstring>& arguments, const SetupOptions& options) {
  const std::wstring host = argumentValue(arguments, L"/host=");
  const std::wstring message = argumentValue(arguments, L"/msgId=");
  if (host.empty() || message.empty()) {
    return;
  }
  for (int step = 1; step <= options.progressSteps; ++step) {
    postSetupProgress(std::stoll(host), static_cast<std::uint32_t>(std::stoul(message)),
                      static_cast<std::uint32_t>(step),
                      static_cast<std::uint32_t>(options.progressSteps));
    std::this_thread::sleep_for(std::chrono::milliseconds(options.stepMilliseconds));
  }
}

// Writes the client, its uninstall entry (with the trailing separator setups write) and its URL
// scheme for the current user; also for the machine, because Wine's HKEY_CLASSES_ROOT shows only
// the machine's classes where Windows merges the user's in.
void installClient() {
  const std::wstring folder = clientInstallFolder();
  createDirectories(toUtf8(folder));
  const std::wstring client = joinPath(folder, L"qmclient.exe");
  std::ofstream(std::filesystem::u8path(toUtf8(client)), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(kEmbeddedClient),
             static_cast<std::streamsize>(kEmbeddedClient_size));
  allowRunning(client);
  writeRegistryString(RegistryRoot::LocalMachine, kUninstallKey, L"InstallLocation",
                      folder + kPathSeparator);
  writeRegistryString(RegistryRoot::LocalMachine, kUninstallKey, L"DisplayName",
                      L"Quillmere Client (demo)");
  registerScheme(RegistryRoot::CurrentUser, client);
  registerScheme(RegistryRoot::LocalMachine, client);
}

} // namespace

int runDemoSetup(const std::vector<std::wstring>& arguments) {
  const SetupOptions options = readOptions();
  recordRun(arguments);
  bool silent = false;
  for (const std::wstring& argument : arguments) {
    silent = silent || argument == L"/VERYSILENT";
  }
  reportProgress(arguments, options);
  if (options.install) {
    installClient();
  }
  return silent ? options.exitCode : options.secondExitCode;
}
