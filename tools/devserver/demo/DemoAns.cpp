#include "tools/devserver/demo/DemoAns.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "tools/devserver/demo/DemoPage.h"
#include "tools/devserver/demo/DemoJson.h"

namespace devserver {

namespace {

using Json = nlohmann::json;
using IdSets = std::map<std::string, std::set<std::string>>;

constexpr double kDaySeconds = 86400;
constexpr char kAnsFullWidthComma[] = "，";
constexpr char kAnsFacePath[] = "/media/blg/face/";

OpenAnswer flag(bool value) {
  return OpenAnswer::json(value ? "true" : "false");
}

std::string textParameter(const OpenCall& call, const std::string& name) {
  return call.text(name).value_or("");
}

bool blank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string textMember(const Json& object, const char* key) {
  const Json member = object.value(key, Json());
  return member.is_string() ? member.get<std::string>() : std::string();
}

// The topic names of a question's topic field: split at either comma, empty names left out.
std::vector<std::string> ansTopicNames(const std::string& field) {
  std::string unified;
  for (std::size_t i = 0; i < field.size();) {
    if (field.compare(i, sizeof kAnsFullWidthComma - 1, kAnsFullWidthComma) == 0) {
      unified += ',';
      i += sizeof kAnsFullWidthComma - 1;
    } else {
      unified += field[i++];
    }
  }
  std::vector<std::string> names;
  std::stringstream pieces(unified);
  for (std::string name; std::getline(pieces, name, ',');) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

OpenAnswer notFound(const std::string& what) {
  return OpenAnswer::error("qa." + what + ".notFound", "no such " + what);
}

class QaDemo {
 public:
  // address: the stand-in's full address of a path, for the faces it serves.
  QaDemo(const Json& data, long long startedAt, std::function<std::string(const std::string&)> address)
      : address_(std::move(address)) {
    const auto at = [startedAt](const Json& object, const char* key) {
      const Json days = object.value(key, Json(0));
      return startedAt +
             static_cast<long long>((days.is_number() ? days.get<double>() : 0) * kDaySeconds * 1000);
    };
    for (const Json& user : data.value("users", Json::array())) {
      profiles_[textMember(user, "userId")] = user;
    }
    for (Json topic : data.value("topics", Json::array())) {
      topic["createTime"] = at(topic, "createDays");
      topic.erase("createDays");
      topics_.push_back(std::move(topic));
    }
    for (Json question : data.value("questions", Json::array())) {
      question["createTime"] = at(question, "createDays");
      question.erase("createDays");
      tag(question);
      questions_.push_back(std::move(question));
    }
    for (Json answer : data.value("answers", Json::array())) {
      answer["answerTime"] = at(answer, "answerDays");
      answer.erase("answerDays");
      answer["ip"] = "127.0.0.1";
      answers_.push_back(std::move(answer));
    }
    follows_ = idSets(data, "follows");
    favorites_ = idSets(data, "favorites");
    agrees_ = idSets(data, "agrees");
  }

  // Runs a method for the call's user with the demo locked.
  template <typename Method>
  OpenAnswer serve(const OpenCall& call, Method method) {
    std::lock_guard lock(mutex_);
    meet(*call.user);
    return (this->*method)(call, call.user->userId);
  }

  OpenAnswer getQuestion(const OpenCall& call, const std::string& userId) {
    const Json* question = findQuestion(textParameter(call, "questionId"));
    return question ? demo_json::answer(questionView(*question, userId)) : notFound("question");
  }

  OpenAnswer loadQuestions(const OpenCall& call, const std::string& userId) {
    const std::string filter = textParameter(call, "title");
    return questionPage(call, userId, [&](const Json& question) {
      return textMember(question, "title").find(filter) != std::string::npos;
    });
  }

  OpenAnswer loadMyAskedQuestions(const OpenCall& call, const std::string& userId) {
    return questionPage(call, userId,
                        [&](const Json& question) { return textMember(question, "createBy") == userId; });
  }

  OpenAnswer loadMyAnsweredQuestions(const OpenCall& call, const std::string& userId) {
    return questionPage(call, userId, [&](const Json& question) {
      return hasAnswered(idOf(question, "questionId"), userId);
    });
  }

  OpenAnswer loadMyFavoriteQuestions(const OpenCall& call, const std::string& userId) {
    return questionPage(call, userId, [&](const Json& question) {
      return favorites_[userId].contains(idOf(question, "questionId"));
    });
  }

  OpenAnswer loadMyEditedQuestions(const OpenCall& call, const std::string& userId) {
    return questionPage(call, userId, [&](const Json& question) {
      return edited_[userId].contains(idOf(question, "questionId"));
    });
  }

  OpenAnswer loadTopicQuestions(const OpenCall& call, const std::string& userId) {
    const std::string topicId = textParameter(call, "topicId");
    return questionPage(call, userId, [&](const Json& question) { return isTagged(question, topicId); });
  }

  OpenAnswer share(const OpenCall& call, const std::string&) {
    return OpenAnswer::success(findQuestion(textParameter(call, "questionId")) != nullptr);
  }

  OpenAnswer collect(const OpenCall& call, const std::string& userId) {
    const std::string questionId = textParameter(call, "questionId");
    if (!findQuestion(questionId)) return OpenAnswer::success(false);
    favorites_[userId].insert(questionId);
    return OpenAnswer::success();
  }

  OpenAnswer cancelCollect(const OpenCall& call, const std::string& userId) {
    const std::string questionId = textParameter(call, "questionId");
    if (!findQuestion(questionId)) return OpenAnswer::success(false);
    favorites_[userId].erase(questionId);
    return OpenAnswer::success();
  }

  OpenAnswer addQuestion(const OpenCall& call, const std::string& userId) {
    const Json asked = demo_json::parameter(call, "question");
    if (!asked.is_object() || blank(textMember(asked, "title"))) {
      return OpenAnswer::error("qa.question.invalid", "a question needs a title");
    }
    Json question = {{"questionId", "QA-" + std::to_string(++issued_)},
                     {"title", textMember(asked, "title")},
                     {"content", textMember(asked, "content")},
                     {"topicName", textMember(asked, "topicName")},
                     {"shareInWeibo", asked.value("shareInWeibo", Json(false)).is_boolean() &&
                                          asked.value("shareInWeibo", false)},
                     {"createBy", userId},
                     {"createTime", demo_json::nowMilliseconds()}};
    tag(question);
    questions_.push_back(question);
    return demo_json::answer(questionView(question, userId));
  }

  OpenAnswer updateQuestion(const OpenCall& call, const std::string& userId) {
    const Json edited = demo_json::parameter(call, "question");
    if (!edited.is_object()) return OpenAnswer::error("qa.question.invalid", "question must be an object");
    Json* question = findQuestion(textMember(edited, "questionId"));
    if (!question) return notFound("question");
    if (textMember(*question, "createBy") != userId)
      return OpenAnswer::error("qa.question.denied", "only the author may edit");
    if (blank(textMember(edited, "title")))
      return OpenAnswer::error("qa.question.invalid", "a question needs a title");
    (*question)["title"] = textMember(edited, "title");
    (*question)["content"] = textMember(edited, "content");
    (*question)["topicName"] = textMember(edited, "topicName");
    tag(*question);
    edited_[userId].insert(idOf(*question, "questionId"));
    return demo_json::answer(questionView(*question, userId));
  }

  OpenAnswer isFavoriteQuestion(const OpenCall& call, const std::string& userId) {
    return flag(favorites_[userId].contains(textParameter(call, "questionId")));
  }

  OpenAnswer getTopicName(const OpenCall& call, const std::string&) {
    const Json* question = findQuestion(textParameter(call, "questionId"));
    return question ? OpenAnswer::string(textMember(*question, "topicName")) : notFound("question");
  }

  // Questions of others that nobody has answered yet.
  OpenAnswer questionReminder(const OpenCall&, const std::string& userId) {
    const auto count = std::count_if(questions_.begin(), questions_.end(), [&](const Json& question) {
      return textMember(question, "createBy") != userId && answerCount(idOf(question, "questionId")) == 0;
    });
    return OpenAnswer::json(std::to_string(count));
  }

  OpenAnswer checkAnswered(const OpenCall& call, const std::string& userId) {
    return flag(hasAnswered(textParameter(call, "questionId"), userId));
  }

  OpenAnswer addAnswer(const OpenCall& call, const std::string& userId) {
    const Json given = demo_json::parameter(call, "answer");
    if (!given.is_object() || blank(textMember(given, "content"))) {
      return OpenAnswer::error("qa.answer.invalid", "an answer needs text");
    }
    if (!findQuestion(textMember(given, "questionId"))) return notFound("question");
    Json answer = {{"answerId", "AN-" + std::to_string(++issued_)},
                   {"questionId", textMember(given, "questionId")},
                   {"content", textMember(given, "content")},
                   {"userId", userId},
                   {"ip", "127.0.0.1"},
                   {"isOfficial", false},
                   {"operationType", "ADD"},
                   {"answerTime", demo_json::nowMilliseconds()}};
    answers_.push_back(answer);
    return demo_json::answer(answerView(answer, userId));
  }

  OpenAnswer updateAnswer(const OpenCall& call, const std::string& userId) {
    const Json given = demo_json::parameter(call, "answer");
    if (!given.is_object()) return OpenAnswer::error("qa.answer.invalid", "answer must be an object");
    Json* answer = findAnswer(textMember(given, "answerId"));
    if (!answer) return notFound("answer");
    if (textMember(*answer, "userId") != userId)
      return OpenAnswer::error("qa.answer.denied", "only the author may edit");
    if (blank(textMember(given, "content")))
      return OpenAnswer::error("qa.answer.invalid", "an answer needs text");
    (*answer)["content"] = textMember(given, "content");
    (*answer)["operationType"] = "MODIFY";
    return demo_json::answer(answerView(*answer, userId));
  }

  // One agreement per user and answer.
  OpenAnswer agree(const OpenCall& call, const std::string& userId) {
    const std::string answerId = textParameter(call, "answerId");
    if (!findAnswer(answerId)) return OpenAnswer::success(false);
    return OpenAnswer::success(agrees_[userId].insert(answerId).second);
  }

  // Official answers first, then in the order given.
  OpenAnswer loadAnswers(const OpenCall& call, const std::string& userId) {
    const std::string questionId = textParameter(call, "questionId");
    Json rows = Json::array();
    for (bool official : {true, false}) {
      for (const Json& answer : answers_) {
        if (textMember(answer, "questionId") == questionId && answer.value("isOfficial", false) == official) {
          rows.push_back(answerView(answer, userId));
        }
      }
    }
    return DemoPage::fromCall(call).answer(rows);
  }

  OpenAnswer getTopic(const OpenCall& call, const std::string& userId) {
    const Json* topic = findTopic("topicId", textParameter(call, "topicId"));
    return topic ? demo_json::answer(topicView(*topic, userId)) : notFound("topic");
  }

  OpenAnswer getTopicByContent(const OpenCall& call, const std::string& userId) {
    const Json* topic = findTopic("content", textParameter(call, "content"));
    return demo_json::answer(topic ? topicView(*topic, userId) : Json());
  }

  OpenAnswer loadMyConcernedTopics(const OpenCall&, const std::string& userId) {
    Json topics = Json::array();
    for (const Json& topic : topics_) {
      if (follows_[userId].contains(idOf(topic, "topicId"))) topics.push_back(topicView(topic, userId));
    }
    return demo_json::answer(topics);
  }

  // Most questions first.
  OpenAnswer loadHotTopics(const OpenCall& call, const std::string& userId) {
    Json rows = matchingTopics(call, userId);
    std::stable_sort(rows.begin(), rows.end(), [](const Json& a, const Json& b) {
      return a["questionCount"].get<int>() > b["questionCount"].get<int>();
    });
    return DemoPage::fromCall(call).answer(rows);
  }

  // Newest first.
  OpenAnswer loadLatestTopics(const OpenCall& call, const std::string& userId) {
    Json rows = matchingTopics(call, userId);
    std::stable_sort(rows.begin(), rows.end(), [](const Json& a, const Json& b) {
      return a["createTime"].get<long long>() > b["createTime"].get<long long>();
    });
    return DemoPage::fromCall(call).answer(rows);
  }

  OpenAnswer follow(const OpenCall& call, const std::string& userId) {
    const std::string topicId = textParameter(call, "topicId");
    if (!findTopic("topicId", topicId)) return OpenAnswer::success(false);
    follows_[userId].insert(topicId);
    return OpenAnswer::success();
  }

  OpenAnswer cancelFollow(const OpenCall& call, const std::string& userId) {
    const std::string topicId = textParameter(call, "topicId");
    if (!findTopic("topicId", topicId)) return OpenAnswer::success(false);
    follows_[userId].erase(topicId);
    return OpenAnswer::success();
  }

  OpenAnswer isAttentionTopic(const OpenCall& call, const std::string& userId) {
    return flag(follows_[userId].contains(textParameter(call, "topicId")));
  }

  OpenAnswer getUserInfo(const OpenCall& call, const std::string&) {
    const std::string userId = textParameter(call, "userId");
    if (!profiles_.contains(userId)) return notFound("user");
    return demo_json::answer(profileView(userId));
  }

 private:
  static IdSets idSets(const Json& data, const char* key) {
    IdSets sets;
    const Json lists = data.value(key, Json::object());
    if (!lists.is_object()) return sets;
    for (const auto& [userId, ids] : lists.items()) {
      for (const Json& id : ids) {
        if (id.is_string()) sets[userId].insert(id.get<std::string>());
      }
    }
    return sets;
  }

  static std::string idOf(const Json& object, const char* key) { return textMember(object, key); }

  // Callers without a profile get one made from their sign-in.
  void meet(const OpenUser& user) {
    if (profiles_.contains(user.userId)) return;
    profiles_[user.userId] = {
        {"userId", user.userId}, {"userName", user.loginName}, {"nickName", user.loginName}};
  }

  // Links the question to the topics its topic field names, making the ones that do not exist yet.
  void tag(Json& question) {
    const std::vector<std::string> names = ansTopicNames(textMember(question, "topicName"));
    Json ids = Json::array();
    for (const std::string& name : names) {
      const Json* topic = findTopic("content", name);
      if (!topic) {
        topics_.push_back({{"topicId", "QT-" + std::to_string(++issued_)},
                           {"content", name},
                           {"createTime", demo_json::nowMilliseconds()}});
        topic = &topics_.back();
      }
      ids.push_back((*topic)["topicId"]);
    }
    question["topicIds"] = ids;
    question["topicId"] = ids.empty() ? Json() : ids.front();
  }

  static bool isTagged(const Json& question, const std::string& topicId) {
    const Json ids = question.value("topicIds", Json::array());
    return std::find(ids.begin(), ids.end(), Json(topicId)) != ids.end();
  }

  Json* findQuestion(const std::string& questionId) { return findIn(questions_, "questionId", questionId); }
  Json* findAnswer(const std::string& answerId) { return findIn(answers_, "answerId", answerId); }
  Json* findTopic(const char* key, const std::string& value) { return findIn(topics_, key, value); }

  static Json* findIn(std::vector<Json>& objects, const char* key, const std::string& value) {
    for (Json& object : objects) {
      if (textMember(object, key) == value) return &object;
    }
    return nullptr;
  }

  int answerCount(const std::string& questionId) const {
    return static_cast<int>(std::count_if(answers_.begin(), answers_.end(), [&](const Json& answer) {
      return textMember(answer, "questionId") == questionId;
    }));
  }

  bool hasAnswered(const std::string& questionId, const std::string& userId) const {
    return std::any_of(answers_.begin(), answers_.end(), [&](const Json& answer) {
      return textMember(answer, "questionId") == questionId && textMember(answer, "userId") == userId;
    });
  }

  // Newest first, each as the caller sees it.
  OpenAnswer questionPage(const OpenCall& call, const std::string& userId,
                          const std::function<bool(const Json&)>& matches) {
    std::vector<const Json*> found;
    for (const Json& question : questions_) {
      if (matches(question)) found.push_back(&question);
    }
    std::stable_sort(found.begin(), found.end(), [](const Json* a, const Json* b) {
      return (*a)["createTime"].get<long long>() > (*b)["createTime"].get<long long>();
    });
    Json rows = Json::array();
    for (const Json* question : found) rows.push_back(questionView(*question, userId));
    return DemoPage::fromCall(call).answer(rows);
  }

  Json matchingTopics(const OpenCall& call, const std::string& userId) {
    const std::string filter = textParameter(call, "content");
    Json rows = Json::array();
    for (const Json& topic : topics_) {
      if (textMember(topic, "content").find(filter) != std::string::npos)
        rows.push_back(topicView(topic, userId));
    }
    return rows;
  }

  Json questionView(const Json& question, const std::string& userId) {
    Json view = question;
    view.erase("topicIds");
    const std::string questionId = idOf(question, "questionId");
    view["answerCount"] = answerCount(questionId);
    view["isAnswered"] = answerCount(questionId) > 0;
    view["isFavorite"] = favorites_[userId].contains(questionId);
    view["user"] = profileView(textMember(question, "createBy"));
    if (const Json* topic = findTopic("topicId", textMember(question, "topicId"))) {
      view["questionTopic"] = topicView(*topic, userId);
    }
    return view;
  }

  Json topicView(const Json& topic, const std::string& userId) {
    const std::string topicId = idOf(topic, "topicId");
    Json view = topic;
    int questions = 0;
    int answers = 0;
    for (const Json& question : questions_) {
      if (!isTagged(question, topicId)) continue;
      ++questions;
      answers += answerCount(idOf(question, "questionId"));
    }
    view["questionCount"] = questions;
    view["answerCount"] = answers;
    view["attentionCount"] = std::count_if(follows_.begin(), follows_.end(),
                                           [&](const auto& entry) { return entry.second.contains(topicId); });
    view["isFocused"] = follows_[userId].contains(topicId);
    return view;
  }

  Json answerView(const Json& answer, const std::string& userId) {
    const std::string answerId = idOf(answer, "answerId");
    const std::string authorId = textMember(answer, "userId");
    Json view = answer;
    view["agreeCount"] = std::count_if(agrees_.begin(), agrees_.end(),
                                       [&](const auto& entry) { return entry.second.contains(answerId); });
    view["isAgree"] = agrees_[userId].contains(answerId);
    const Json author = profileView(authorId);
    view["countQuestion"] = author["questionCount"];
    view["countAnswer"] = author["answerCount"];
    view["user"] = author;
    return view;
  }

  Json profileView(const std::string& userId) {
    const auto known = profiles_.find(userId);
    Json view = known == profiles_.end() ? Json{{"userId", userId}} : known->second;
    // Learners without a face of their own get the one the micro-blog stand-in draws for them.
    if (textMember(view, "userFaceUrl").empty()) view["userFaceUrl"] = address_(kAnsFacePath + userId + ".png");
    view["questionCount"] = std::count_if(questions_.begin(), questions_.end(), [&](const Json& question) {
      return textMember(question, "createBy") == userId;
    });
    view["answerCount"] = std::count_if(answers_.begin(), answers_.end(), [&](const Json& answer) {
      return textMember(answer, "userId") == userId;
    });
    view["favoriteCount"] = favorites_[userId].size();
    view["topicCount"] = follows_[userId].size();
    return view;
  }

  std::function<std::string(const std::string&)> address_;
  std::mutex mutex_;
  std::map<std::string, Json> profiles_;
  std::vector<Json> topics_;
  std::vector<Json> questions_;
  std::vector<Json> answers_;
  IdSets follows_;
  IdSets favorites_;
  IdSets agrees_;
  IdSets edited_;
  unsigned long long issued_ = 1000;
};

}  // namespace

void installDemoAns(OpenServer& server, const std::string& dataFolder) {
  const Json data = demo_json::readFile(dataFolder + "/ans/qa.json");
  auto demo = std::make_shared<QaDemo>(data.is_object() ? data : Json::object(), demo_json::nowMilliseconds(),
                                       [&server](const std::string& path) { return server.url(path); });
  using Method = OpenAnswer (QaDemo::*)(const OpenCall&, const std::string&);
  const std::pair<const char*, Method> methods[] = {
      {"/v1/qa/question/get", &QaDemo::getQuestion},
      {"/v1/qa/question/loadQuestions", &QaDemo::loadQuestions},
      {"/v1/qa/question/loadMyAskedQuestions", &QaDemo::loadMyAskedQuestions},
      {"/v1/qa/question/loadMyAnsweredQuestions", &QaDemo::loadMyAnsweredQuestions},
      {"/v1/qa/question/loadMyFavoriteQuestions", &QaDemo::loadMyFavoriteQuestions},
      {"/v1/qa/question/loadMyEditedQuestions", &QaDemo::loadMyEditedQuestions},
      {"/v1/qa/question/loadTopicQuestions", &QaDemo::loadTopicQuestions},
      {"/v1/qa/question/share", &QaDemo::share},
      {"/v1/qa/question/collect", &QaDemo::collect},
      {"/v1/qa/question/cancelCollect", &QaDemo::cancelCollect},
      {"/v1/qa/question/add", &QaDemo::addQuestion},
      {"/v1/qa/question/update", &QaDemo::updateQuestion},
      {"/v1/qa/question/isFavoriteQuestion", &QaDemo::isFavoriteQuestion},
      {"/v1/qa/question/getTopicName", &QaDemo::getTopicName},
      {"/v1/qa/question/reminder", &QaDemo::questionReminder},
      {"/v1/qa/answer/checkAnswered", &QaDemo::checkAnswered},
      {"/v1/qa/answer/add", &QaDemo::addAnswer},
      {"/v1/qa/answer/update", &QaDemo::updateAnswer},
      {"/v1/qa/answer/agree", &QaDemo::agree},
      {"/v1/qa/answer/loadAnswers", &QaDemo::loadAnswers},
      {"/v1/qa/questiontopic/get", &QaDemo::getTopic},
      {"/v1/qa/questiontopic/getByContent", &QaDemo::getTopicByContent},
      {"/v1/qa/questiontopic/loadMyConcernedTopics", &QaDemo::loadMyConcernedTopics},
      {"/v1/qa/questiontopic/loadHotTopics", &QaDemo::loadHotTopics},
      {"/v1/qa/questiontopic/loadLatestTopics", &QaDemo::loadLatestTopics},
      {"/v1/qa/questiontopic/follow", &QaDemo::follow},
      {"/v1/qa/questiontopic/cancelFollow", &QaDemo::cancelFollow},
      {"/v1/qa/questiontopic/isAttentionTopic", &QaDemo::isAttentionTopic},
      {"/v1/qa/questionuser/getUserInfo", &QaDemo::getUserInfo},
  };
  for (const auto& [path, method] : methods) {
    server.method(path, [demo, method = method](const OpenCall& call) { return demo->serve(call, method); });
  }
}

}  // namespace devserver
