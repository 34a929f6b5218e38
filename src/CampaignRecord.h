// The campaign record's text form: the hexadecimal digits of the download tag and the string
// members of the JSON object they spell. Pure functions, apart from the step that uses them.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The bytes that `text` spells as hexadecimal digits, two per byte, high digit first; "0"-"9",
// "a"-"f" and "A"-"F" count. A last unpaired digit is ignored. Empty for the empty text and for
// a text holding any character that is no hexadecimal digit (the tag is then undecodable).
std::string hexDecode(const std::string& text);

// Copies the member `name` of `record` into `field` when the record is an object holding it as a
// string (UTF-8, as the JSON parser checked it); leaves `field` as it is otherwise. Never throws.
void readCampaignMember(const nlohmann::json& record, const char* name, std::string& field);
