#pragma once
// A micro-blog topic: a name posts are filed under, with the number of posts it holds.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class Topic : public BaseDomain {
  PF_OBJECT(Topic, BaseDomain)

  std::optional<std::string> topicId;
  std::optional<std::string> title;
  long long blogCnt = 0;
  std::optional<pf::Date> createTime;
  std::optional<std::string> createBy;

  static void declareProperties(pf::ClassBuilder<Topic>& b) {
    PF_PROPERTY(b, topicId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, blogCnt);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, createBy);
  }
};
