#include "tools/devserver/demo/DemoBlg.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/devserver/demo/DemoJson.h"
#include "tools/devserver/demo/DemoPage.h"
#include "tools/devserver/demo/DemoPicture.h"

namespace devserver {

namespace {

using namespace demo_json;
using IdSets = std::map<std::string, std::set<std::string>>;

constexpr double kDayMilliseconds = 86400.0 * 1000;
constexpr char kFullWidthComma[] = "，";
// A learner who has never opened the company feed counts the posts of the last three days.
constexpr double kFirstReminderWindowDays = 3;

// The names typed in a topic field: split at either comma, blanks and repeats left out.
std::vector<std::string> topicNames(std::string field) {
  for (std::size_t at; (at = field.find(kFullWidthComma)) != std::string::npos;) {
    field.replace(at, sizeof kFullWidthComma - 1, ",");
  }
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= field.size()) {
    const std::size_t end = std::min(field.find(',', start), field.size());
    std::string name = field.substr(start, end - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

bool contains(const std::string& text, const Json& filter) {
  return !filter.is_string() || text.find(filter.get<std::string>()) != std::string::npos;
}

// Faces of users without one, and the three sizes of a demo post's picture.
constexpr char kFacePath[] = "/media/blg/face/";
constexpr char kPicturePath[] = "/media/blg/picture/";

constexpr int kMaxPictureSide = 4000;

// "<name>-larger-<width>x<height>": a larger picture of its own size (at most kMaxPictureSide a side).
std::optional<std::pair<int, int>> largerOfSize(const std::string& picture) {
  const std::string marker = "-larger-";
  const std::size_t at = picture.rfind(marker);
  if (at == std::string::npos) return std::nullopt;
  int width = 0;
  int height = 0;
  char tail = 0;
  if (std::sscanf(picture.c_str() + at + marker.size(), "%dx%d%c", &width, &height, &tail) != 2) return std::nullopt;
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
  return std::make_pair(width, height);
}

// "/media/blg/face/U1.png" answers a face; "/media/blg/picture/<name>-small|normal|larger.png" a
// post's picture in that size ("-larger-2000x1500" a larger one of that size); each with an ETag and 304 to a request that holds it.
void answerBlogMedia(Exchange& exchange) {
  const std::string& path = exchange.request().path;
  const auto stemOf = [&](const char* prefix) -> std::optional<std::string> {
    const std::string start = prefix;
    if (path.rfind(start, 0) != 0 || path.size() <= start.size() + 4 || !path.ends_with(".png")) return std::nullopt;
    return path.substr(start.size(), path.size() - start.size() - 4);
  };
  if (const auto userId = stemOf(kFacePath)) return DemoPicture::answer(exchange, "face-" + *userId, 64, 64);
  if (const auto picture = stemOf(kPicturePath)) {
    const std::pair<const char*, int> sizes[] = {{"-small", 80}, {"-normal", 240}, {"-larger", 480}};
    for (const auto& [suffix, width] : sizes) {
      if (picture->ends_with(suffix)) return DemoPicture::answer(exchange, *picture, width, width * 3 / 4);
    }
    if (const auto sized = largerOfSize(*picture)) return DemoPicture::answer(exchange, *picture, sized->first, sized->second);
  }
  exchange.respond(404, "no such picture\n");
}

class BlogDemo {
 public:
  BlogDemo(const Json& data, long long startedAt, const OpenServer& server)
      : startedAt_(startedAt), server_(server) {
    const auto at = [startedAt](const Json& object) {
      const Json days = object.value("createDays", Json(0));
      return startedAt +
             static_cast<long long>((days.is_number() ? days.get<double>() : 0) * kDayMilliseconds);
    };
    for (const Json& user : data.value("users", Json::array())) profiles_[text(user, "userId")] = user;
    for (const Json& topic : data.value("topics", Json::array())) {
      topics_.push_back({{"topicId", text(topic, "topicId")},
                         {"title", text(topic, "title")},
                         {"createBy", text(topic, "createBy")},
                         {"createTime", at(topic)}});
    }
    for (const Json& blog : data.value("blogs", Json::array())) {
      blogs_.push_back(stored(text(blog, "blogId"), blog, text(blog, "createBy"), at(blog)));
      keepPicture(blog);
    }
    for (const Json& blog : generatedBlogs(data.value("generated", Json::object()))) {
      blogs_.push_back(stored(text(blog, "blogId"), blog, text(blog, "createBy"), at(blog)));
      keepPicture(blog);
    }
    for (Json comment : data.value("comments", Json::array())) {
      comment["createTime"] = at(comment);
      comment.erase("createDays");
      comments_.push_back(std::move(comment));
    }
    follows_ = idSets(data, "follows");
    collects_ = idSets(data, "collects");
    topicFollows_ = idSets(data, "topicFollows");
  }

  using Method = OpenAnswer (BlogDemo::*)(const OpenCall&, const std::string&);

  // {"count": n, "authors": [...]}: n plain posts, a day apart from a week back, every third with a
  // picture, by the authors in turn (a feed long enough to page through, or a thousand for timing).
  static std::vector<Json> generatedBlogs(const Json& generated) {
    std::vector<Json> blogs;
    const Json authors = generated.value("authors", Json::array());
    const int count = generated.value("count", 0);
    if (!authors.is_array() || authors.empty()) return blogs;
    for (int i = 1; i <= count; ++i) {
      const std::string id = "WB-G" + std::to_string(i);
      Json blog = {{"blogId", id},
                   {"content", "练习记录第" + std::to_string(i) + "条：今天的学习笔记已经整理好了，欢迎交流。"},
                   {"createBy", authors[static_cast<std::size_t>(i) % authors.size()]},
                   {"createDays", -7.0 - i * 0.5},
                   {"clientType", i % 2 ? "APPLE_PHONE" : "WEB"}};
      if (i % 3 == 0) blog["picture"] = id;
      blogs.push_back(std::move(blog));
    }
    return blogs;
  }

  void keepPicture(const Json& blog) {
    if (const Json picture = blog.value("picture", Json()); picture.is_string()) blogs_.back()["picture"] = picture;
    if (const Json size = blog.value("largerSize", Json()); size.is_array() && size.size() == 2)
      blogs_.back()["largerSize"] = size;
  }

  OpenAnswer serve(const OpenCall& call, Method method) {
    std::lock_guard lock(mutex_);
    const OpenUser& user = *call.user;
    if (!profiles_.contains(user.userId)) {
      profiles_[user.userId] = {{"userId", user.userId}, {"nickName", user.loginName}, {"faceUrl", ""}};
    }
    return (this->*method)(call, user.userId);
  }

  // Posts.

  OpenAnswer get(const OpenCall& call, const std::string& viewer) {
    const Json* blog = findBlog(call.text("blogId").value_or(""));
    return blog ? answer(blogView(*blog, viewer)) : notFound("blog");
  }

  OpenAnswer post(const OpenCall& call, const std::string& author) {
    const Json typed = parameter(call, "blog");
    if (!typed.is_object() || text(typed, "content").empty()) {
      return OpenAnswer::error("wb.blog.invalid", "a post needs its text");
    }
    blogs_.push_back(stored("WB-" + std::to_string(++issued_), typed, author, nowMilliseconds()));
    return answer(blogView(blogs_.back(), author));
  }

  OpenAnswer repost(const OpenCall& call, const std::string& author) {
    const std::string originId = call.text("refBlogId").value_or("");
    const Json* origin = findBlog(originId);
    if (!origin) return notFound("blog");
    // A repost of a repost shares the first source, and the topics of that source.
    const std::string sourceId =
        (*origin)["originId"].is_string() ? (*origin)["originId"].get<std::string>() : originId;
    Json typed = {{"content", parameter(call, "content")},
                  {"clientType", parameter(call, "clientType")},
                  {"originId", sourceId},
                  {"blogType", "broadcast"}};
    blogs_.push_back(stored("WB-" + std::to_string(++issued_), typed, author, nowMilliseconds()));
    if (parameter(call, "asComment") == Json(true))
      addComment(originId, author, blogs_.back()["content"], true);
    return answer(blogView(blogs_.back(), author));
  }

  OpenAnswer collect(const OpenCall& call, const std::string& viewer) {
    return toggle(collects_[viewer], blogIdOf(call), true, "wb.blog.blogCollected");
  }

  OpenAnswer cancelCollect(const OpenCall& call, const std::string& viewer) {
    return toggle(collects_[viewer], blogIdOf(call), false, "wb.blog.blogCancelCollected");
  }

  OpenAnswer loadMyBlogs(const OpenCall& call, const std::string& viewer) {
    return blogPage(call, viewer, [&](const Json& blog) { return blog["createBy"] == viewer; });
  }

  OpenAnswer loadMyConcernBlogs(const OpenCall& call, const std::string& viewer) {
    return blogPage(call, viewer, [&](const Json& blog) {
      const std::string author = blog["createBy"];
      return author == viewer || follows_[viewer].contains(author);
    });
  }

  OpenAnswer loadCorpBlogs(const OpenCall& call, const std::string& viewer) {
    lastLook_[viewer] = nowMilliseconds();
    return blogPage(call, viewer, [](const Json&) { return true; });
  }

  OpenAnswer loadUserBlogs(const OpenCall& call, const std::string& viewer) {
    const Json userId = parameter(call, "userId");
    return blogPage(call, viewer, [&](const Json& blog) { return blog["createBy"] == userId; });
  }

  OpenAnswer loadRespostBlogs(const OpenCall& call, const std::string& viewer) {
    const Json blogId = parameter(call, "blogId");
    return blogPage(call, viewer, [&](const Json& blog) { return blog["originId"] == blogId; });
  }

  OpenAnswer loadMyCollectedBlogs(const OpenCall& call, const std::string& viewer) {
    return blogPage(call, viewer,
                    [&](const Json& blog) { return collects_[viewer].contains(blog["blogId"]); });
  }

  OpenAnswer loadTopicBlogs(const OpenCall& call, const std::string& viewer) {
    const Json topicId = parameter(call, "topicId");
    return blogPage(call, viewer, [&](const Json& blog) {
      const Json& ids = blog["topicIds"];
      return std::find(ids.begin(), ids.end(), topicId) != ids.end();
    });
  }

  OpenAnswer reminder(const OpenCall&, const std::string& viewer) {
    const auto seen = lastLook_.find(viewer);
    const double since = seen != lastLook_.end() ? static_cast<double>(seen->second)
                                                 : startedAt_ - kFirstReminderWindowDays * kDayMilliseconds;
    const auto count = std::count_if(blogs_.begin(), blogs_.end(), [&](const Json& blog) {
      return blog["createBy"] != viewer && blog["createTime"].get<double>() > since;
    });
    return OpenAnswer::json(std::to_string(count));
  }

  // Topics.

  OpenAnswer loadTopics(const OpenCall& call, const std::string&) {
    return topicPage(call, [](const Json&) { return true; });
  }

  OpenAnswer loadUserTopics(const OpenCall& call, const std::string&) {
    const std::set<std::string>& followed = topicFollows_[call.text("userId").value_or("")];
    return topicPage(call, [&](const Json& topic) { return followed.contains(topic["topicId"]); });
  }

  OpenAnswer followTopic(const OpenCall& call, const std::string& viewer) {
    return toggleTopic(call, viewer, true, "wb.topic.followed");
  }

  OpenAnswer cancelFollowTopic(const OpenCall& call, const std::string& viewer) {
    return toggleTopic(call, viewer, false, "wb.topic.cancelFollowed");
  }

  OpenAnswer isFollowed(const OpenCall& call, const std::string& viewer) {
    const bool followed = topicFollows_[viewer].contains(call.text("topicId").value_or(""));
    return OpenAnswer::json(followed ? "true" : "false");
  }

  // People.

  OpenAnswer loadBlogUsers(const OpenCall& call, const std::string& viewer) {
    const Json nickName = parameter(call, "nickName");
    return userPage(call, viewer, [&](const std::string& userId) {
      return contains(text(profiles_[userId], "nickName"), nickName);
    });
  }

  OpenAnswer followUser(const OpenCall& call, const std::string& viewer) {
    const std::string userId = call.text("userId").value_or("");
    if (!profiles_.contains(userId) || userId == viewer) return notFound("blogUser");
    return toggle(follows_[viewer], userId, true, "wb.blogUser.followed");
  }

  OpenAnswer cancelFollowUser(const OpenCall& call, const std::string& viewer) {
    const std::string userId = call.text("userId").value_or("");
    if (!profiles_.contains(userId)) return notFound("blogUser");
    return toggle(follows_[viewer], userId, false, "wb.blogUser.cancelFollowed");
  }

  OpenAnswer loadFollowedUsers(const OpenCall& call, const std::string& viewer) {
    const std::set<std::string> followed = follows_[call.text("userId").value_or("")];
    const Json nickName = parameter(call, "nickName");
    return userPage(call, viewer, [&](const std::string& userId) {
      return followed.contains(userId) && contains(text(profiles_[userId], "nickName"), nickName);
    });
  }

  OpenAnswer loadFans(const OpenCall& call, const std::string& viewer) {
    const std::string of = call.text("userId").value_or("");
    const Json nickName = parameter(call, "nickName");
    return userPage(call, viewer, [&](const std::string& userId) {
      return follows_[userId].contains(of) && contains(text(profiles_[userId], "nickName"), nickName);
    });
  }

  OpenAnswer getUserDetailById(const OpenCall& call, const std::string& viewer) {
    const std::string userId = call.text("userId").value_or("");
    if (!profiles_.contains(userId)) return notFound("blogUser");
    return answer(statistics(userId, viewer));
  }

  OpenAnswer getUserDetailByName(const OpenCall& call, const std::string& viewer) {
    const std::string nickName = call.text("nickName").value_or("");
    for (const auto& [userId, profile] : profiles_) {
      if (text(profile, "nickName") == nickName) return answer(statistics(userId, viewer));
    }
    return notFound("blogUser");
  }

  // Comments.

  OpenAnswer loadComments(const OpenCall& call, const std::string&) {
    const Json blogId = parameter(call, "blogId");
    Json rows = Json::array();
    for (const Json& comment : comments_) {
      if (comment["blogId"] == blogId) rows.push_back(commentView(comment));
    }
    std::reverse(rows.begin(), rows.end());
    return DemoPage::fromCall(call).answer(rows);
  }

  OpenAnswer comment(const OpenCall& call, const std::string& author) {
    const std::string blogId = call.text("refBlogId").value_or("");
    const Json content = parameter(call, "content");
    if (!findBlog(blogId)) return notFound("blog");
    if (!content.is_string() || content.get<std::string>().empty()) {
      return OpenAnswer::error("wb.comment.invalid", "a comment needs its text");
    }
    const bool asBlog = parameter(call, "asBlog") == Json(true);
    if (asBlog) {
      Json typed = {{"content", content}, {"originId", blogId}, {"blogType", "broadcast"}};
      blogs_.push_back(stored("WB-" + std::to_string(++issued_), typed, author, nowMilliseconds()));
    }
    return answer(commentView(addComment(blogId, author, content, asBlog)));
  }

 private:
  static IdSets idSets(const Json& data, const char* key) {
    IdSets sets;
    const Json lists = data.value(key, Json::object());
    for (const auto& [owner, ids] : lists.items()) {
      for (const Json& id : ids) sets[owner].insert(id.get<std::string>());
    }
    return sets;
  }

  static OpenAnswer notFound(const std::string& what) {
    return OpenAnswer::error("wb." + what + ".notFound", "no such " + what);
  }

  static OpenAnswer toggle(std::set<std::string>& set, const std::string& id, bool on,
                           const std::string& refusal) {
    if (set.contains(id) == on) return OpenAnswer::error(refusal, refusal);
    if (on) {
      set.insert(id);
    } else {
      set.erase(id);
    }
    return OpenAnswer::success();
  }

  OpenAnswer toggleTopic(const OpenCall& call, const std::string& viewer, bool on, const char* refusal) {
    const std::string topicId = call.text("topicId").value_or("");
    if (!findTopic(topicId)) return notFound("topic");
    return toggle(topicFollows_[viewer], topicId, on, refusal);
  }

  static std::string blogIdOf(const OpenCall& call) { return call.text("blogId").value_or(""); }

  // A post as kept: its topics by id, made from the typed names when new; a repost files under its
  // source's topics.
  Json stored(const std::string& blogId, const Json& typed, const std::string& author, long long createTime) {
    Json topicIds = Json::array();
    for (const std::string& name : topicNames(text(typed, "topicName")))
      topicIds.push_back(topicNamed(name, author));
    if (const Json* source = findBlog(text(typed, "originId")); source && topicIds.empty()) {
      topicIds = (*source)["topicIds"];
    }
    return {{"blogId", blogId},
            {"content", text(typed, "content")},
            {"blogType", typed.value("blogType", Json("origin"))},
            {"originId", typed.value("originId", Json())},
            {"imgFileId", typed.value("imgFileId", Json())},
            {"clientType", typed.value("clientType", Json())},
            {"topicName", text(typed, "topicName")},
            {"topicIds", topicIds},
            {"createBy", author},
            {"createTime", createTime}};
  }

  std::string topicNamed(const std::string& name, const std::string& author) {
    for (const Json& topic : topics_) {
      if (topic["title"] == name) return topic["topicId"];
    }
    topics_.push_back({{"topicId", "WT-" + std::to_string(++issued_)},
                       {"title", name},
                       {"createBy", author},
                       {"createTime", nowMilliseconds()}});
    return topics_.back()["topicId"];
  }

  const Json* findBlog(const std::string& blogId) const {
    const auto it =
        std::find_if(blogs_.begin(), blogs_.end(), [&](const Json& b) { return b["blogId"] == blogId; });
    return it == blogs_.end() ? nullptr : &*it;
  }

  const Json* findTopic(const std::string& topicId) const {
    const auto it =
        std::find_if(topics_.begin(), topics_.end(), [&](const Json& t) { return t["topicId"] == topicId; });
    return it == topics_.end() ? nullptr : &*it;
  }

  Json topicView(const Json& topic) const {
    Json view = topic;
    view["blogCnt"] = std::count_if(blogs_.begin(), blogs_.end(), [&](const Json& blog) {
      const Json& ids = blog["topicIds"];
      return std::find(ids.begin(), ids.end(), topic["topicId"]) != ids.end();
    });
    return view;
  }

  Json blogView(const Json& blog, const std::string& viewer, bool withSource = true) {
    const Json& author = profiles_[text(blog, "createBy")];
    Json view = blog;
    view.erase("topicIds");
    view["nickName"] = text(author, "nickName");
    view["createByName"] = text(author, "nickName");
    view["userPic"] = faceOf(author);
    const Json blogId = blog["blogId"];
    view["commentsCnt"] = std::count_if(comments_.begin(), comments_.end(),
                                        [&](const Json& c) { return c["blogId"] == blogId; });
    view["broadcastCnt"] =
        std::count_if(blogs_.begin(), blogs_.end(), [&](const Json& b) { return b["originId"] == blogId; });
    view["collectCnt"] = std::count_if(collects_.begin(), collects_.end(),
                                       [&](const auto& c) { return c.second.contains(blogId); });
    view["collected"] = collects_[viewer].contains(blogId);
    view["topicList"] = Json::array();
    for (const Json& id : blog["topicIds"]) {
      if (const Json* topic = findTopic(id)) view["topicList"].push_back(topicView(*topic));
    }
    view.erase("picture");
    if (blog["imgFileId"].is_string()) {
      const std::string picture = server_.url("/files/" + blog["imgFileId"].get<std::string>());
      view["smallPicture"] = view["normalPicture"] = view["largerPicture"] = picture;
    } else if (const Json picture = blog.value("picture", Json()); picture.is_string()) {
      const std::string stem = server_.url(std::string(kPicturePath) + picture.get<std::string>());
      view["smallPicture"] = stem + "-small.png";
      view["normalPicture"] = stem + "-normal.png";
      view["largerPicture"] = stem + "-larger.png";
      if (const Json size = blog.value("largerSize", Json()); size.is_array())
        view["largerPicture"] = stem + "-larger-" + size[0].dump() + "x" + size[1].dump() + ".png";
    }
    view.erase("largerSize");
    const Json* source = blog["originId"].is_string() ? findBlog(blog["originId"]) : nullptr;
    if (source && withSource) {
      view["refBlog"] = blogView(*source, viewer, false);
      view["originContent"] = (*source)["content"];
      view["broadcastId"] = blogId;
    }
    return view;
  }

  template <typename Filter>
  OpenAnswer blogPage(const OpenCall& call, const std::string& viewer, Filter keep) {
    const Json content = parameter(call, "content");
    Json rows = Json::array();
    for (auto it = blogs_.rbegin(); it != blogs_.rend(); ++it) {
      if (keep(*it) && contains(text(*it, "content"), content)) rows.push_back(blogView(*it, viewer));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Json& a, const Json& b) {
      return a["createTime"].get<double>() > b["createTime"].get<double>();
    });
    return DemoPage::fromCall(call).answer(rows);
  }

  template <typename Filter>
  OpenAnswer topicPage(const OpenCall& call, Filter keep) {
    const Json title = parameter(call, "title");
    Json rows = Json::array();
    for (const Json& topic : topics_) {
      if (keep(topic) && contains(text(topic, "title"), title)) rows.push_back(topicView(topic));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Json& a, const Json& b) { return a["blogCnt"] > b["blogCnt"]; });
    return DemoPage::fromCall(call).answer(rows);
  }

  template <typename Filter>
  OpenAnswer userPage(const OpenCall& call, const std::string& viewer, Filter keep) {
    Json rows = Json::array();
    for (const auto& [userId, profile] : profiles_) {
      if (!keep(userId)) continue;
      Json row = {{"userId", userId},
                  {"nickName", text(profile, "nickName")},
                  {"faceUrl", faceOf(profile)},
                  {"fansCnt", fansOf(userId)},
                  {"concernCnt", follows_[userId].size()},
                  {"concerned", follows_[viewer].contains(userId)},
                  {"permanent", false}};
      rows.push_back(std::move(row));
    }
    return DemoPage::fromCall(call).answer(rows);
  }

  // The profile's own face, else a picture of the stand-in made for the user.
  std::string faceOf(const Json& profile) const {
    const std::string own = text(profile, "faceUrl");
    return own.empty() ? server_.url(std::string(kFacePath) + text(profile, "userId") + ".png") : own;
  }

  std::size_t fansOf(const std::string& userId) const {
    return std::count_if(follows_.begin(), follows_.end(),
                         [&](const auto& f) { return f.second.contains(userId); });
  }

  Json statistics(const std::string& userId, const std::string& viewer) {
    const Json& profile = profiles_[userId];
    return {{"userId", userId},
            {"nickName", text(profile, "nickName")},
            {"faceUrl", faceOf(profile)},
            {"attentionCount", follows_[userId].size()},
            {"attentionedCount", fansOf(userId)},
            {"blogCount", std::count_if(blogs_.begin(), blogs_.end(),
                                        [&](const Json& b) { return b["createBy"] == userId; })},
            {"conceredTopicCount", topicFollows_[userId].size()},
            {"collectedBlogCount", collects_[userId].size()},
            {"userConcerned", follows_[viewer].contains(userId)}};
  }

  const Json& addComment(const std::string& blogId, const std::string& author, const Json& content,
                         bool asBlog) {
    comments_.push_back({{"commentId", "WC-" + std::to_string(++issued_)},
                         {"blogId", blogId},
                         {"content", content},
                         {"createBy", author},
                         {"hasBroadcast", asBlog},
                         {"createTime", nowMilliseconds()}});
    return comments_.back();
  }

  Json commentView(const Json& comment) {
    const Json& author = profiles_[text(comment, "createBy")];
    Json view = comment;
    view["nickName"] = view["createByName"] = text(author, "nickName");
    view["userPicture"] = faceOf(author);
    return view;
  }

  std::mutex mutex_;
  const long long startedAt_;
  // Owns this demo through its methods; asked for addresses only once it serves.
  const OpenServer& server_;
  std::map<std::string, Json> profiles_;
  std::vector<Json> topics_;
  std::vector<Json> blogs_;
  std::vector<Json> comments_;
  IdSets follows_;
  IdSets collects_;
  IdSets topicFollows_;
  std::map<std::string, long long> lastLook_;
  unsigned long long issued_ = 0;
};

}  // namespace

void installDemoBlg(OpenServer& server, const std::string& dataFolder) {
  const Json data = readFile(dataFolder + "/blg/blogs.json");
  auto demo = std::make_shared<BlogDemo>(data.is_object() ? data : Json::object(), nowMilliseconds(), server);
  const std::pair<const char*, BlogDemo::Method> methods[] = {
      {"/v1/wb/blog/get", &BlogDemo::get},
      {"/v1/wb/blog/post", &BlogDemo::post},
      {"/v1/wb/blog/repost", &BlogDemo::repost},
      {"/v1/wb/blog/collect", &BlogDemo::collect},
      {"/v1/wb/blog/cancelCollect", &BlogDemo::cancelCollect},
      {"/v1/wb/blog/loadMyBlogs", &BlogDemo::loadMyBlogs},
      {"/v1/wb/blog/loadMyConcernBlogs", &BlogDemo::loadMyConcernBlogs},
      {"/v1/wb/blog/loadCorpBlogs", &BlogDemo::loadCorpBlogs},
      {"/v1/wb/blog/loadUserBlogs", &BlogDemo::loadUserBlogs},
      {"/v1/wb/blog/loadRespostBlogs", &BlogDemo::loadRespostBlogs},
      {"/v1/wb/blog/loadMyCollectedBlogs", &BlogDemo::loadMyCollectedBlogs},
      {"/v1/wb/blog/loadTopicBlogs", &BlogDemo::loadTopicBlogs},
      {"/v1/wb/blog/reminder", &BlogDemo::reminder},
      {"/v1/wb/topic/loadTopics", &BlogDemo::loadTopics},
      {"/v1/wb/topic/loadUserTopics", &BlogDemo::loadUserTopics},
      {"/v1/wb/topic/follow", &BlogDemo::followTopic},
      {"/v1/wb/topic/cancelFollow", &BlogDemo::cancelFollowTopic},
      {"/v1/wb/topic/isFollowed", &BlogDemo::isFollowed},
      {"/v1/wb/bloguser/loadBlogUsers", &BlogDemo::loadBlogUsers},
      {"/v1/wb/bloguser/follow", &BlogDemo::followUser},
      {"/v1/wb/bloguser/cancelFollow", &BlogDemo::cancelFollowUser},
      {"/v1/wb/bloguser/loadFollowedUsers", &BlogDemo::loadFollowedUsers},
      {"/v1/wb/bloguser/loadFans", &BlogDemo::loadFans},
      {"/v1/wb/bloguser/getUserDetailById", &BlogDemo::getUserDetailById},
      {"/v1/wb/bloguser/getUserDetailByName", &BlogDemo::getUserDetailByName},
      {"/v1/wb/comment/loadComments", &BlogDemo::loadComments},
      {"/v1/wb/comment/comment", &BlogDemo::comment},
  };
  for (const auto& [path, method] : methods) {
    server.method(path, [demo, method = method](const OpenCall& call) { return demo->serve(call, method); });
  }
  server.route("/media/blg/*", answerBlogMedia);
}

}  // namespace devserver
