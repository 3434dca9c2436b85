#include "app/controller/ans/AnsQuesDetailContentViewController.h"

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/ans/AnsModifyView.h"
#include "app/controller/ans/AnsQuesAnswerCell.h"
#include "app/controller/ans/AnsQuesAnswerCountCell.h"
#include "app/controller/ans/AnsQuesDetailCell.h"
#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/model/ans/Answer.h"
#include "app/model/ans/QaQuestion.h"
#include "app/model/cmn/Page.h"
#include "app/service/ans/AnsService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/KivRichLabelExtension.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr char kAnsDetailComma[] = ",";
constexpr char kAnsDetailFullComma[] = "，";

double ansDetailWidthScale() { return pf::Screen::mainScreen().bounds().width() / 320; }
double ansDetailHeightScale() { return pf::Screen::mainScreen().bounds().height() / 480; }
bool ansDetailIsTablet() { return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad; }

bool ansDetailStartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}
bool ansDetailEndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// One leading, then one trailing separator removed.
std::string ansDetailTrimSeparators(std::string names) {
  for (const char* separator : {kAnsDetailComma, kAnsDetailFullComma})
    if (ansDetailStartsWith(names, separator)) {
      names.erase(0, std::string(separator).size());
      break;
    }
  for (const char* separator : {kAnsDetailComma, kAnsDetailFullComma})
    if (ansDetailEndsWith(names, separator)) {
      names.erase(names.size() - std::string(separator).size());
      break;
    }
  return names;
}

bool ansDetailHasSeparator(const std::string& names) {
  return names.find(kAnsDetailComma) != std::string::npos || names.find(kAnsDetailFullComma) != std::string::npos;
}

std::vector<std::string> ansDetailSplit(const std::string& names) {
  std::vector<std::string> pieces;
  std::string piece;
  for (size_t i = 0; i < names.size();) {
    if (ansDetailStartsWith(names.substr(i, 3), kAnsDetailFullComma)) {
      pieces.push_back(piece);
      piece.clear();
      i += 3;
    } else if (names[i] == ',') {
      pieces.push_back(piece);
      piece.clear();
      ++i;
    } else {
      piece += names[i++];
    }
  }
  pieces.push_back(piece);
  return pieces;
}

std::string ansDetailWithoutLineFeeds(std::string text) {
  std::erase(text, '\n');
  return text;
}

void ansDetailShowFace(const std::shared_ptr<pf::ImageView>& view, const std::shared_ptr<QuestionUser>& user) {
  if (!view) return;
  auto placeholder = pf::Image::named(AnsQuesDetailContentViewController::kUserPlaceholder,
                                      pf::Screen::mainScreen().scale());
  const bool hasFace = user && user->userFaceUrl && !user->userFaceUrl->empty();
  if (hasFace) {
    ImageViewWebCache::setImageWithURL(view, pf::Url::parse(*user->userFaceUrl), placeholder);
    return;
  }
  // Cancelled, so a late picture of the row before never lands here.
  ImageViewWebCache::cancelCurrentImageLoad(*view);
  view->setImage(placeholder);
}

std::string ansDetailDay(const std::optional<pf::Date>& date) {
  return CommonUtil::parseStringResultOfDate(date, "yyyy-MM-dd").value_or("");
}

std::shared_ptr<QaQuestion> ansDetailCopyOf(const QaQuestion& question) {
  auto copy = std::make_shared<QaQuestion>();
  copy->questionId = question.questionId;
  copy->title = question.title;
  copy->content = question.content;
  copy->shareInWeibo = question.shareInWeibo;
  copy->answerCount = question.answerCount;
  copy->topicId = question.topicId;
  copy->topicName = question.topicName;
  copy->isFavorite = question.isFavorite;
  copy->isAnswered = question.isAnswered;
  copy->createBy = question.createBy;
  copy->createTime = question.createTime;
  copy->user = question.user;
  copy->questionTopic = question.questionTopic;
  return copy;
}

}  // namespace

