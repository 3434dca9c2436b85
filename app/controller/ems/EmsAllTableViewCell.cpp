#include "app/controller/ems/EmsAllTableViewCell.h"

#include <cstdint>

#include "app/model/ems/EmsExam.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"

namespace {

struct ExamRowState {
  const char* status;
  std::uint32_t colour;
  const char* icon;
};

// Statuses that hide the score; the others keep the defaults (with a colour for two of them).
constexpr ExamRowState kScorelessStates[] = {
    {"即将开始", 0xFF9934, "EMS_ALLE_state_before.png"}, {"进入考试", 0x659833, "EMS_ALLE_state_enter.png"},
    {"未交卷", 0xCD0102, "EMS_ALLE_state_unsubmit.png"}, {"已过期", 0xCC0001, "EMS_ALLE_state_expired.png"},
    {"等待评卷", 0xFF9934, "EMS_ALLE_state_wait.png"},
};
constexpr ExamRowState kScoredStates[] = {{"进入补考", 0xCD0102, nullptr}, {"考试通过", 0x0166FF, nullptr}};

}  // namespace

void EmsAllTableViewCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  if (auto icon = scoreIconImageView.lock()) defaultIcon_ = icon->image();
  if (auto status = statusLabel.lock()) defaultStatusColor_ = status->textColor();
}

void EmsAllTableViewCell::fillWithExam(const EmsExam& exam) {
  resetStateViews();
  const std::string status = exam.statusText.value_or("");
  applyStatus(status);
  if (auto name = examNameLabel.lock()) name->setText(exam.examName.value_or(""));
  if (auto score = scoreLabel.lock()) score->setText(pf::format("%1.0f", exam.displayUserScore()));
  if (auto time = examTimeLabel.lock()) time->setText(exam.durationText());
  if (auto label = statusLabel.lock()) label->setText(status);
}

void EmsAllTableViewCell::resetStateViews() {
  if (auto score = scoreLabel.lock()) score->setHidden(false);
  if (auto bottom = scoreBtmImageView.lock()) bottom->setHidden(false);
  if (auto icon = scoreIconImageView.lock()) icon->setImage(defaultIcon_);
  if (auto label = statusLabel.lock(); label && defaultStatusColor_) label->setTextColor(*defaultStatusColor_);
}

void EmsAllTableViewCell::applyStatus(const std::string& status) {
  auto label = statusLabel.lock();
  for (const auto& state : kScorelessStates) {
    if (status != state.status) continue;
    if (label) label->setTextColor(ColorExpanded::colorWithRGBHex(state.colour));
    if (auto icon = scoreIconImageView.lock())
      icon->setImage(pf::Image::named(state.icon, pf::Screen::mainScreen().scale()));
    if (auto score = scoreLabel.lock()) score->setHidden(true);
    if (auto bottom = scoreBtmImageView.lock()) bottom->setHidden(true);
    return;
  }
  for (const auto& state : kScoredStates)
    if (status == state.status && label) label->setTextColor(ColorExpanded::colorWithRGBHex(state.colour));
}
