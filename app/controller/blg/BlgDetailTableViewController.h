#pragma once
// The blog detail's one-row list: fills the row from the current blog, opens the repost editor and
// the comment list from the row's buttons, a topic or a profile from a link, and zooms a tapped
// picture (the larger size) over the module root.
//
// Main thread only; the nick-name look-up of a mention blocks it for one server call.

#include <memory>
#include <optional>
#include <string>

#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "app/components/richlabel/RichLabelDelegate.h"
#include "app/controller/blg/BlgBaseTableViewController.h"
#include "app/controller/blg/BlgDetailTableViewDelegate.h"

class Blog;
class BlgDetailTableViewCell;
class BlgUserService;
class CommonService;
class PhotoZoomManager;

class BlgDetailTableViewController : public BlgBaseTableViewController,
                                     public PhotoZoomDelegate,
                                     public BlgDetailTableViewDelegate,
                                     public RichLabelDelegate {
  PF_OBJECT(BlgDetailTableViewController, BlgBaseTableViewController)

  static constexpr int kZoomSizeFlag = 3;
  static constexpr char kRepostFormat[] = "@%@:%@";

  BlgDetailTableViewController();
  ~BlgDetailTableViewController() override;

  std::shared_ptr<BlgUserService> userService;
  std::shared_ptr<CommonService> commonService;
  std::shared_ptr<Blog> currentBlog;
  // The module root; weak so a closed module is freed.
  std::weak_ptr<pf::ViewController> parentController;
  std::shared_ptr<PhotoZoomManager> focusManager;

  void setCurrentBlog(const std::shared_ptr<Blog>& blog) { currentBlog = blog; }
  void setParentController(const std::weak_ptr<pf::ViewController>& parent) { parentController = parent; }

  void initService() override;
  void viewDidLoad() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void broadcastOriginalBlogBtnPressed() override;
  void commentsOriginalBlogBtnPressed() override;
  void broadcastCurrentBlogBtnPressed() override;
  void commentsCurrentBlogBtnPressed() override;

  void richLabelDidSelectLinkWithContent(RichLabel& label, const std::string& content) override;

  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager, pf::View& view) override;
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager& manager) override;
  std::optional<std::string> photoZoomManagerMediaURLForView(PhotoZoomManager& manager, pf::View& view) override;

 private:
  std::shared_ptr<BlgDetailTableViewCell> makeCell(pf::TableView* tableView);
  void fillCell(BlgDetailTableViewCell& cell, const Blog& blog, bool installZoom);
  void openRepost(const std::optional<std::string>& blogId, const std::optional<std::string>& forwardText);
  void openComments(const std::optional<std::string>& blogId);
  void push(const std::shared_ptr<pf::ViewController>& screen);

  std::shared_ptr<BlgDetailTableViewCell> sizingCell_;
};
