#include "tools/devserver/demo/DemoQsm.h"

#include <chrono>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tools/devserver/Exchange.h"
#include "tools/devserver/demo/DemoPage.h"
#include "tools/devserver/demo/DemoPicture.h"
#include "tools/devserver/demo/DemoJson.h"

namespace devserver {

namespace {

using Json = nlohmann::json;

constexpr double kDaySeconds = 86400;
constexpr char kQsmPicturePath[] = "/media/qsm/";

double nowSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

long long milliseconds(double seconds) {
  return static_cast<long long>(seconds * 1000);
}

std::string dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::set<std::string> split(const std::string& text, char separator) {
  std::set<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    pieces.insert(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

enum class Participants { Answered, UnAnswered, Related };

class SurveyDemo {
 public:
  // users: user id to login name, the participants every survey is published to; address: the
  // stand-in's full address of a path, for the pictures the data names by path.
  SurveyDemo(const Json& data, std::map<std::string, std::string> users, double startedAt,
             std::function<std::string(const std::string&)> address)
      : users_(std::move(users)), address_(std::move(address)) {
    for (const Json& survey : data.value("surveys", Json::array())) add(survey, startedAt);
  }

  OpenAnswer sync(const OpenCall& call) {
    const Json since = parameter(call, "lastUpdateTime");
    const long long sinceMs = since.is_number() ? since.get<long long>() : 0;
    std::lock_guard lock(mutex_);
    meet(*call.user);
    Json results = Json::array();
    for (Json survey : surveys_) {
      if (survey.value("publishTime", 0LL) < sinceMs) continue;
      survey["joined"] = joined(survey["surveyId"], call.user->userId);
      survey["userId"] = call.user->userId;
      // The address is known once the server listens.
      for (Json& question : survey["questions"]) {
        absolutePicture(question);
        for (Json& option : question["items"]) absolutePicture(option);
      }
      results.push_back(std::move(survey));
    }
    return OpenAnswer::json(dump({{"serverTime", milliseconds(nowSeconds())}, {"results", results}}));
  }

  OpenAnswer batchSubmit(const OpenCall& call) {
    const Json submitted = parameter(call, "surveys");
    if (!submitted.is_array()) return OpenAnswer::error("qsm.survey.invalid", "surveys must be a list");
    const long long now = milliseconds(nowSeconds());
    std::lock_guard lock(mutex_);
    meet(*call.user);
    for (const Json& survey : submitted) {
      if (!acceptable(survey, call.user->userId, now)) return OpenAnswer::success(false);
    }
    for (const Json& survey : submitted) {
      submissions_[survey["surveyId"].get<std::string>()][call.user->userId] = now;
    }
    return OpenAnswer::success();
  }

  OpenAnswer reminder(const OpenCall& call) {
    const long long now = milliseconds(nowSeconds());
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const Json& survey : surveys_) {
      if (isOpen(survey, now) && !joined(survey["surveyId"], call.user->userId)) ++count;
    }
    return OpenAnswer::json(std::to_string(count));
  }

  OpenAnswer participants(const OpenCall& call, Participants which) {
    const std::optional<std::string> surveyId = call.text("surveyId");
    const std::optional<std::string> userName = call.text("userName");
    std::lock_guard lock(mutex_);
    const Json* survey = surveyId ? find(*surveyId) : nullptr;
    if (!survey) return OpenAnswer::error("qsm.survey.notFound", "no such survey");
    Json rows = Json::array();
    for (const auto& [userId, loginName] : users_) {
      if (userName && loginName.find(*userName) == std::string::npos) continue;
      const auto finished = finishTime(*surveyId, userId);
      if ((which == Participants::Answered && !finished) || (which == Participants::UnAnswered && finished)) {
        continue;
      }
      Json row = {{"id", *surveyId + "-" + userId},
                  {"surveyId", *surveyId},
                  {"questionnaireId", (*survey)["questionnaireId"]},
                  {"userId", userId},
                  {"userIp", "127.0.0.1"},
                  {"userComputerInfo", "Marlune"}};
      if (finished) {
        row["startTime"] = *finished;
        row["finishTime"] = *finished;
      }
      rows.push_back(std::move(row));
    }
    return DemoPage::fromCall(call).answer(rows);
  }

 private:
  // Whoever signs in is among the users the surveys are published to.
  void meet(const OpenUser& user) { users_.emplace(user.userId, user.loginName); }

  static Json parameter(const OpenCall& call, const std::string& name) {
    const auto it = call.parameters.find(name);
    return it == call.parameters.end() ? Json() : Json::parse(it->second, nullptr, false);
  }

  // Relative days become times; the users named in joinedBy have submitted at the start.
  void add(Json survey, double startedAt) {
    if (!survey.is_object() || !survey.value("surveyId", Json()).is_string()) return;
    const auto at = [startedAt](const Json& days) {
      return milliseconds(startedAt + days.get<double>() * kDaySeconds);
    };
    survey["startTime"] = at(survey.value("startDays", Json(0)));
    survey["endTime"] = at(survey.value("endDays", Json(30)));
    survey["publishTime"] = at(survey.value("publishDays", Json(0)));
    if (!survey["replyList"].is_array()) survey["replyList"] = Json::array();
    if (!survey["questions"].is_array()) survey["questions"] = Json::array();
    for (Json& reply : survey["replyList"]) {
      reply["surveyId"] = survey["surveyId"];
      reply["createTime"] = at(reply.value("createDays", Json(0)));
      reply.erase("createDays");
    }
    for (Json& question : survey["questions"]) {
      question["surveyId"] = survey["surveyId"];
      question["paperId"] = survey["questionnaireId"];
      if (!question["items"].is_array()) question["items"] = Json::array();
      for (Json& option : question["items"]) option["questionId"] = question["questionId"];
    }
    survey["status"] = "PUBLISHED";
    for (const Json& userId : survey.value("joinedBy", Json::array())) {
      submissions_[survey["surveyId"].get<std::string>()][userId.get<std::string>()] =
          milliseconds(startedAt);
    }
    for (const char* key : {"startDays", "endDays", "publishDays", "joinedBy"}) survey.erase(key);
    surveys_.push_back(std::move(survey));
  }

  void absolutePicture(Json& object) const {
    const Json url = object.value("fileUrl", Json());
    if (url.is_string() && url.get<std::string>().starts_with("/")) object["fileUrl"] = address_(url.get<std::string>());
  }

  const Json* find(const std::string& surveyId) const {
    for (const Json& survey : surveys_) {
      if (survey["surveyId"] == surveyId) return &survey;
    }
    return nullptr;
  }

  static bool isOpen(const Json& survey, long long now) {
    return survey["startTime"].get<long long>() <= now && now < survey["endTime"].get<long long>();
  }

  bool joined(const Json& surveyId, const std::string& userId) const {
    return surveyId.is_string() && finishTime(surveyId.get<std::string>(), userId).has_value();
  }

  std::optional<long long> finishTime(const std::string& surveyId, const std::string& userId) const {
    const auto survey = submissions_.find(surveyId);
    if (survey == submissions_.end()) return std::nullopt;
    const auto user = survey->second.find(userId);
    if (user == survey->second.end()) return std::nullopt;
    return user->second;
  }

  // An open survey the user has not joined, whose answers name its own questions and options.
  bool acceptable(const Json& submitted, const std::string& userId, long long now) const {
    if (!submitted.is_object() || !submitted.value("surveyId", Json()).is_string()) return false;
    const Json* survey = find(submitted["surveyId"].get<std::string>());
    if (!survey || !isOpen(*survey, now) || joined((*survey)["surveyId"], userId)) return false;
    const Json answers = submitted.value("userAnswers", Json::array());
    if (!answers.is_array()) return false;
    for (const Json& answer : answers) {
      if (!answer.is_object() || !answerFits(*survey, answer)) return false;
    }
    return true;
  }

  static bool answerFits(const Json& survey, const Json& answer) {
    const Json questionId = answer.value("questionId", Json());
    for (const Json& question : survey["questions"]) {
      if (question.value("questionId", Json()) != questionId) continue;
      const Json select = answer.value("userSelect", Json());
      if (select.is_null()) return true;
      if (!select.is_string()) return false;
      std::set<std::string> optionIds;
      for (const Json& option : question["items"]) optionIds.insert(option.value("optionId", ""));
      for (const std::string& chosen : split(select.get<std::string>(), ',')) {
        if (!optionIds.contains(chosen)) return false;
      }
      return true;
    }
    return false;
  }

  std::mutex mutex_;
  std::vector<Json> surveys_;
  // Survey id to user id to the time of submission.
  std::map<std::string, std::map<std::string, long long>> submissions_;
  std::map<std::string, std::string> users_;
  const std::function<std::string(const std::string&)> address_;
};

std::map<std::string, std::string> openUsers(const std::string& dataFolder) {
  std::map<std::string, std::string> users;
  const Json open = demo_json::readFile(dataFolder + "/open.json");
  if (!open.is_object()) return users;
  for (const Json& user : open.value("users", Json::array())) {
    if (user.is_object()) users.emplace(user.value("userId", ""), user.value("loginName", ""));
  }
  return users;
}

}  // namespace

void installDemoQsm(OpenServer& server, const std::string& dataFolder) {
  const Json data = demo_json::readFile(dataFolder + "/qsm/surveys.json");
  auto demo = std::make_shared<SurveyDemo>(data.is_object() ? data : Json::object(), openUsers(dataFolder),
                                           nowSeconds(),
                                           [&server](const std::string& path) { return server.url(path); });
  // "/media/qsm/<name>.png": the pictures of questions and options, one colour per name.
  server.route("/media/qsm/*", [](Exchange& exchange) {
    const std::string& path = exchange.request().path;
    const std::string prefix = kQsmPicturePath;
    if (path.size() > prefix.size() + 4 && path.ends_with(".png"))
      return DemoPicture::answer(exchange, path.substr(prefix.size(), path.size() - prefix.size() - 4));
    exchange.respond(404, "no such picture\n");
  });
  server.method("/v1/qsm/survey/sync", [demo](const OpenCall& call) { return demo->sync(call); });
  server.method("/v1/qsm/survey/batchSubmit",
                [demo](const OpenCall& call) { return demo->batchSubmit(call); });
  server.method("/v1/qsm/survey/reminder", [demo](const OpenCall& call) { return demo->reminder(call); });
  const std::pair<const char*, Participants> lists[] = {
      {"/v1/qsm/questionnaireuser/getAnsweredUsers", Participants::Answered},
      {"/v1/qsm/questionnaireuser/getUnAnsweredUsers", Participants::UnAnswered},
      {"/v1/qsm/questionnaireuser/getSurveyRelUsers", Participants::Related},
  };
  for (const auto& [path, which] : lists) {
    server.method(path, [demo, which = which](const OpenCall& call) { return demo->participants(call, which); });
  }
}

}  // namespace devserver
