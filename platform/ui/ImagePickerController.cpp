#include "platform/ui/ImagePickerController.h"

#include <algorithm>
#include <filesystem>

#include "platform/foundation/Error.h"
#include "platform/foundation/Sandbox.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

namespace pf {

namespace {

constexpr double kBarHeight = 44;

bool isPicture(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".gif";
}

}  // namespace

// The table of pictures: one row a file, its name and a thumbnail.
class ImagePickerController::Rows : public TableViewDataSource, public TableViewDelegate {
 public:
  explicit Rows(ImagePickerController& picker) : picker_(picker) {}
  long numberOfRowsInSection(TableView&, long) override { return static_cast<long>(picker_.paths_.size()); }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& path) override {
    auto cell = table.dequeueReusableCellWithIdentifier("Picture");
    if (!cell) cell = std::make_shared<TableViewCell>(TableViewCell::CellStyle::Default, "Picture");
    const std::filesystem::path file = picker_.paths_[path.row];
    cell->textLabel()->setText(file.filename().string());
    cell->imageView()->setImage(Image::withContentsOfFile(file.string()));
    cell->imageView()->setContentMode(ContentMode::scaleAspectFit);
    return cell;
  }
  std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath&) override { return 64.0; }
  void didSelectRowAtIndexPath(TableView& table, const IndexPath& path) override {
    table.deselectRowAtIndexPath(path, true);
    picker_.pickPictureAtIndex(static_cast<size_t>(path.row));
  }

 private:
  ImagePickerController& picker_;
};

ImagePickerController::ImagePickerController() {
  reloadPictures();
}

ImagePickerController::~ImagePickerController() = default;

std::string ImagePickerController::picturesPath() {
  return (std::filesystem::path(Sandbox::home()) / "Pictures").string();
}

namespace {
bool imagePickerCameraAvailable = false;
}  // namespace

void ImagePickerController::setCameraAvailable(bool available) { imagePickerCameraAvailable = available; }

bool ImagePickerController::isSourceTypeAvailable(SourceType type) {
  if (type == SourceType::Camera && !imagePickerCameraAvailable) return false;
  std::error_code error;
  return std::filesystem::is_directory(picturesPath(), error);
}

void ImagePickerController::setSourceType(SourceType type) {
  if (!isSourceTypeAvailable(type))
    throw ContractViolation("Source type " + std::to_string(static_cast<int>(type)) + " not available");
  sourceType_ = type;
  reloadPictures();
}

void ImagePickerController::reloadPictures() {
  paths_.clear();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(picturesPath(), error)) {
    if (entry.is_regular_file(error) && isPicture(entry.path())) paths_.push_back(entry.path().string());
  }
  std::sort(paths_.begin(), paths_.end());
  if (table_) table_->reloadData();
}

bool ImagePickerController::pickPictureAtIndex(size_t index) {
  if (index >= paths_.size()) return false;
  auto image = Image::withContentsOfFile(paths_[index]);
  if (!image) return false;
  const bool wantsImages =
      std::find(mediaTypes_.begin(), mediaTypes_.end(), std::string(kMediaTypeImage)) != mediaTypes_.end();
  if (!wantsImages) return false;
  if (auto d = delegate())
    d->didFinishPickingMediaWithInfo(*this, {kMediaTypeImage, image, "file://" + paths_[index]});
  return true;
}

void ImagePickerController::cancel() {
  if (auto d = delegate()) d->imagePickerControllerDidCancel(*this);
}

void ImagePickerController::loadView() {
  const Rect frame = Screen::mainScreen().applicationFrame();
  auto root = std::make_shared<View>(Rect(0, 0, frame.width(), frame.height()));
  root->setBackgroundColor(Color::white());
  auto bar = std::make_shared<View>(Rect(0, 0, frame.width(), kBarHeight));
  bar->setBackgroundColor(Color::fromRgba(0.43, 0.52, 0.64));
  bar->setAutoresizingMask(View::kFlexibleWidth);
  auto title = std::make_shared<Label>(Rect(80, 0, frame.width() - 160, kBarHeight));
  title->setText(std::string("Photos"));
  title->setTextColor(Color::white());
  title->setTextAlignment(TextAlignment::center);
  bar->addSubview(title);
  auto cancelButton = std::make_shared<Button>(Rect(frame.width() - 75, 7, 68, 30));
  cancelButton->setTitle(std::string("Cancel"), Control::kNormal);
  std::weak_ptr<ImagePickerController> weak = sharedAs<ImagePickerController>();
  cancelButton->addTarget(
      weak, "cancel",
      [weak](Control&, unsigned) {
        if (auto self = weak.lock()) self->cancel();
      },
      Control::kTouchUpInside);
  bar->addSubview(cancelButton);
  rows_ = std::make_shared<Rows>(*this);
  table_ = std::make_shared<TableView>(Rect(0, kBarHeight, frame.width(), frame.height() - kBarHeight));
  table_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  table_->setDataSource(rows_);
  table_->setDelegate(rows_);
  root->addSubview(table_);
  root->addSubview(bar);
  setView(root);
  reloadPictures();
}

}  // namespace pf
