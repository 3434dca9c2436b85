#pragma once
// A comment on a micro-blog post, possibly a reply to another comment (originCommentId).

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class Comment : public BaseDomain {
  PF_OBJECT(Comment, BaseDomain)

  std::optional<std::string> commentId;
  std::optional<std::string> blogId;
  std::optional<std::string> content;
  std::optional<std::string> createBy;
  std::optional<std::string> createByName;
  std::optional<std::string> nickName;
  std::optional<std::string> userPicture;
  std::optional<pf::Date> createTime;
  // The comment was also posted as a blog.
  bool hasBroadcast = false;
  std::optional<std::string> originCommentId;
  std::optional<std::string> originContent;

  static void declareProperties(pf::ClassBuilder<Comment>& b) {
    PF_PROPERTY(b, commentId);
    PF_PROPERTY(b, blogId);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, createBy);
    PF_PROPERTY(b, createByName);
    PF_PROPERTY(b, nickName);
    PF_PROPERTY(b, userPicture);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, hasBroadcast);
    PF_PROPERTY(b, originCommentId);
    PF_PROPERTY(b, originContent);
  }
};
