#include "tools/devserver/demo/DemoEms.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/devserver/Exchange.h"
#include "tools/devserver/demo/DemoPicture.h"

namespace devserver {

namespace {

using nlohmann::json;

constexpr char kSeparator[] = "``";
constexpr long long kDayMillis = 24LL * 3600 * 1000;
constexpr char kEmsPicturePath[] = "/media/ems/";

long long nowMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

bool autoJudged(const std::string& type) {
  return type == "SINGLE" || type == "MULTIPLE" || type == "JUDGMENT";
}

// The right answer as an answer must equal it: one trailing separator dropped and, for true/false
// questions, anything after the first separator.
std::string comparable(std::string answer, const std::string& type) {
  if (answer.ends_with(kSeparator)) answer.resize(answer.size() - 2);
  if (type == "JUDGMENT") answer = answer.substr(0, answer.find(kSeparator));
  return answer;
}

struct Marks {
  std::string userAnswer;
  bool passed = false;
  float userScore = 0;
};

// One user's standing in one exam.
struct Standing {
  std::string status = "unjoined";
  int examCount = 0;
  int remainJoinCount = 0;
  float score = 0;
  float totalScore = 0;
  float userExamScore = 0;
  long long firstJoinTime = 0;
  long long submitTime = 0;
  std::map<std::string, Marks> marks;  // by question id
};

class ExamBook {
 public:
  // address: the stand-in's full address of a path, for the pictures the data names by path.
  ExamBook(json exams, long long startMillis, std::function<std::string(const std::string&)> address)
      : exams_(std::move(exams)), start_(startMillis), address_(std::move(address)) {}

  json examList(const std::string& userId) {
    std::lock_guard lock(mutex_);
    json results = json::array();
    for (const json& exam : exams_) results.push_back(examOf(exam, standing(userId, exam)));
    return {{"serverTime", nowMillis()}, {"results", std::move(results)}};
  }

  int enterable(const std::string& userId) {
    std::lock_guard lock(mutex_);
    int count = 0;
    const long long now = nowMillis();
    for (const json& exam : exams_) {
      const Standing& s = standing(userId, exam);
      const bool open = now >= startOf(exam) && now <= endOf(exam);
      const bool retake = s.status == "unpassed" && exam.value("autoRejoin", false) && s.remainJoinCount > 0;
      if (open && (s.status == "unjoined" || s.status == "join_unsubmit" || retake)) ++count;
    }
    return count;
  }

  int unjudged(const std::string& userId) {
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const json& exam : exams_) count += standing(userId, exam).status == "unjudged" ? 1 : 0;
    return count;
  }

  // Entering starts an attempt, or goes on with the one not yet submitted.
  json enter(const std::string& userId, const std::string& examId) {
    std::lock_guard lock(mutex_);
    const json* exam = find(examId);
    if (!exam) return json::array();
    Standing& s = standing(userId, *exam);
    const long long now = nowMillis();
    const bool open = now >= startOf(*exam) && now <= endOf(*exam);
    const bool retake = s.status == "unpassed" && exam->value("autoRejoin", false) && s.remainJoinCount > 0;
    if (open && (s.status == "unjoined" || retake)) {
      s.status = "join_unsubmit";
      ++s.examCount;
      --s.remainJoinCount;
      s.firstJoinTime = now;
      s.marks.clear();
    }
    return json::array({paperOf(*exam, s, userId, false)});
  }

  json lastPaper(const std::string& userId, const std::string& examId) {
    std::lock_guard lock(mutex_);
    const json* exam = find(examId);
    if (!exam) return nullptr;
    return paperOf(*exam, standing(userId, *exam), userId, true);
  }

  json submit(const std::string& userId, const json& paper) {
    std::lock_guard lock(mutex_);
    const std::string examId = paper.value("examId", "");
    const std::string resultId = paper.value("examResultId", "");
    const json* exam = find(examId);
    if (!exam || exam->at("paper").value("paperId", "") != paper.value("paperId", "")) {
      return result(resultId, "paperNotFound");
    }
    Standing& s = standing(userId, *exam);
    if (s.status != "join_unsubmit") return result(resultId, "notJoined");
    mark(*exam, s, paper);
    return result(resultId, "success");
  }

 private:
  const json* find(const std::string& examId) const {
    for (const json& exam : exams_) {
      if (exam.value("examId", "") == examId) return &exam;
    }
    return nullptr;
  }

