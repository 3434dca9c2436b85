#pragma once
// The base of every list of blogs: rows in BlgMainCell, a mention opening the user's profile, a topic
// chip opening the topic, a tapped picture zoomed over the module root, and the container told when
// the user chose something. Subclasses add the service call, the paging and what a chosen row opens.
//
// Main thread only; the nick-name look-up of a mention blocks it for one server call.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "app/components/richlabel/RichLabelDelegate.h"
#include "app/controller/blg/BlgBaseTableViewController.h"

class Blog;
class BlgMainCell;
class BlgUserService;
class CommonService;
class PhotoZoomManager;

class BlgMainTableViewController : public BlgBaseTableViewController,
                                   public PhotoZoomDelegate,
                                   public RichLabelDelegate {
  PF_OBJECT(BlgMainTableViewController, BlgBaseTableViewController)

  BlgMainTableViewController();
  ~BlgMainTableViewController() override;

  static constexpr double kPictureHeight = 60;
  static constexpr char kRepostFormat[] = "@%@ : %@";

  std::shared_ptr<BlgUserService> userService;
  std::shared_ptr<CommonService> commonService;
  // The rows; nil until the first load succeeds.
  std::optional<std::vector<std::shared_ptr<Blog>>> resourceArr;
  std::weak_ptr<pf::ViewController> parentController;
  std::shared_ptr<PhotoZoomManager> focusManager;

  void setParentController(const std::weak_ptr<pf::ViewController>& parent) { parentController = parent; }

  bool enableRefresh() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }

  void initService() override;
  void viewDidLoad() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void richLabelDidSelectLinkWithContent(RichLabel& label, const std::string& content) override;

  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager, pf::View& view) override;
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager& manager) override;
  std::optional<std::string> photoZoomManagerMediaURLForView(PhotoZoomManager& manager, pf::View& view) override;

  // The source line's text for a client type.
  std::string clientName(const std::optional<std::string>& clientType);
  // Fills the cell with the blog, every field set or cleared; zoom is installed on shown pictures.
  void fillCell(BlgMainCell& cell, const Blog& blog, bool installZoom);

 protected:
  void showPage(const pf::ArrayPtr& rows, bool more) override;
  // Opens the blog's detail on the list's navigation controller.
  void pushDetailForRow(long row);
  // Pushes a screen opened from a link or a row and tells the container (which locks the panel).
  void pushFromLink(const std::shared_ptr<pf::ViewController>& screen);

 private:

  std::shared_ptr<BlgMainCell> sizingCell_;
};
