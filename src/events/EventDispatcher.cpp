#include "events/EventDispatcher.h"

#include <limits>
#include <utility>

#include <openssl/crypto.h>
#include <openssl/ssl.h>

#include "BuildInfo.h"
#include "config/InstallerSettings.h"
#include "config/Selectors.h"
#include "credentials/CredentialStore.h"
#include "log/Log.h"
#include "utils/Clock.h"
#include "utils/TextConversion.h"

namespace {

// The events server's answer is never read.
std::size_t discardResponse(char*, std::size_t size, std::size_t count, void*) {
  return size * count;
}

// Sets the transfer's options in their order; the first one the library refuses ends it.
bool setTransferOptions(CURL* curl, const std::string& userAgent, const std::string& url) {
  CURLcode code = CURLE_OK;
  const auto set = [&](CURLoption option, auto value) {
    if (code == CURLE_OK) {
      code = curl_easy_setopt(curl, option, value);
    }
  };
  set(CURLOPT_USERAGENT, userAgent.c_str());
  set(CURLOPT_SSL_VERIFYPEER, 1L);
  set(CURLOPT_NOPROXY, "*");
  set(CURLOPT_SSL_VERIFYHOST, 2L);
  set(CURLOPT_SSL_CTX_FUNCTION, &CredentialStore::installCredentials);
  set(CURLOPT_TIMEOUT, 30L);
  set(CURLOPT_URL, url.c_str());
  set(CURLOPT_WRITEFUNCTION, &discardResponse);
  return code == CURLE_OK;
}

} // namespace

EventDispatcher& EventDispatcher::instance() {
  static EventDispatcher dispatcher;
  return dispatcher;
}

EventDispatcher::EventDispatcher() {
  // Initializes the TLS library before this object is complete, so that the library's own
  // clean-up at exit comes after this destructor has closed the transfer's connections.
  OPENSSL_init_ssl(0, nullptr);
}

EventDispatcher::~EventDispatcher() {
  for (const auto& thread : pendingThreads) {
    if (thread->joinable()) {
      thread->join();
    }
  }
  headers.reset();
  transfer.reset();
  if (globalInitDone) {
    curl_global_cleanup();
  }
}

bool EventDispatcher::initialize(std::int64_t startTime, Environment environment,
                                 UpdateChannel channel) {
  if (initializeCalled) {
    return initialized;
  }
  initializeCalled = true;
  {
    const std::lock_guard<std::mutex> lock(initMutex);
    initialized = configureTransfer(startTime, environment, channel);
  }
  std::vector<std::string> held = std::move(heldEvents);
  heldEvents.clear();
  for (std::string& body : held) {
    startSendThread(std::move(body));
  }
  return initialized;
}

bool EventDispatcher::configureTransfer(std::int64_t startTime, Environment environment,
                                        UpdateChannel channel) {
  if (!CredentialStore::instance().load()) {
    return false;
  }
  runStart = startTime / 10000;
  updateChannel = channel;
  endpointUrl = toUtf8(eventsEndpoint(environment));
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
    return false;
  }
  globalInitDone.exchange(true);
  transfer.reset(curl_easy_init());
  if (!transfer) {
    return false;
  }
  headers.reset(curl_slist_append(nullptr, "Content-Type: application/json"));
  if (curl_easy_setopt(transfer.get(), CURLOPT_HTTPHEADER, headers.get()) != CURLE_OK) {
    return false;
  }
  return setTransferOptions(transfer.get(), std::string("QuillmereInstaller/") + BuildInfo::label,
                            endpointUrl);
}

void EventDispatcher::setRunStart(std::int64_t startTime) { runStart = startTime / 10000; }

void EventDispatcher::setInstalled(bool value) { installed = value; }

std::int64_t EventDispatcher::currentTimeMs() { return systemTime100ns() / 10000; }

void EventDispatcher::markInstallationStart() { installationStart = currentTimeMs(); }

void EventDispatcher::markDownloadStart() { downloadStart = currentTimeMs(); }

std::string EventDispatcher::elapsedMsText(std::int64_t start) {
  std::int64_t elapsed = currentTimeMs() - start;
  if (elapsed > std::numeric_limits<std::int32_t>::max()) {
    elapsed = std::numeric_limits<std::int32_t>::max();
  } else if (elapsed < std::numeric_limits<std::int32_t>::min()) {
    elapsed = std::numeric_limits<std::int32_t>::min();
  }
  return std::to_string(elapsed);
}

void EventDispatcher::dispatch(std::string body) {
  try {
    if (initializeCalled) {
      startSendThread(std::move(body));
    } else {
      heldEvents.push_back(std::move(body));
    }
  } catch (...) {
    // Best effort: an event that cannot be kept (no memory) is lost.
  }
}

void EventDispatcher::startSendThread(std::string body) {
  try {
    auto thread = std::make_shared<std::thread>();
    pendingThreads.insert(thread);
    try {
      *thread = std::thread(&EventDispatcher::runSendThread, this, std::move(body));
    } catch (...) {
      pendingThreads.erase(thread);
    }
  } catch (...) {
    // No thread could be had (or recorded): the event is lost, as a failed send would be.
  }
}

void EventDispatcher::runSendThread(std::string body) {
  sendEvent(body);
  // Statically linked on Windows, OpenSSL cannot notice a thread's end, so the thread's error
  // queue and random generators would stay allocated: release them now, whatever the send gave.
  OPENSSL_thread_stop();
}

bool EventDispatcher::sendEvent(const std::string& body) {
  const std::lock_guard<std::mutex> lock(sendMutex);
  CURL* const curl = transfer.get();
  if (!curl || curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str()) != CURLE_OK) {
    return false;
  }
  if (curl_easy_perform(curl) != CURLE_OK) {
    return false;
  }
  long status = 0;
  if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) {
    return false;
  }
  QM_LOG("Sent event:" + body);
  return true;
}

void EventDispatcher::waitForEvents() {
  QM_LOG("Waiting for events being sent.");
  if (!initializeCalled && !heldEvents.empty()) {
    // Nobody set telemetry up (the run stopped before its monitoring step): the environment is
    // matched from installer.ini as the configuration step reads it; PRODUCTION when that fails.
    Environment environment = Environment::PRODUCTION;
    try {
      environment = matchEnvironment(readInstallerSettings(installerIniPath()).environment);
    } catch (...) {
    }
    initialize(runStart * 10000, environment, UpdateChannel::FINAL);
  }
  for (const auto& thread : pendingThreads) {
    if (thread->joinable()) {
      thread->join();
    }
  }
  pendingThreads.clear();
}

std::vector<std::string> EventDispatcher::takeHeldEvents() {
  std::vector<std::string> held = std::move(heldEvents);
  heldEvents.clear();
  return held;
}
