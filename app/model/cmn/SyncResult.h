#pragma once
// Answer of the incremental loads (exams, surveys changed since a time): the server's time of the
// answer and the changed entities, whose class is registered per call under "results".

#include <optional>

#include "app/model/cmn/BaseDomain.h"

class SyncResult : public BaseDomain {
  PF_OBJECT(SyncResult, BaseDomain)

  std::optional<pf::Date> serverTime;
  pf::ArrayPtr results;

  static void declareProperties(pf::ClassBuilder<SyncResult>& b) {
    PF_PROPERTY(b, serverTime);
    PF_PROPERTY(b, results);
  }
};
