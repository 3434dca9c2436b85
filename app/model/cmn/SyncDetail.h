#pragma once
// Answer of the course synchronisation: what the client must insert, update and delete. The lists stay
// absent until the JSON mapper fills them.

#include "app/model/cmn/BaseDomain.h"

class SyncDetail : public BaseDomain {
  PF_OBJECT(SyncDetail, BaseDomain)

  pf::ArrayPtr addList;
  pf::ArrayPtr updateList;
  pf::ArrayPtr deleteList;

  static void declareProperties(pf::ClassBuilder<SyncDetail>& b) {
    PF_PROPERTY(b, addList);
    PF_PROPERTY(b, updateList);
    PF_PROPERTY(b, deleteList);
  }
};
