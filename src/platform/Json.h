#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// Decoding never throws: malformed text is nothing.
std::optional<Json> parseJson(std::string_view text);
std::optional<OrderedJson> parseOrderedJson(std::string_view text);

// Lenient readers for server data: an absent key, null or a value of the
// wrong type reads as empty (""/0/false/empty container). Numbers given as
// numeric text are accepted where a number is expected, as servers do send them.
std::string jsonString(const Json& object, std::string_view key);
std::int64_t jsonInt(const Json& object, std::string_view key);
double jsonDouble(const Json& object, std::string_view key);
bool jsonBool(const Json& object, std::string_view key);
const Json& jsonObject(const Json& object, std::string_view key);  // empty object when not an object
const Json& jsonArray(const Json& object, std::string_view key);   // empty array when not an array
bool jsonHas(const Json& object, std::string_view key);            // present and not null
// The same readers for a value already found.
std::string jsonStringValue(const Json& value);
std::int64_t jsonIntValue(const Json& value);
double jsonDoubleValue(const Json& value);
bool jsonBoolValue(const Json& value);

// Text form of a scalar as a form field or query value ("2", "abc", "true", "1.5").
std::string jsonTextForm(const Json& value);

}  // namespace zorlet
