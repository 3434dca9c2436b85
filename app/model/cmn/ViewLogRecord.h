#pragma once
// That a screen was shown: which screen, when, and to whom.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class ViewLogRecord : public pf::Object {
  PF_OBJECT(ViewLogRecord, pf::Object)

  std::optional<std::string> viewName;
  // Milliseconds since 1970.
  long long recordTime = 0;
  // Of the signed-in user; empty before sign-in.
  std::optional<std::string> userID;
  std::optional<std::string> userName;
  std::optional<std::string> corpID;
  std::optional<std::string> corpName;

  static void declareProperties(pf::ClassBuilder<ViewLogRecord>& b) {
    PF_PROPERTY(b, viewName);
    PF_PROPERTY(b, recordTime);
    PF_PROPERTY(b, userID);
    PF_PROPERTY(b, userName);
    PF_PROPERTY(b, corpID);
    PF_PROPERTY(b, corpName);
  }
};
