#pragma once
// Base64 (RFC 4648, standard alphabet, with "=" padding), as HTTP authentication headers carry it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pf::base64 {

std::string encode(std::span<const std::uint8_t> bytes);
// Of the text's UTF-8 bytes.
std::string encode(std::string_view text);

// nullopt for anything but well-formed padded base64: a foreign character (line breaks included), a
// length that is no multiple of 4, or "=" anywhere but at the end.
std::optional<std::vector<std::uint8_t>> decode(std::string_view text);

}  // namespace pf::base64
