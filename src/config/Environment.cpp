#include "config/Environment.h"

#include "config/BackendHosts.h"
#include "utils/TextConversion.h"

std::string environmentName(Environment environment) {
  switch (environment) {
  case Environment::DEV:
    return "DEV";
  case Environment::INTEGRATION:
    return "INTEGRATION";
  case Environment::SANDBOX:
    return "SANDBOX";
  case Environment::PRODUCTION:
    return "PRODUCTION";
  }
  return "Unknown";
}

std::wstring eventsEndpoint(Environment environment) {
  // The non-production servers listen on 8443; production on the default HTTPS port.
  const wchar_t* const port = L":8443";
  switch (environment) {
  case Environment::DEV:
    return L"https://" + toUtf16(BackendHosts::eventsDev) + port;
  case Environment::INTEGRATION:
    return L"https://" + toUtf16(BackendHosts::eventsIntegration) + port;
  case Environment::SANDBOX:
    return L"https://" + toUtf16(BackendHosts::eventsSandbox) + port;
  case Environment::PRODUCTION:
    break;
  }
  return L"https://" + toUtf16(BackendHosts::eventsProduction);
}
