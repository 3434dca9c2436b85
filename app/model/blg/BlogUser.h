#pragma once
// One person in a micro-blog people list, with follow counts and whether the current user follows them.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class BlogUser : public BaseDomain {
  PF_OBJECT(BlogUser, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> nickName;
  std::optional<std::string> faceUrl;
  long long fansCnt = 0;
  long long concernCnt = 0;
  bool concerned = false;
  bool permanent = false;

  static void declareProperties(pf::ClassBuilder<BlogUser>& b) {
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, nickName);
    PF_PROPERTY(b, faceUrl);
    PF_PROPERTY(b, fansCnt);
    PF_PROPERTY(b, concernCnt);
    PF_PROPERTY(b, concerned);
    PF_PROPERTY(b, permanent);
  }
};
