#pragma once
// Course comments on the server: writing a comment, replying to one, and reading them page by page
// with their replies. Nothing is kept on the device. Each method is one blocking remote call; a
// failure answers null and reaches the delegate with the path. A nil argument goes out as null.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "app/model/cms/Discuss.h"
#include "core/open/OpenService.h"

class OpenDiscussService : public OpenService {
 public:
  static constexpr char kCommentCoursePath[] = "/v1/dsc/discuss/commentCourse";
  static constexpr char kReplyCoursePath[] = "/v1/dsc/discuss/replyCourse";
  static constexpr char kLoadDiscussPath[] = "/v1/dsc/discuss/loadDiscuss";

  using OpenService::OpenService;

  // The new comment.
  std::shared_ptr<Discuss> commentCourse(const std::optional<std::string>& content,
                                         const std::optional<std::string>& courseId);
  // commentIdPath: the idPath of the comment replied to. The new reply.
  std::shared_ptr<Discuss> replyCourse(const std::optional<std::string>& content,
                                       const std::optional<std::string>& commentIdPath,
                                       const std::optional<std::string>& courseId);
  // The page's rows are Discuss, each with its replies in discussList.
  std::shared_ptr<Page> loadDiscuss(const std::shared_ptr<Page>& page,
                                    const std::optional<std::string>& courseId);
};
