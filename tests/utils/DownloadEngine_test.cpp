#include "utils/DownloadUtils.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"
#include "utils/SystemDownload.h"

namespace {

// The engine with a scripted system downloader: each system attempt takes the next result.
class DownloadEngineTest : public IsolatedTest {
protected:
  DownloadEngine engine(std::vector<std::int32_t> systemResults) {
    results = std::move(systemResults);
    DownloadHooks hooks;
    hooks.systemAttempt = [this](const std::wstring&, const std::wstring&, ProgressCallback) {
      return results.at(systemCalls++);
    };
    hooks.transferCompleted = [this](const std::string&, const TransferTimings&,
                                     const DownloadMetrics&) { ++events; };
    return DownloadEngine(DownloadLimits{}, hooks);
  }
  std::wstring target() const { return joinPath(wideFolder(), L"file.bin"); }

  std::vector<std::int32_t> results;
  std::size_t systemCalls = 0;
  int events = 0;
};

std::string failure(DownloadEngine& engine, const std::wstring& url, const std::wstring& target) {
  try {
    engine.downloadFile(L"test", url, target, {});
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "no failure";
}

// Nothing listens on port 9 of the loopback address: every libcurl attempt fails to connect.
const wchar_t* const kRefused = L"http://127.0.0.1:9/file.bin";

TEST_F(DownloadEngineTest, AnUnresolvableHostFailsAtOnceWithoutTheFallback) {
  DownloadEngine subject = engine({0});
  EXPECT_EQ(failure(subject, L"http://no-such-host.invalid/file.bin", target()), "ConnectionError");
  EXPECT_EQ(systemCalls, 0u);
  EXPECT_EQ(events, 0);
}

TEST_F(DownloadEngineTest, TheFallbackDeliversAfterFiveLibcurlFailures) {
  DownloadEngine subject = engine({kDownloadFailure, kDownloadFailure, 0});
  const DownloadResult result = subject.downloadFile(L"test", kRefused, target(), {});
  EXPECT_EQ(result.curl_result, 7); // CURLE_COULDNT_CONNECT, of the fifth attempt
  EXPECT_EQ(result.windows_result, 0);
  EXPECT_EQ(result.download_method, L"windows");
  EXPECT_EQ(systemCalls, 3u);
}

TEST_F(DownloadEngineTest, FiveFailedSystemAttemptsFailTheDownload) {
  DownloadEngine subject = engine(std::vector<std::int32_t>(5, kDownloadFailure));
  EXPECT_EQ(failure(subject, kRefused, target()), "DownloadFailed");
  EXPECT_EQ(systemCalls, 5u);
}

TEST_F(DownloadEngineTest, NothingFoundBySystemIsAConnectionError) {
  for (const std::int32_t notFound : {kResourceNotFound, kObjectNotFound}) {
    systemCalls = 0;
    DownloadEngine subject = engine({kDownloadFailure, notFound, 0});
    EXPECT_EQ(failure(subject, kRefused, target()), "ConnectionError");
    EXPECT_EQ(systemCalls, 2u);
  }
}

TEST_F(DownloadEngineTest, AnUnopenableTargetGoesStraightToTheFallback) {
  DownloadEngine subject = engine({0});
  const std::wstring missingFolder =
      joinPath(joinPath(wideFolder(), L"no such folder"), L"file.bin");
  const DownloadResult result = subject.downloadFile(L"test", kRefused, missingFolder, {});
  EXPECT_EQ(result.curl_result, 37); // CURLE_FILE_COULDNT_READ_FILE
  EXPECT_EQ(result.download_method, L"windows");
  EXPECT_EQ(systemCalls, 1u);
}

} // namespace
