#pragma once
// What the post detail screen calls for the comments of a post.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "app/service/blg/OpenCommentService.h"
#include "app/service/cmn/BaseService.h"

class BlgCommentService : public BaseService {
 public:
  explicit BlgCommentService(std::weak_ptr<ServiceDelegate> delegate = {});

  // A page of Comment.
  std::shared_ptr<Page> getCommentsWithBlogID(const std::optional<std::string>& blogId,
                                              const std::shared_ptr<Page>& page);

 private:
  std::unique_ptr<OpenCommentService> openCommentService_;
};
