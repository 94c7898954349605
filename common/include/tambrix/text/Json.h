#pragma once

// JSON values as the tools build and write them: objects keep their keys in the
// order they were set.

#include <nlohmann/json.hpp>

#include <string>

namespace tambrix::text
{

using Json = nlohmann::ordered_json;

// The text of `value`: on one line unless `indent` is 0 or more. Bytes that are
// not UTF-8 (a plug-in's or a file's name may hold any) are written as U+FFFD.
inline std::string jsonText(const Json& value, int indent = -1)
{
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

} // namespace tambrix::text
