// One telemetry event under construction: the common envelope and the event's own keys, turned
// into the compact JSON text that is posted to the events server.
#pragma once

#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "config/UpdateChannel.h"

class GenericEvent {
public:
  // Builds the envelope of the event called `name`: "client_version_info" (an object of the
  // build's "branch", "commit_id" and "version"), "type", "localtime" (now) and
  // "client_installation_id" (read from the registry now; empty when none is stored). Without
  // "update_channel_string", which addUpdateChannel adds.
  explicit GenericEvent(const std::string& name);
  virtual ~GenericEvent() = default;

  // The three add operations insert only a key the body does not hold yet: a key added twice
  // keeps its first value. Keys and values are UTF-8; they are checked by serialize, not here.

  // Adds `key` with the string `value`.
  void addField(const std::string& key, const std::string& value);
  // Adds `key` with an object of the strings in `fields`.
  void addObject(const std::string& key,
                 const std::unordered_map<std::string, std::string>& fields);
  // Adds "update_channel_string" with the name of `channel`.
  void addUpdateChannel(UpdateChannel channel);

  // The wire form: no whitespace, keys in ascending byte order at every level, non-ASCII
  // characters as raw UTF-8, '"' and '\' escaped, \b \f \n \r \t and other control characters
  // as \u00XX. Throws nlohmann::json::type_error (id 316) when a key or value is no valid UTF-8.
  std::string serialize() const;

private:
  // The body: an object once the envelope is built; kept as a sorted map by the JSON library.
  nlohmann::json body;
  // The event's name.
  std::string type;
};
