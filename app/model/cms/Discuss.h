#pragma once
// A comment on a course, or a reply to one; comments live on the server only. Replies arrive inside
// their comment (discussList), in the server's order.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/cms/DiscussCreator.h"

class Discuss : public BaseDomain {
  PF_OBJECT(Discuss, BaseDomain)

  std::optional<std::string> discussId;
  std::optional<std::string> discussName;
  std::optional<std::string> content;
  std::shared_ptr<DiscussCreator> creator;
  std::optional<pf::Date> createTime;
  // The object commented on: its id, kind and module.
  std::optional<std::string> objectId;
  std::optional<std::string> objectType;
  std::optional<std::string> appCode;
  // A reply to this comment sends it as "commentIdPath".
  std::optional<std::string> idPath;
  std::vector<std::shared_ptr<Discuss>> discussList;
  int replyCount = 0;
  int peakCount = 0;
  int treadCount = 0;
  int recommendCount = 0;
  int floorToResource = 0;
  int floorToPost = 0;
  std::optional<std::string> lastReplyPerson;
  std::optional<pf::Date> lastReplyTime;
  bool isTopic = false;
  bool isTop = false;

  static void declareProperties(pf::ClassBuilder<Discuss>& b);
};
