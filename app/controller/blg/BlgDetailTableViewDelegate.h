#pragma once
// What the blog detail's row asks of its list: repost or read the comments of the reposted blog or
// of the blog itself.

class BlgDetailTableViewDelegate {
 public:
  virtual ~BlgDetailTableViewDelegate() = default;
  virtual void broadcastOriginalBlogBtnPressed() = 0;
  virtual void commentsOriginalBlogBtnPressed() = 0;
  virtual void broadcastCurrentBlogBtnPressed() = 0;
  virtual void commentsCurrentBlogBtnPressed() = 0;
};
