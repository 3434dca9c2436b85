#pragma once
// Turns any argument of a remote call into its parameter text: the JSON text of the value. A text
// becomes a JSON string literal, a number its decimal text, a boolean true or false, a date its
// milliseconds since 1970, nil and null "null", lists, dictionaries and entities their JSON documents.

#include <string>

#include "platform/foundation/Value.h"

// Text is escaped as JSON requires, so a quote or backslash a user typed cannot break the parameter.
// A value the JSON writer refuses (NaN, for instance) becomes "null".
std::string openValue(const pf::Value& value);
