#include "InstallerApp.h"

#include <gtest/gtest.h>

namespace {

TEST(ClientLaunch, StartUrlFromTheCampaign) {
  const struct {
    std::string gameId, gameLocale;
    std::wstring url;
  } cases[] = {
      {"", "", L"qmclient://start"},
      {"", "deu_deu", L"qmclient://start"},
      {"123", "deu_deu", L"qmclient://game-login?game=123&region=de-DE"},
      {"123", "DE_de", L"qmclient://game-login?game=123&region=de-DE"},
      {"123", "", L"qmclient://game-login?game=123"},
      {"123", "prt_por", L"qmclient://game-login?game=123&region=pt_PT"},
      {"123", "Xx_Yy", L"qmclient://game-login?game=123&region=Xx_Yy"},
      // Values reach the URL unescaped.
      {"1&2 ?x", "a&b", L"qmclient://game-login?game=1&2 ?x&region=a&b"},
      {"\xC3\xA4", "", L"qmclient://game-login?game=\u00E4"},
  };
  InstallerApp app;
  for (const auto& c : cases) {
    app.gameId = c.gameId;
    app.gameLocale = c.gameLocale;
    EXPECT_EQ(app.clientStartUrl(), c.url) << c.gameId << " " << c.gameLocale;
  }
}

} // namespace
