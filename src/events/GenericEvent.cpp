#include "events/GenericEvent.h"

#include "BuildInfo.h"
#include "config/InstallationId.h"
#include "events/SystemInfo.h"
#include "utils/TextConversion.h"

GenericEvent::GenericEvent(const std::string& name) : type(name) {
  nlohmann::json versionInfo = nlohmann::json::object();
  versionInfo["branch"] = BuildInfo::branch;
  versionInfo["commit_id"] = BuildInfo::commit_id;
  versionInfo["version"] = BuildInfo::version;
  body = nlohmann::json::object();
  body.emplace("client_version_info", std::move(versionInfo));
  addField("type", type);
  addField("localtime", localTimeText());
  // Leniently: an identifier that someone left as broken UTF-16 in the registry must not cost
  // the event (the closing event of the run among them).
  addField("client_installation_id", toUtf8Lenient(readInstallationId()));
}

void GenericEvent::addField(const std::string& key, const std::string& value) {
  body.emplace(key, value);
}

void GenericEvent::addObject(const std::string& key,
                             const std::unordered_map<std::string, std::string>& fields) {
  nlohmann::json object = nlohmann::json::object();
  for (const auto& field : fields) {
    object.emplace(field.first, field.second);
  }
  body.emplace(key, std::move(object));
}

void GenericEvent::addUpdateChannel(UpdateChannel channel) {
  addField("update_channel_string", updateChannelName(channel));
}

std::string GenericEvent::serialize() const { return body.dump(-1, ' ', false); }