  long long startOf(const json& exam) const { return start_ + exam.value("startDays", -1LL) * kDayMillis; }
  long long endOf(const json& exam) const { return start_ + exam.value("endDays", 30LL) * kDayMillis; }

  // A user's first look at an exam finds the standing the data gives: "status", "examCount" and the
  // "answers" of the attempt so far, by question id.
  Standing& standing(const std::string& userId, const json& exam) {
    auto [it, made] = standings_.try_emplace({userId, exam.value("examId", "")});
    Standing& s = it->second;
    if (!made) return s;
    s.examCount = exam.value("examCount", 0);
    s.remainJoinCount = exam.value("takeLimit", 1) - s.examCount;
    if (exam.contains("answers")) {
      json sent = {{"questions", json::array()}};
      for (const auto& [questionId, answer] : exam["answers"].items()) {
        sent["questions"].push_back({{"questionId", questionId}, {"userAnswer", answer}});
      }
      mark(exam, s, sent);
    }
    s.status = exam.value("status", "unjoined");
    return s;
  }

  void mark(const json& exam, Standing& s, const json& paper) {
    std::map<std::string, std::string> sent;
    for (const json& q : paper.value("questions", json::array())) {
      if (q.contains("userAnswer") && q["userAnswer"].is_string())
        sent[q.value("questionId", "")] = q["userAnswer"];
    }
    const bool autoJudge = exam.value("autoJudge", false);
    bool everyJudged = true;
    float sum = 0;
    float total = 0;
    s.marks.clear();
    for (const json& q : exam.at("paper").value("questions", json::array())) {
      const std::string id = q.value("questionId", "");
      const std::string type = q.value("type", "");
      const float score = q.value("score", 0.0f);
      Marks m;
      if (const auto it = sent.find(id); it != sent.end()) m.userAnswer = it->second;
      if (autoJudged(type)) {
        m.passed = !m.userAnswer.empty() && m.userAnswer == comparable(q.value("answer", ""), type);
        m.userScore = m.passed ? score : 0;
      } else if (!autoJudge) {
        everyJudged = false;
      }
      sum += m.userScore;
      total += score;
      s.marks[id] = m;
    }
    s.submitTime = nowMillis();
    s.totalScore = total;
    s.userExamScore = sum;
    if (!everyJudged) {
      s.status = "unjudged";
      s.score = 0;
      return;
    }
    const bool passed = sum >= total * exam.value("passRate", 60.0f) / 100.0f;
    s.status = passed ? "passed" : "unpassed";
    s.score = passed ? exam.value("credit", 0.0f) : 0;
  }

  json examOf(const json& exam, const Standing& s) const {
    json out = exam;
    out.erase("paper");
    out.erase("answers");
    out.erase("startDays");
    out.erase("endDays");
    out["startTime"] = startOf(exam);
    out["endTime"] = endOf(exam);
    out["status"] = s.status;
    out["examCount"] = s.examCount;
    out["remainJoinCount"] = std::max(s.remainJoinCount, 0);
    out["score"] = s.score;
    out["totalScore"] = s.totalScore;
    out["userExamScore"] = s.userExamScore;
    return out;
  }

  json paperOf(const json& exam, const Standing& s, const std::string& userId, bool withMarks) const {
    json paper = exam.at("paper");
    const std::string examId = exam.value("examId", "");
    paper["examId"] = examId;
    paper["generateTime"] = start_;
    paper["examCount"] = s.examCount;
    paper["examResultId"] = "R-" + userId + "-" + examId + "-" + std::to_string(s.examCount);
    if (s.firstJoinTime) paper["firstJoinTime"] = s.firstJoinTime;
    for (json& q : paper["questions"]) {
      q["paperId"] = paper.value("paperId", "");
      if (q.contains("attachments") && q["attachments"].is_array()) {
        for (json& attachment : q["attachments"]) {
          const std::string url = attachment.value("url", "");
          if (url.starts_with("/")) attachment["url"] = address_(url);
        }
      }
      if (!withMarks) continue;
      const auto m = s.marks.find(q.value("questionId", ""));
      if (m == s.marks.end()) continue;
      q["userAnswer"] = m->second.userAnswer;
      q["passed"] = m->second.passed;
      q["userScore"] = m->second.userScore;
    }
    if (withMarks && s.submitTime) {
      paper["submitTime"] = s.submitTime;
      paper["score"] = s.userExamScore;
      paper["passed"] = s.status == "passed";
      paper["credit"] = s.score;
    }
    return paper;
  }