AnsQuesDetailContentViewController::AnsQuesDetailContentViewController() = default;
AnsQuesDetailContentViewController::AnsQuesDetailContentViewController(std::string nibName)
    : AnsBaseTableViewController(std::move(nibName)) {}
AnsQuesDetailContentViewController::~AnsQuesDetailContentViewController() = default;

std::vector<std::string> AnsQuesDetailContentViewController::topicLinkNames(const std::optional<std::string>& names) {
  if (!names) return {};
  const std::string trimmed = ansDetailTrimSeparators(*names);
  if (trimmed.empty()) return {};
  if (!ansDetailHasSeparator(trimmed)) return {trimmed};
  std::vector<std::string> linked;
  const auto pieces = ansDetailSplit(trimmed);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0 && pieces[i] == pieces[i - 1]) continue;
    if (pieces[i].empty()) break;
    linked.push_back(pieces[i]);
  }
  return linked;
}

double AnsQuesDetailContentViewController::answerRowHeight(double textHeight) {
  const double base = ansDetailIsTablet() ? ansDetailHeightScale() * 127 : 127;
  const double limit = ansDetailIsTablet() ? ansDetailHeightScale() * 96 : 96;
  return textHeight > limit ? base + (textHeight - limit) : base;
}

void AnsQuesDetailContentViewController::viewDidLoad() {
  AnsBaseTableViewController::viewDidLoad();
  auto self = std::static_pointer_cast<AnsQuesDetailContentViewController>(shared_from_this());
  ansServer = std::make_shared<AnsService>(std::weak_ptr<ServiceDelegate>(self));
  commonServer = std::make_shared<CommonService>(std::weak_ptr<ServiceDelegate>(self));
  // The first page loads here, on the main thread.
  if (!currentPage) currentPage = std::make_shared<Page>();
  if (Request request = requestData(kLoadRefresh, currentPage))
    if (ApplyStep apply = request()) apply();
  tableView()->reloadData();
}

AnsQuesDetailContentViewController::Request AnsQuesDetailContentViewController::requestData(
    int type, std::shared_ptr<Page> page) {
  std::weak_ptr<AnsQuesDetailContentViewController> weak =
      std::static_pointer_cast<AnsQuesDetailContentViewController>(shared_from_this());
  const AnsService::Text questionId = question ? question->questionId : std::nullopt;
  return [weak, service = ansServer, questionId, type, page]() -> ApplyStep {
    if (!service || !page) return {};
    AnsService::PagePtr answer = service->loadAnswersOfQuestion(questionId, page);
    std::vector<std::shared_ptr<Answer>> rows;
    if (answer && answer->rows)
      for (const pf::Value& row : *answer->rows)
        if (auto item = row.objectAs<Answer>()) rows.push_back(item);
    return [weak, answer, rows = std::move(rows), type] {
      auto self = weak.lock();
      if (!self) return;
      self->currentPage = answer;
      if (type == kLoadRefresh)
        self->answerList = rows;
      else
        self->answerList.insert(self->answerList.end(), rows.begin(), rows.end());
    };
  };
}

std::optional<std::string> AnsQuesDetailContentViewController::topicNames() {
  if (!question || !ansServer) return std::nullopt;
  return ansServer->getTopicNameByQuestionId(question->questionId);
}

std::string AnsQuesDetailContentViewController::getTopics() {
  linkedNames_ = topicLinkNames(topicNames());
  const int size = static_cast<int>(ansDetailWidthScale() * 14);
  std::string markup = "\n";
  for (size_t i = 0; i < linkedNames_.size(); ++i) {
    if (i > 0) markup += " ";
    markup += KivRichLabelExtension::rtHrefStrForTittle(linkedNames_[i], linkedNames_[i], size, kLinkTitleColor,
                                                        kLinkBackgroundColor, kLinkPressedColor);
  }
  return markup;
}

