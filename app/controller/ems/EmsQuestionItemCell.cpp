#include "app/controller/ems/EmsQuestionItemCell.h"

#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/LabelKivExtension.h"

std::string EmsQuestionItemCell::selectionImageName(unsigned type, bool selected, bool readonly) {
  if (type != kRadio && type != kCheckBox) return "";
  return std::string("EMS_PROC_") + (type == kCheckBox ? "check" : "radio") + (selected ? "_selected" : "_unselect") +
         (readonly ? "_d.png" : "_n.png");
}

void EmsQuestionItemCell::setOptionSeleted(bool selected) {
  if (selected == optionSeleted_) return;
  optionSeleted_ = selected;
  refreshSelectionImageView();
}

void EmsQuestionItemCell::refreshSelectionImageView() {
  auto mark = selectionImageView.lock();
  if (!mark) return;
  const std::string name = selectionImageName(cellType, optionSeleted_, readonly());
  mark->setImage(name.empty() ? nullptr : pf::Image::named(name, pf::Screen::mainScreen().scale()));
}

void EmsQuestionItemCell::layoutSubviews() {
  BaseQuestionCell::layoutSubviews();
  if (auto label = contentLabel.lock()) LabelKivExtension::resetFrameToFit(*label);
}
