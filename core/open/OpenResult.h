#pragma once
// The answer of calls that only report whether they worked: {"success": true}.

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class OpenResult : public pf::Object {
  PF_OBJECT(OpenResult, pf::Object)

  bool success = false;

  static void declareProperties(pf::ClassBuilder<OpenResult>& b) { PF_PROPERTY(b, success); }
};
