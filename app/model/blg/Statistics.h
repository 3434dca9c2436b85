#pragma once
// A micro-blog profile with its counts: the answer of the user-detail operations.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class Statistics : public BaseDomain {
  PF_OBJECT(Statistics, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> nickName;
  std::optional<std::string> faceUrl;
  // Users followed.
  long long attentionCount = 0;
  // Followers.
  long long attentionedCount = 0;
  long long blogCount = 0;
  int conceredTopicCount = 0;
  int collectedBlogCount = 0;
  // The current user follows this user.
  bool userConcerned = false;

  static void declareProperties(pf::ClassBuilder<Statistics>& b) {
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, nickName);
    PF_PROPERTY(b, faceUrl);
    PF_PROPERTY(b, attentionCount);
    PF_PROPERTY(b, attentionedCount);
    PF_PROPERTY(b, blogCount);
    PF_PROPERTY(b, conceredTopicCount);
    PF_PROPERTY(b, collectedBlogCount);
    PF_PROPERTY(b, userConcerned);
  }
};