std::string AnsQuesDetailContentViewController::getValiatedStrOfTopics() {
  const auto names = topicNames();
  if (!names) return "";
  const std::string trimmed = ansDetailTrimSeparators(*names);
  if (!ansDetailHasSeparator(trimmed)) return ansDetailWithoutLineFeeds(trimmed);
  std::string joined;
  for (const auto& piece : ansDetailSplit(trimmed)) {
    if (piece.empty()) break;
    if (!joined.empty()) joined += " ";
    joined += piece;
  }
  return ansDetailWithoutLineFeeds(joined);
}

void AnsQuesDetailContentViewController::richLabelDidSelectLinkWithContent(RichLabel&, const std::string& content) {
  // The link target lost the characters markup cannot carry: find the name as typed.
  std::string name = content;
  for (const auto& linked : linkedNames_)
    if (KivRichLabelExtension::hrefText(linked) == content) {
      name = linked;
      break;
    }
  auto topic = ansServer ? ansServer->getQuestionByFilterText(name) : nullptr;
  if (auto listener = linkDelegate.lock()) listener->didPressLink(topic);
}

std::optional<bool> AnsQuesDetailContentViewController::agreeAnswer(const std::shared_ptr<Answer>& answer) {
  if (!answer || !ansServer) return false;
  const bool ok = ansServer->agree(answer->answerId);
  answer->isAgree = ok;
  if (ok) ++answer->agreeCount;
  tableView()->reloadData();
  return ok;
}

void AnsQuesDetailContentViewController::editQuestion() {
  if (!modifyView || !question) return;
  modifyView->setContentLimitedSize(AnsDistributeView::kDefaultLimit);
  modifyView->setHidden(false);
  modifyView->viewType = AnsDistributeView::kEditQuestion;
  modifyView->setContent(question->title);
  modifyView->setTopicContent(ansServer->getTopicNameByQuestionId(question->questionId));
}

void AnsQuesDetailContentViewController::selectedLeftBtnItem() {
  if (!modifyView || modifyView->viewType != AnsDistributeView::kEditQuestion || !question) return;
  // Edited on a copy: the question changes only when the server took the change.
  auto edited = ansDetailCopyOf(*question);
  const auto text = modifyView->content();
  const bool titleChanged = text && !text->empty();
  if (titleChanged) edited->title = text;
  const std::string topics = ansServer->reBuiltTopicNameOfTopicName(modifyView->topicContent().value_or(""));
  if (topics.empty())
    edited->topicName = ansServer->getTopicNameByQuestionId(edited->questionId);
  else
    edited->topicName = topics;
  if (titleChanged || !topics.empty()) {
    if (!ansServer->checkTopicLegalWithTopicName(topics)) return;
    if (ansServer->updateQuestion(edited)) {
      question->title = edited->title;
      question->topicName = edited->topicName;
      auto detail = linkDelegate.lock();
      if (auto list = detail ? detail->qesVC.lock() : nullptr) {
        list->loadType = kLoadRefresh;
        list->refreshData();
      }
    }
  }
  modifyView->setHidden(true);
  refreshData();
}

void AnsQuesDetailContentViewController::selectedRightBtnItem() {
  if (!modifyView) return;
  modifyView->setContent(std::nullopt);
  modifyView->setHidden(true);
}

void AnsQuesDetailContentViewController::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

long AnsQuesDetailContentViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(answerList.size()) + 2;
}

std::shared_ptr<pf::TableViewCell> AnsQuesDetailContentViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) return questionCell(tableView);
  if (indexPath.row == 1) return answerCountCell(tableView);
  const size_t index = static_cast<size_t>(indexPath.row - 2);
  return answerCell(tableView, index < answerList.size() ? answerList[index] : nullptr);
}

