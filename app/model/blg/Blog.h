#pragma once
// One micro-blog post: a post of its own ("origin") or a repost ("broadcast") carrying its source in
// refBlog. A new post made on the device carries only content, topicName, clientType and, once its
// picture is uploaded, imgFileId; the mapper leaves its nil objects out and sends every scalar.

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Topic.h"
#include "app/model/cmn/BaseDomain.h"

class Blog : public BaseDomain {
  PF_OBJECT(Blog, BaseDomain)

  static constexpr char kTypeOrigin[] = "origin";
  static constexpr char kTypeBroadcast[] = "broadcast";

  std::optional<std::string> blogId;
  std::optional<std::string> content;
  std::optional<std::string> smallPicture;
  std::optional<std::string> normalPicture;
  std::optional<std::string> largerPicture;
  std::optional<std::string> blogType;
  std::optional<std::string> originId;
  std::optional<std::string> broadcastId;
  std::optional<std::string> originContent;
  long long commentsCnt = 0;
  long long broadcastCnt = 0;
  long long collectCnt = 0;
  std::optional<std::string> clientType;
  std::optional<pf::Date> createTime;
  std::optional<std::string> createBy;
  std::optional<std::string> userPic;
  std::optional<std::string> nickName;
  bool collected = false;
  std::optional<std::string> createByName;
  std::shared_ptr<Blog> refBlog;
  std::optional<std::string> imgFileId;
  // The topics as the author typed them, comma separated; sent with a new post.
  std::optional<std::string> topicName;
  // Topic objects, as the server returns them.
  pf::ArrayPtr topicList;

  static void declareProperties(pf::ClassBuilder<Blog>& b) {
    PF_PROPERTY(b, blogId);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, smallPicture);
    PF_PROPERTY(b, normalPicture);
    PF_PROPERTY(b, largerPicture);
    PF_PROPERTY(b, blogType);
    PF_PROPERTY(b, originId);
    PF_PROPERTY(b, broadcastId);
    PF_PROPERTY(b, originContent);
    PF_PROPERTY(b, commentsCnt);
    PF_PROPERTY(b, broadcastCnt);
    PF_PROPERTY(b, collectCnt);
    PF_PROPERTY(b, clientType);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, createBy);
    PF_PROPERTY(b, userPic);
    PF_PROPERTY(b, nickName);
    PF_PROPERTY(b, collected);
    PF_PROPERTY(b, createByName);
    PF_PROPERTY(b, refBlog);
    PF_PROPERTY(b, imgFileId);
    PF_PROPERTY(b, topicName);
    PF_PROPERTY(b, topicList);
  }
};
