#pragma once
// The engine's file helpers shared by body building and downloads: where temporary files go and the
// code-8 error that a failed file operation becomes.

#include <string>
#include <system_error>

#include "platform/foundation/Error.h"

class HttpFileError {
 public:
  // A fresh path in the sandbox's temporary folder.
  static std::string temporaryFilePath();
  // A file-management failure with the description shown to users and the system's cause, if any.
  static pf::ErrorPtr make(const std::string& description, const std::error_code& cause = {});
};
