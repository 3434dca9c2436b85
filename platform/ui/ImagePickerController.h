#pragma once
// Lets the user choose a picture: the photo library is the pictures folder of the sandbox
// ("Pictures" under the sandbox home), listed in a table; a tap on a row answers the delegate with
// the picture, the Cancel button with a cancel. There is no camera on this machine unless a test
// switches one on: it then offers the same folder as its shots. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ViewController.h"

namespace pf {

class Image;
class ImagePickerController;
class TableView;

// What was picked, under the names the platform's info keys carry.
struct PickedMediaInfo {
  std::string mediaType;                       // "public.image"
  std::shared_ptr<const Image> originalImage;  // the full-size picture
  std::string referenceURL;                    // file address of the picture
};

class ImagePickerControllerDelegate {
 public:
  virtual ~ImagePickerControllerDelegate() = default;
  virtual void didFinishPickingMediaWithInfo(ImagePickerController& /*picker*/,
                                             const PickedMediaInfo& /*info*/) {}
  virtual void imagePickerControllerDidCancel(ImagePickerController& /*picker*/) {}
};

class ImagePickerController : public ViewController {
  PF_OBJECT(ImagePickerController, ViewController)

  enum class SourceType { PhotoLibrary = 0, Camera = 1, SavedPhotosAlbum = 2 };
  static constexpr char kMediaTypeImage[] = "public.image";

  ImagePickerController();
  ~ImagePickerController() override;

  static bool isSourceTypeAvailable(SourceType type);
  // Off until switched on (tests).
  static void setCameraAvailable(bool available);
  // The folder the library and the saved album show.
  static std::string picturesPath();

  SourceType sourceType() const { return sourceType_; }
  // An unavailable source is a ContractViolation, as on the platform.
  void setSourceType(SourceType type);
  const std::vector<std::string>& mediaTypes() const { return mediaTypes_; }
  void setMediaTypes(std::vector<std::string> types) { mediaTypes_ = std::move(types); }
  bool allowsEditing() const { return allowsEditing_; }
  void setAllowsEditing(bool allows) { allowsEditing_ = allows; }
  std::shared_ptr<ImagePickerControllerDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<ImagePickerControllerDelegate> delegate) { delegate_ = std::move(delegate); }

  // The picture files offered, by name; read again when the view loads.
  const std::vector<std::string>& picturePaths() const { return paths_; }
  void reloadPictures();
  // What a tap on a row or on Cancel does. A picture that does not decode is skipped, not handed on.
  bool pickPictureAtIndex(size_t index);
  void cancel();

  void loadView() override;

 private:
  class Rows;

  std::weak_ptr<ImagePickerControllerDelegate> delegate_;
  std::vector<std::string> paths_;
  std::vector<std::string> mediaTypes_{kMediaTypeImage};
  std::shared_ptr<Rows> rows_;
  std::shared_ptr<TableView> table_;
  SourceType sourceType_ = SourceType::PhotoLibrary;
  bool allowsEditing_ = false;
};

}  // namespace pf
