#include "EmbeddedInformation.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "InstallerApp.h"
#include "config/GoogleClientId.h"
#include "events/EventDispatcher.h"
#include "log/Log.h"
#include "omaha/TagExtractor.h"
#include "utils/Paths.h"
#include "utils/StringUtils.h"

namespace {

// The tag text of the open image, decoded; empty when there is no usable tag (none, one of
// length 0, one longer than kMaxEmbeddedTextBytes, no memory for it, or one that decodes to
// nothing).
std::string decodedTagText(omaha::TagExtractor& extractor) {
  std::int32_t count = 0;
  extractor.readTag(nullptr, &count);
  if (count < 1 || static_cast<std::size_t>(count) > kMaxEmbeddedTextBytes + 1) {
    return {};
  }
  try {
    std::vector<char> buffer(static_cast<std::size_t>(count), '\0');
    // On failure the buffer stays all zero: an empty text.
    extractor.readTag(buffer.data(), &count);
    return hexDecode(std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0')));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

// Fills the campaign record of `app` from the decoded tag `text`, stores the analytics client
// identifier, logs what the record lacks and sends the campaign event. Throws when the text is no
// JSON, and passes on any failure of storing or sending.
void readCampaignRecord(InstallerApp& app, const std::string& text) {
  app.embeddedInfo = nlohmann::json::parse(text);
  readCampaignMember(app.embeddedInfo, "g", app.gameId);
  readCampaignMember(app.embeddedInfo, "c", app.googleClientId);
  if (!app.googleClientId.empty()) {
    storeGoogleClientId(app.googleClientId);
  }
  readCampaignMember(app.embeddedInfo, "l", app.gameLocale);
  readCampaignMember(app.embeddedInfo, "i", app.injectionId);
  const std::pair<const std::string*, const char*> missing[] = {
      {&app.googleClientId, "Event without googleUserId found"},
      {&app.gameId, "Event without gameid found"},
      {&app.gameLocale, "Event without gamelocale found"},
      {&app.injectionId, "Event without injection id found. Will not send tracking event"},
  };
  for (const auto& field : missing) {
    if (field.first->empty()) {
      QM_LOG(field.second);
    }
  }
  EventDispatcher::instance().sendStubInstallerStarted(app.gameId, app.injectionId, app.gameLocale,
                                                       app.googleClientId);
}

} // namespace

void InstallerApp::extractEmbeddedInformation() { extractEmbeddedInformation(modulePath()); }

void InstallerApp::extractEmbeddedInformation(const std::wstring& imagePath) {
  omaha::TagExtractor extractor;
  if (!extractor.openImage(imagePath)) {
    QM_LOG("Could not find file to extract embedded data from");
    return;
  }
  bool success = false;
  const std::string text = decodedTagText(extractor);
  if (!text.empty()) {
    try {
      readCampaignRecord(*this, text);
      success = true;
    } catch (...) {
      QM_LOG("Could not extract embedded information");
    }
  }
  extractor.closeImage();
  if (!success) {
    try {
      EventDispatcher::instance().sendStubInstallerStarted(
          kEmbeddedInfoPlaceholder, kEmbeddedInfoPlaceholder, kEmbeddedInfoPlaceholder,
          kEmbeddedInfoPlaceholder);
    } catch (...) {
      // Telemetry never fails the run.
    }
  }
}
