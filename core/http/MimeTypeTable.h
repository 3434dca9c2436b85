#pragma once
// The MIME type the system prefers for a file name extension, from a fixed table of the types an
// e-learning client meets (documents, pictures, audio, video, archives, web files).

#include <optional>
#include <string>
#include <string_view>

class MimeTypeTable {
 public:
  // Matched without regard to case; nullopt for an extension the table does not know.
  static std::optional<std::string> mimeTypeForExtension(std::string_view extension);
};
