#include "events/EventDispatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "config/RegistryFactsFixture.h"
#include "events/SystemInfo.h"
#include "utils/Clock.h"
#include "utils/Registry.h"

namespace {

// The events of a dispatcher that is never initialized stay held, so the tests read the event
// operations' output without a network.
class EventDispatcherTest : public RegistryFactsTest {
protected:
  // The one event that `raise` handed over, parsed.
  nlohmann::json onlyEvent(const std::function<void()>& raise) {
    raise();
    const std::vector<std::string> held = dispatcher.takeHeldEvents();
    if (held.size() != 1) {
      ADD_FAILURE() << held.size() << " events";
      return nullptr;
    }
    return nlohmann::json::parse(held[0]);
  }

  // The keys of `event` apart from the five of the envelope, with their values.
  static std::map<std::string, nlohmann::json> ownKeys(const nlohmann::json& event) {
    std::map<std::string, nlohmann::json> keys;
    for (const auto& item : event.items()) {
      keys.emplace(item.key(), item.value());
    }
    for (const char* envelope : {"client_installation_id", "client_version_info", "localtime",
                                 "type", "update_channel_string"}) {
      EXPECT_EQ(keys.erase(envelope), 1u) << envelope;
    }
    return keys;
  }

  EventDispatcher dispatcher;
};

std::int64_t number(const nlohmann::json& text) { return std::stoll(text.get<std::string>()); }

TEST_F(EventDispatcherTest, EventsWithoutKeysOfTheirOwn) {
  const std::pair<const char*, std::function<void()>> events[] = {
      {"installer_started", [&] { dispatcher.sendInstallerStarted(); }},
      {"installer_client_download_start", [&] { dispatcher.sendClientDownloadStart(); }},
      {"installation_started", [&] { dispatcher.sendInstallationStarted(); }},
  };
  for (const auto& event : events) {
    const nlohmann::json body = onlyEvent(event.second);
    EXPECT_EQ(body["type"], event.first);
    EXPECT_EQ(body["update_channel_string"], "FINAL");
    EXPECT_TRUE(ownKeys(body).empty()) << body;
  }
}

TEST_F(EventDispatcherTest, SystemInformationReportsTheMachine) {
  const nlohmann::json body = onlyEvent([&] { dispatcher.sendSystemInformation(); });
  EXPECT_EQ(body["type"], "installer_system_information");
  const auto keys = ownKeys(body);
  EXPECT_EQ(keys.size(), 3u);
  EXPECT_EQ(body["emulated_windows_version"], "");
  const OsVersion version = queryOsVersion();
  const std::string versionName = std::to_string(version.major) + "." +
                                  std::to_string(version.minor) + "." +
                                  std::to_string(version.build);
  EXPECT_EQ(body["osinfo"], (nlohmann::json{{"build", std::to_string(version.build)},
                                            {"major", std::to_string(version.major)},
                                            {"minor", std::to_string(version.minor)},
                                            {"sp_major", std::to_string(version.servicePackMajor)},
                                            {"sp_minor", std::to_string(version.servicePackMinor)},
                                            {"name", windowsVersionName(version)},
                                            {"version_name", versionName}}));
  const nlohmann::json& memory = body["memoryinfo"];
  EXPECT_EQ(memory.size(), 5u);
  const auto total = static_cast<std::uint64_t>(number(memory["total"]));
  const auto available = static_cast<std::uint64_t>(number(memory["available"]));
  EXPECT_GT(total, 0u);
  EXPECT_LE(available, total);
  EXPECT_LE(number(memory["load"]), 100);
  EXPECT_EQ(memory["s_total"], formatSize(total));
  EXPECT_EQ(memory["s_available"], formatSize(available));
}

TEST_F(EventDispatcherTest, UnsupportedPlatformNamesTheVersion) {
  const nlohmann::json body = onlyEvent([&] { dispatcher.sendUnsupportedPlatform(); });
  const OsVersion version = queryOsVersion();
  EXPECT_EQ(body["type"], "installer_unsupported_platform");
  EXPECT_EQ(ownKeys(body).size(), 3u);
  EXPECT_EQ(body["sys_identifier"], std::to_string(version.major) + "." +
                                        std::to_string(version.minor) + "." +
                                        std::to_string(version.build));
  EXPECT_EQ(body["sys_name"], windowsVersionName(version));
  EXPECT_EQ(body["emulated_windows_version"], "");
}

TEST_F(EventDispatcherTest, TheCampaignEventNeedsAnInjectionAndLeavesOutEmptyValues) {
  const struct {
    std::string game, injection, locale, client;
    std::map<std::string, nlohmann::json> keys; // empty: no event at all
  } cases[] = {
      {"123",
       "spring",
       "deu_deu",
       "1.2",
       {{"qwevent", "STUB_INSTALLER_STARTED"},
        {"game_id", "123"},
        {"injection_id", "spring"},
        {"game_locale", "deu_deu"},
        {"google_client_id", "1.2"}}},
      {"123",
       "spring",
       "",
       "1.2",
       {{"qwevent", "STUB_INSTALLER_STARTED"},
        {"game_id", "123"},
        {"injection_id", "spring"},
        {"google_client_id", "1.2"}}},
      {"", "spring", "", "", {{"qwevent", "STUB_INSTALLER_STARTED"}, {"injection_id", "spring"}}},
      {"123", "", "deu_deu", "1.2", {}},
  };
  for (const auto& c : cases) {
    dispatcher.sendStubInstallerStarted(c.game, c.injection, c.locale, c.client);
    const std::vector<std::string> held = dispatcher.takeHeldEvents();
    ASSERT_EQ(held.size(), c.keys.empty() ? 0u : 1u) << c.injection;
    if (!held.empty()) {
      const nlohmann::json body = nlohmann::json::parse(held[0]);
      EXPECT_EQ(body["type"], "STUB_INSTALLER_STARTED");
      EXPECT_EQ(ownKeys(body), c.keys) << held[0];
    }
  }
}

TEST_F(EventDispatcherTest, AValueThatIsNoValidUtf8ThrowsAndDispatchesNothing) {
  EXPECT_THROW(dispatcher.sendStubInstallerStarted("\xC3", "spring", "", ""),
               nlohmann::json::type_error);
  EXPECT_THROW(dispatcher.sendDownloadPerformed("\xFF", 1, 2, 3, 4, DownloadMetrics{}),
               nlohmann::json::type_error);
  EXPECT_TRUE(dispatcher.takeHeldEvents().empty());
  // A broken UTF-16 text from the platform costs nothing: the closing event still goes.
  dispatcher.sendInstallerClose(std::wstring(1, wchar_t(0xD800)));
  EXPECT_EQ(dispatcher.takeHeldEvents().size(), 1u);
}

TEST_F(EventDispatcherTest, DownloadEventsCarryTheirMeasures) {
  DownloadMetrics metrics{"HIT", "TCP_HIT", "MISS", "TCP_MISS", 404};
  const nlohmann::json performed = onlyEvent(
      [&] { dispatcher.sendDownloadPerformed("clientversioninfo", 1500, -1, 20, 4096, metrics); });
  EXPECT_EQ(ownKeys(performed), (std::map<std::string, nlohmann::json>{
                                    {"ident", "clientversioninfo"},
                                    {"download_time", "1500"},
                                    {"lookup_time", "-1"},
                                    {"connect_time", "20"},
                                    {"download_speed", "4096"},
                                    {"response_code", "404"},
                                    {"x_cache", "HIT"},
                                    {"x_cache_type", "TCP_HIT"},
                                    {"x_cache_remote", "MISS"},
                                    {"x_cache_remote_type", "TCP_MISS"},
                                }));

  DownloadResult result;
  result.curl_result = 28;
  result.windows_result = static_cast<std::int32_t>(0x800C0005);
  result.download_method = L"windows";
  const nlohmann::json unmarked = onlyEvent([&] { dispatcher.sendClientDownloaded(result); });
  EXPECT_EQ(unmarked["duration"], "2147483647");
  dispatcher.markDownloadStart();
  const nlohmann::json downloaded = onlyEvent([&] { dispatcher.sendClientDownloaded(result); });
  EXPECT_EQ(downloaded["type"], "installer_client_downloaded");
  EXPECT_EQ(downloaded["download_method"], "windows");
  EXPECT_EQ(downloaded["curl_result"], "28");
  EXPECT_EQ(downloaded["windows_result"], "-2146697211");
  EXPECT_GE(number(downloaded["duration"]), 0);
  EXPECT_LT(number(downloaded["duration"]), 600000);
  EXPECT_EQ(ownKeys(downloaded).size(), 4u);
}

TEST_F(EventDispatcherTest, InstallationEvents) {
  const nlohmann::json external = onlyEvent([&] { dispatcher.sendInstallerExternal(0xFFFFFFFFu); });
  EXPECT_EQ(ownKeys(external),
            (std::map<std::string, nlohmann::json>{{"exit_code", "4294967295"}}));
  EXPECT_EQ(onlyEvent([&] { dispatcher.sendInstallationDone(); })["duration"], "2147483647");
  dispatcher.markInstallationStart();
  const nlohmann::json done = onlyEvent([&] { dispatcher.sendInstallationDone(); });
  EXPECT_EQ(ownKeys(done).size(), 1u);
  EXPECT_GE(number(done["duration"]), 0);
  EXPECT_LT(number(done["duration"]), 600000);
}

TEST_F(EventDispatcherTest, TheClosingEventReportsOutcomeDurationAndInstallation) {
  const nlohmann::json unmeasured = onlyEvent([&] { dispatcher.sendInstallerClose(L"success"); });
  EXPECT_EQ(ownKeys(unmeasured), (std::map<std::string, nlohmann::json>{
                                     {"duration", "2147483647"},
                                     {"error", "success"},
                                     {"installer_installed", "0"},
                                 }));
  // The run began 1.5 seconds ago.
  dispatcher.setRunStart(systemTime100ns() - 15000000);
  dispatcher.setInstalled(true);
  const nlohmann::json body =
      onlyEvent([&] { dispatcher.sendInstallerClose(L"SingleInstanceOnly"); });
  EXPECT_EQ(body["error"], "SingleInstanceOnly");
  EXPECT_EQ(body["installer_installed"], "1");
  EXPECT_GE(number(body["duration"]), 1500);
  EXPECT_LT(number(body["duration"]), 600000);
}

TEST_F(EventDispatcherTest, HeldEventsKeepTheirOrderAndWireForm) {
  dispatcher.dispatch("first");
  dispatcher.sendInstallerStarted();
  dispatcher.dispatch("third");
  const std::vector<std::string> held = dispatcher.takeHeldEvents();
  ASSERT_EQ(held.size(), 3u);
  EXPECT_EQ(held[0], "first");
  EXPECT_EQ(held[1].rfind(R"({"client_installation_id":")", 0), 0u) << held[1];
  EXPECT_EQ(held[2], "third");
  EXPECT_TRUE(dispatcher.takeHeldEvents().empty());
}

TEST(ElapsedMs, IsClampedToThe32BitRange) {
  const std::int64_t now = EventDispatcher::currentTimeMs();
  EXPECT_EQ(EventDispatcher::elapsedMsText(0), "2147483647");
  EXPECT_EQ(EventDispatcher::elapsedMsText(now + 10000000000LL), "-2147483648");
  // A start in the future (the wall clock set back since) gives a negative text.
  const std::int64_t ahead = std::stoll(EventDispatcher::elapsedMsText(now + 3600000));
  EXPECT_LE(ahead, -3600000 + 600000);
  EXPECT_GT(ahead, -3600000 - 1);
  const std::int64_t elapsed = std::stoll(EventDispatcher::elapsedMsText(now - 1500));
  EXPECT_GE(elapsed, 1500);
  EXPECT_LT(elapsed, 1500 + 600000);
}

TEST(ElapsedMs, CurrentTimeIsTheWallClockInMilliseconds) {
  const std::int64_t before = systemTime100ns() / 10000;
  const std::int64_t now = EventDispatcher::currentTimeMs();
  const std::int64_t after = systemTime100ns() / 10000;
  EXPECT_LE(before, now);
  EXPECT_LE(now, after);
}

} // namespace
