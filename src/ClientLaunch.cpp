#include "InstallerApp.h"

#include "log/Log.h"
#include "ui/LocalizationUtils.h"
#include "utils/Process.h"
#include "utils/TextConversion.h"

void InstallerApp::startClient() {
  const std::wstring url = clientStartUrl();
  QM_LOG(L"Starting client: " + url);
  shellOpen(url);
}

std::wstring InstallerApp::clientStartUrl() const {
  if (gameId.empty()) {
    return L"qmclient://start";
  }
  std::wstring url = L"qmclient://game-login?game=" + toUtf16(gameId);
  if (!gameLocale.empty()) {
    url += L"&region=" + LocalizationUtils::clientRegionCode(toUtf16(gameLocale));
  }
  return url;
}