  static json result(const std::string& examResultId, const std::string& code) {
    json answer = {{"resultCode", code}};
    if (!examResultId.empty()) answer["examResultId"] = examResultId;
    return answer;
  }

  std::mutex mutex_;
  const json exams_;
  const long long start_;
  const std::function<std::string(const std::string&)> address_;
  std::map<std::pair<std::string, std::string>, Standing> standings_;
};

std::optional<json> readExamFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  json parsed = json::parse(text.str(), nullptr, false);
  if (parsed.is_discarded()) return std::nullopt;
  return parsed;
}

// A parameter's JSON text, decoded; null when it is absent or no JSON.
json examParameter(const OpenCall& call, const std::string& name) {
  const auto it = call.parameters.find(name);
  if (it == call.parameters.end()) return nullptr;
  json value = json::parse(it->second, nullptr, false);
  return value.is_discarded() ? json(nullptr) : value;
}

// Every exam names itself and carries a paper with a list of questions.
bool wellFormed(const json& data) {
  if (!data.is_object() || !data.contains("exams") || !data["exams"].is_array()) return false;
  for (const json& exam : data["exams"]) {
    if (!exam.is_object() || !exam.contains("examId") || !exam["examId"].is_string()) return false;
    if (!exam.contains("paper") || !exam["paper"].is_object()) return false;
    if (!exam["paper"].contains("questions") || !exam["paper"]["questions"].is_array()) return false;
  }
  return true;
}

}  // namespace

void installDemoEms(OpenServer& server, const std::string& dataFolder) {
  const std::string path = dataFolder + "/ems/exams.json";
  const std::optional<json> data = readExamFile(path);
  if (!data || !wellFormed(*data)) {
    std::fprintf(stderr, "demo exams left out: %s is missing or malformed\n", path.c_str());
    return;
  }
  auto book = std::make_shared<ExamBook>((*data)["exams"], nowMillis(),
                                         [&server](const std::string& path) { return server.url(path); });
  // "/media/ems/<name>.png": the pictures of questions and options, one colour per name.
  server.route("/media/ems/*", [](Exchange& exchange) {
    const std::string& path = exchange.request().path;
    const std::string prefix = kEmsPicturePath;
    if (path.size() > prefix.size() + 4 && path.ends_with(".png"))
      return DemoPicture::answer(exchange, path.substr(prefix.size(), path.size() - prefix.size() - 4));
    exchange.respond(404, "no such picture\n");
  });
  server.method("/v1/ems/exam/loadExamsAfter", [book](const OpenCall& call) {
    return OpenAnswer::json(book->examList(call.user->userId).dump());
  });
  server.method("/v1/ems/exam/myExamReminder", [book](const OpenCall& call) {
    return OpenAnswer::json(std::to_string(book->enterable(call.user->userId)));
  });
  server.method("/v1/ems/exam/judgingExamReminder", [book](const OpenCall& call) {
    return OpenAnswer::json(std::to_string(book->unjudged(call.user->userId)));
  });
  server.method("/v1/ems/paper/loadPapers", [book](const OpenCall& call) {
    const json examIds = examParameter(call, "examIds");
    json papers = json::array();
    if (examIds.is_string()) papers = book->enter(call.user->userId, examIds.get<std::string>());
    return OpenAnswer::json(papers.dump());
  });
  server.method("/v1/ems/paper/getLastPaper", [book](const OpenCall& call) {
    const json examId = examParameter(call, "examId");
    if (!examId.is_string()) return OpenAnswer::json("null");
    return OpenAnswer::json(book->lastPaper(call.user->userId, examId.get<std::string>()).dump());
  });
  server.method("/v1/ems/paper/batchSubmit", [book](const OpenCall& call) {
    const json papers = examParameter(call, "papers");
    if (!papers.is_array()) return OpenAnswer::error("ems.paper.invalid", "papers must be a list");
    json results = json::array();
    for (const json& paper : papers) {
      if (paper.is_object()) results.push_back(book->submit(call.user->userId, paper));
    }
    return OpenAnswer::json(results.dump());
  });
}

}  // namespace devserver
