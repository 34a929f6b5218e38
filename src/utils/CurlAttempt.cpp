#include "utils/DownloadUtils.h"

#include "utils/Clock.h"
#include "utils/CurlHandles.h"
#include "utils/DownloadCallbacks.h"
#include "utils/Files.h"
#include "utils/TextConversion.h"

namespace {

// Sets the transfer's options in their order; the first one the library refuses ends it.
CURLcode setOptions(CURL* curl, const std::string& url, std::FILE* file, DownloadMetrics& metrics,
                    TransferProgress& progress, curl_slist* headers, const DownloadLimits& limits) {
  CURLcode code = CURLE_OK;
  const auto set = [&](CURLoption option, auto value) {
    if (code == CURLE_OK) {
      code = curl_easy_setopt(curl, option, value);
    }
  };
  set(CURLOPT_URL, url.c_str());
  set(CURLOPT_WRITEFUNCTION, &writeToFile);
  set(CURLOPT_WRITEDATA, file);
  set(CURLOPT_NOPROGRESS, 0L);
  set(CURLOPT_HEADERFUNCTION, &onHeaderLine);
  set(CURLOPT_HEADERDATA, &metrics);
  set(CURLOPT_XFERINFODATA, &progress);
  set(CURLOPT_XFERINFOFUNCTION, &onTransferProgress);
  set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_LOW_SPEED_TIME, limits.lowSpeedTime);
  set(CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedLimit);
  set(CURLOPT_NOPROXY, "*");
  if (limits.receiveBufferBytes > 0) {
    set(CURLOPT_BUFFERSIZE, limits.receiveBufferBytes);
  }
  if (limits.receiveSocketBytes > 0) {
    // libcurl passes the data on untouched; the callback only reads it.
    set(CURLOPT_SOCKOPTFUNCTION, &onSocketOpened);
    set(CURLOPT_SOCKOPTDATA, const_cast<DownloadLimits*>(&limits));
  }
  return code;
}

// A microsecond figure of the library as milliseconds, when it reports one above 0.
void readMilliseconds(CURL* curl, CURLINFO info, std::int64_t& field) {
  curl_off_t microseconds = 0;
  if (curl_easy_getinfo(curl, info, &microseconds) == CURLE_OK && microseconds > 0) {
    field = static_cast<std::int64_t>(microseconds) / 1000;
  }
}

// The measures of a completed transfer, in the order the library is asked for them.
TransferTimings readTimings(CURL* curl, DownloadMetrics& metrics) {
  TransferTimings timings;
  readMilliseconds(curl, CURLINFO_TOTAL_TIME_T, timings.download_time);
  curl_off_t speed = 0;
  if (curl_easy_getinfo(curl, CURLINFO_SPEED_DOWNLOAD_T, &speed) == CURLE_OK && speed > 0) {
    timings.download_speed = static_cast<std::int64_t>(speed);
  }
  readMilliseconds(curl, CURLINFO_NAMELOOKUP_TIME_T, timings.lookup_time);
  readMilliseconds(curl, CURLINFO_CONNECT_TIME_T, timings.connect_time);
  long status = 0;
  if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status > 0) {
    metrics.response_code = status;
  }
  return timings;
}

} // namespace

int DownloadEngine::curlAttempt(const std::wstring& ident, const std::wstring& url,
                                const std::wstring& targetPath, ProgressCallback progress) {
  const UniqueCurl curl(curl_easy_init());
  if (!curl) {
    return CURLE_FAILED_INIT;
  }
  DownloadMetrics metrics;
  TransferProgress transfer{false, tickCountMs(), std::move(progress), &limits_, &hooks_};
  // The content delivery network answers this with its cache headers.
  const UniqueCurlList headers(
      curl_slist_append(nullptr, "Pragma:akamai-x-cache-on, akamai-x-cache-remote-on"));
  UniqueFile file(openFileForWriting(targetPath));
  if (!file) {
    return CURLE_FILE_COULDNT_READ_FILE;
  }
  CURLcode code =
      setOptions(curl.get(), toUtf8(url), file.get(), metrics, transfer, headers.get(), limits_);
  if (code == CURLE_OK) {
    code = curl_easy_perform(curl.get());
  }
  if (code != CURLE_OK) {
    return code;
  }
  const TransferTimings timings = readTimings(curl.get(), metrics);
  // A completed transfer with a redirect or an error status is a failed attempt all the same.
  int result = metrics.response_code < 200 || metrics.response_code > 299
                   ? CURLE_REMOTE_FILE_NOT_FOUND
                   : CURLE_OK;
  if (hooks_.transferCompleted) {
    hooks_.transferCompleted(toUtf8(ident), timings, metrics);
  }
  file.reset();
  // The last report passed on did not show the whole file: the body ended early.
  return result == CURLE_OK && !transfer.complete ? CURLE_RECV_ERROR : result;
}
