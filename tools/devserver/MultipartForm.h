#pragma once
// Reading a multipart/form-data body, for upload endpoints and for tests that check what a client
// sent. Only what uploads use: each part's name, file name, content type and bytes.

#include <optional>
#include <string>
#include <vector>

#include "tools/devserver/Request.h"

namespace devserver {

struct MultipartPart {
  std::string name;
  // Absent for a plain field.
  std::optional<std::string> fileName;
  // Absent when the part names none.
  std::optional<std::string> contentType;
  std::string body;
};

class MultipartForm {
 public:
  // The parts in body order; nullopt unless the request is multipart/form-data with a boundary and a
  // well-formed body.
  static std::optional<std::vector<MultipartPart>> parse(const Request& request);
  static std::optional<std::vector<MultipartPart>> parse(const std::string& contentType,
                                                         const std::string& body);
};

}  // namespace devserver
