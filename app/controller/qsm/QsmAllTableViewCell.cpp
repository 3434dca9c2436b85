#include "app/controller/qsm/QsmAllTableViewCell.h"

#include <cstdint>

#include "app/model/qsm/QsmSurvey.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"

namespace {

std::shared_ptr<const pf::Image> qsmCellPicture(const char* name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

void QsmAllTableViewCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  if (auto button = statusBtn.lock()) defaultTitleColor_ = button->titleColorForState(pf::Control::kNormal);
}

void QsmAllTableViewCell::fillWithSurvey(const QsmSurvey& survey, long row) {
  if (auto label = titleLabel.lock()) label->setText(survey.surveyName.value_or(""));
  if (auto label = durationLabel.lock()) label->setText(survey.durationText());
  if (auto mark = discussImageView.lock()) mark->setHidden(!survey.replyList || survey.replyList->empty());
  auto button = statusBtn.lock();
  if (!button) return;
  const std::string status = survey.statusText.value_or("");
  button->setTitle(status, pf::Control::kNormal);
  button->setUserInteractionEnabled(status == kEnterStatus);
  std::optional<pf::Color> colour = defaultTitleColor_;
  if (status == "等待")
    colour = pf::Color::gray();
  else if (status == kEnterStatus)
    colour = pf::Color::white();
  else if (status == "完成")
    colour = ColorExpanded::colorWithRGBHex(0x51A361);
  else if (status == "过期")
    colour = ColorExpanded::colorWithRGBHex(0xAC5253);
  button->setTitleColor(colour, pf::Control::kNormal);
  button->setBackgroundImage(status == kEnterStatus ? qsmCellPicture("QSM_ALLS_enter_btn_n") : nullptr,
                             pf::Control::kNormal);
  button->setTag(static_cast<int>(row));
}

void QsmAllTableViewCell::setSelected(bool selected, bool animated) {
  pf::TableViewCell::setSelected(selected, animated);
  if (auto left = bgLeftImageView.lock())
    left->setImage(qsmCellPicture(selected ? "QSM_ALLS_cell_bg_left_p.png" : "QSM_ALLS_cell_bg_left_n.png"));
  if (auto middle = bgMidImageView.lock())
    middle->setImage(
        qsmCellPicture(selected ? "QSM_ALLS_cell_bg_middle_p.png" : "QSM_ALLS_cell_bg_middle_n.png"));
}