std::shared_ptr<pf::TableViewCell> AnsQuesDetailContentViewController::questionCell(pf::TableView& tableView) {
  auto cell = std::dynamic_pointer_cast<AnsQuesDetailCell>(
      ViewUtil::tableViewCellWithClass(AnsQuesDetailCell::kClassName, tableView));
  auto self = std::static_pointer_cast<AnsQuesDetailContentViewController>(shared_from_this());
  const int size = static_cast<int>(ansDetailWidthScale() * 14);
  const auto title = question ? question->title : std::nullopt;
  cell->setQuestionDetail(KivRichLabelExtension::rtNormalStrForTitle(title, size, "#FFFFFF") + getTopics());
  if (auto label = cell->questionDetailLabel.lock()) label->setDelegate(std::weak_ptr<RichLabelDelegate>(self));
  cell->delegate = std::weak_ptr<AnsQuesDetailCellDelegate>(self);
  const auto asker = question ? question->user : nullptr;
  if (auto label = cell->quizerNameLabel.lock()) label->setText(asker ? asker->nickName.value_or("") : "");
  if (auto label = cell->quizDateLabel.lock()) label->setText(ansDetailDay(question ? question->createTime : std::nullopt));
  ansDetailShowFace(cell->quizerImg.lock(), asker);
  return cell;
}

std::shared_ptr<pf::TableViewCell> AnsQuesDetailContentViewController::answerCountCell(pf::TableView& tableView) {
  auto cell = std::dynamic_pointer_cast<AnsQuesAnswerCountCell>(
      ViewUtil::tableViewCellWithClass(AnsQuesAnswerCountCell::kClassName, tableView));
  if (auto label = cell->answerCountLabel.lock())
    label->setText(pf::format("%lld个答案", question ? question->answerCount : 0LL));
  return cell;
}

std::shared_ptr<pf::TableViewCell> AnsQuesDetailContentViewController::answerCell(
    pf::TableView& tableView, const std::shared_ptr<Answer>& answer) {
  auto cell = std::dynamic_pointer_cast<AnsQuesAnswerCell>(
      ViewUtil::tableViewCellWithClass(AnsQuesAnswerCell::kClassName, tableView));
  const auto currentUserId = commonServer ? commonServer->getCurrentUserId() : std::nullopt;
  // Only the author edits an answer; an answer or a session without a user id is nobody's.
  const bool own = answer && answer->userId && currentUserId && *answer->userId == *currentUserId;
  if (auto button = cell->editBtn.lock()) button->setHidden(!own);
  if (auto label = cell->agreeCountLabel.lock()) label->setText(pf::format("%lld", answer ? answer->agreeCount : 0LL));
  if (auto button = cell->agreeBtn.lock()) button->setHidden(!answer || answer->isAgree);
  if (auto label = cell->replyContentLabel.lock()) label->setText(answer ? answer->content.value_or("") : "");
  const auto author = answer ? answer->user : nullptr;
  ansDetailShowFace(cell->replyerIconImgView.lock(), author);
  if (auto label = cell->replyerNameLabel.lock()) label->setText(author ? author->nickName.value_or("") : "");
  if (auto label = cell->replyDateLabel.lock()) label->setText(ansDetailDay(answer ? answer->answerTime : std::nullopt));
  cell->answer = answer;
  std::shared_ptr<AnsQuesAnswerCellDelegate> editor = linkDelegate.lock();
  cell->delegate = editor;
  cell->agreeDelegate = std::static_pointer_cast<AnsQuesDetailContentViewController>(shared_from_this());
  cell->setNeedsLayout();
  return cell;
}

double AnsQuesDetailContentViewController::questionRowHeight() {
  const double fontSize = ansDetailIsTablet() ? ansDetailWidthScale() * 14 : 14;
  const double width = ansDetailWidthScale() * 225;
  const double title = AnsQuesAnswerCell::measure(question ? question->title.value_or("") : "", fontSize, width);
  const double topics = AnsQuesAnswerCell::measure(getValiatedStrOfTopics(), fontSize, width);
  return std::max(ansDetailHeightScale() * 112, title + topics + ansDetailHeightScale() * 29);
}

std::optional<double> AnsQuesDetailContentViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                                  const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) return questionRowHeight();
  if (indexPath.row == 1) return ansDetailHeightScale() * 30;
  const size_t index = static_cast<size_t>(indexPath.row - 2);
  const auto answer = index < answerList.size() ? answerList[index] : nullptr;
  return answerRowHeight(AnsQuesAnswerCell::contentHeight(answer ? answer->content.value_or("") : ""));
}
