#pragma once
// What a method of the stand-in answers: a JSON body, or error records that go out as a JSON list
// under the header "hasException: true", or a bare status.

#include <string>
#include <vector>

namespace devserver {

struct OpenAnswer {
  struct Record {
    std::string errorCode;
    std::string cause;
    std::string description;
  };

  // 200 with the JSON text as it is.
  static OpenAnswer json(std::string body);
  // 200 with the text as a JSON string (a session id, a name).
  static OpenAnswer string(const std::string& text);
  // 200 with {"success": ...}.
  static OpenAnswer success(bool success = true);
  static OpenAnswer error(std::string errorCode, std::string cause, std::string description = {});
  static OpenAnswer errors(std::vector<Record> records);
  // Any status with a plain body and no error header.
  static OpenAnswer status(int status, std::string body = {});

  int statusCode = 200;
  std::string body;
  bool hasException = false;
};

}  // namespace devserver
