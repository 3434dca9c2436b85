// The micro-blog services against the stand-in's demo micro-blog, signed in as the demo learner
// (U0001, who follows U9103, U9101 and three colleagues, collects WB-001 and follows topic WT-001).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include <nlohmann/json.hpp>

#include "app/model/blg/BlogUser.h"
#include "app/model/blg/Topic.h"
#include "app/service/blg/BlgCommentService.h"
#include "app/service/blg/BlgService.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/blg/TopicService.h"
#include "core/open/OpenError.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/MultipartForm.h"
#include "tools/devserver/demo/DemoBlg.h"
#include "tools/devserver/demo/DemoFiles.h"

namespace {

constexpr char kAppKey[] = "6F1A0C2B9D8E4F7A8B3C5D6E7F8091A2";
constexpr char kSecret[] = "B7E3C1A9F2D44E6B8A0C9D1E2F3A4B5C";

class BlgServicesTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    pf::RunLoop::setMainThread();
    server.addUser({"demo", "learner", "learner123", "U0001"});
    devserver::installDemoFiles(server, MARLUNE_DEMO_DATA);
    devserver::installDemoBlg(server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(server.start());
    ServiceConfiguration configuration;
    configuration.appKey = kAppKey;
    configuration.secret = kSecret;
    configuration.baseUrl = server.host();
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    ServiceManager::ParamDic login{{"loginName", openValue("learner")},
                                   {"password", openValue("learner123")},
                                   {"corpCode", openValue("demo")}};
    ASSERT_TRUE(
        ServiceManager::performRemoteMethod("/v1/uc/login/ologin", login, "NSString", nullptr).isString());
    blogs = std::make_unique<BlgService>(delegate);
  }
  void TearDown() override {
    server.stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    AppSandbox::TearDown();
  }

  // The error codes the delegate heard of so far, in order.
  std::vector<std::string> reportedCodes() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
    std::vector<std::string> codes;
    for (const auto& report : *delegate->reports) {
      codes.push_back(OpenError::firstOrDefaultErrorInfo(*report.error)->errorCode.value_or("?"));
    }
    delegate->reports->clear();
    return codes;
  }

  std::string sent(const std::string& path, const std::string& name) const {
    const auto calls = server.calls(path);
    if (calls.empty() || !calls.back().parameters.contains(name)) return "(none)";
    return calls.back().parameters.at(name);
  }

  std::size_t requestsTo(const std::string& prefix) const {
    std::size_t count = 0;
    for (const auto& request : server.requests()) count += request.path.starts_with(prefix);
    return count;
  }

  static std::shared_ptr<Blog> newBlog(const std::string& content, const std::string& topics) {
    auto blog = std::make_shared<Blog>();
    blog->content = content;
    blog->topicName = topics;
    blog->clientType = "APPLE_PHONE";
    return blog;
  }

  static std::vector<std::string> topicTitles(const Blog& blog) {
    std::vector<std::string> titles;
    if (!blog.topicList) return titles;
    for (const pf::Value& element : *blog.topicList) {
      const auto topic = element.objectAs<Topic>();
      titles.push_back(topic && topic->title ? *topic->title : "(not a Topic)");
    }
    return titles;
  }

  devserver::OpenServer server{{kAppKey, kSecret, 900, 600, {}}};
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();
  std::shared_ptr<Page> page = std::make_shared<Page>();
  std::unique_ptr<BlgService> blogs;
};

TEST_F(BlgServicesTest, APostWithAPictureUploadsItThenPostsTheStoredFileId) {
  const pf::Data picture = {0xFF, 0xD8, 0xFF, 0xE0, 'J', 'F', 'I', 'F', 0xFF, 0xD9};
  const auto posted = blogs->postBlog(newBlog("午休时拍的照片", "安全月, 摄影"), picture);
  ASSERT_NE(posted, nullptr);
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{});

  std::optional<devserver::MultipartPart> part;
  for (const auto& request : server.requests()) {
    if (request.path != "/upload/image") continue;
    const auto parts = devserver::MultipartForm::parse(request);
    ASSERT_TRUE(parts && parts->size() == 1);
    part = parts->front();
  }
  ASSERT_TRUE(part);
  EXPECT_EQ(part->name, "file");
  EXPECT_EQ(part->fileName, "image.jpg");
  EXPECT_EQ(part->body, std::string(picture.begin(), picture.end()));

  const nlohmann::json sentBlog = nlohmann::json::parse(sent("/v1/wb/blog/post", "blog"));
  ASSERT_TRUE(sentBlog["imgFileId"].is_string());
  EXPECT_EQ(posted->normalPicture, server.url("/files/" + sentBlog["imgFileId"].get<std::string>()));
  EXPECT_EQ(topicTitles(*posted), (std::vector<std::string>{"安全月", "摄影"}));

  const auto feed = blogs->getCorpBlogsWithContent(std::nullopt, page);
  ASSERT_TRUE(feed && feed->rows && !feed->rows->empty());
  EXPECT_EQ(feed->rows->front().objectAs<Blog>()->blogId, posted->blogId);
}

TEST_F(BlgServicesTest, ANewPostSendsItsTextTopicsClientAndScalarsButNoNilObjectsAndNoUpload) {
  ASSERT_NE(blogs->postBlog(newBlog("第一条", "读书分享"), std::nullopt), nullptr);
  EXPECT_EQ(requestsTo("/upload/"), 0u);
  const nlohmann::json sentBlog = nlohmann::json::parse(sent("/v1/wb/blog/post", "blog"));
  EXPECT_EQ(sentBlog["content"], "第一条");
  EXPECT_EQ(sentBlog["topicName"], "读书分享");
  EXPECT_EQ(sentBlog["clientType"], "APPLE_PHONE");
  EXPECT_EQ(sentBlog["commentsCnt"], 0);
  EXPECT_EQ(sentBlog["collected"], false);
  for (const char* absent : {"imgFileId", "refBlog", "topicList", "blogId"}) {
    EXPECT_FALSE(sentBlog.contains(absent)) << absent;
  }
}

TEST_F(BlgServicesTest, AFailedUploadPostsNothingAndTellsTheDelegate) {
  // The upload address leads nowhere: the transfer answers 404.
  server.method("/v1/sf/file/getImgUploadUrl", [this](const devserver::OpenCall&) {
    return devserver::OpenAnswer::string(server.url("/nowhere"));
  });
  const pf::Data picture = {1, 2, 3};
  EXPECT_EQ(blogs->postBlog(newBlog("带图的微博", ""), picture), nullptr);
  EXPECT_TRUE(server.calls("/v1/wb/blog/post").empty());
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{"error.service"});

  // No address at all: the lookup's own failure is what the delegate hears.
  CommonService::clearSharedState();
  server.method("/v1/sf/file/getImgUploadUrl", [](const devserver::OpenCall&) {
    return devserver::OpenAnswer::error("sf.down", "store down");
  });
  EXPECT_EQ(blogs->postBlog(newBlog("带图的微博", ""), picture), nullptr);
  EXPECT_TRUE(server.calls("/v1/wb/blog/post").empty());
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{"sf.down"});
}

TEST_F(BlgServicesTest, NilFiltersPagesAndFalseFlagsGoOutAsTheirJsonTexts) {
  TopicService topics{delegate};
  BlgUserService users{delegate};
  blogs->getMyConcernBlogWithPage(page);
  blogs->getCorpBlogsWithContent(std::nullopt, nullptr);
  blogs->repostBlog("转发", "WB-002", false, "APPLE_PHONE");
  blogs->commentBlog("好", "WB-002", false);
  topics.getAllTopicListWithPage(page);
  users.getAttentionUsersWithUserID("U0001", page);
  const struct {
    const char* path;
    const char* parameter;
    const char* text;
  } cases[] = {
      {"/v1/wb/blog/loadMyConcernBlogs", "content", "null"},
      {"/v1/wb/blog/loadCorpBlogs", "content", "null"},
      {"/v1/wb/blog/loadCorpBlogs", "page", "null"},
      {"/v1/wb/blog/repost", "asComment", "false"},
      {"/v1/wb/comment/comment", "asBlog", "false"},
      {"/v1/wb/topic/loadTopics", "title", "null"},
      {"/v1/wb/bloguser/loadFollowedUsers", "nickName", "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(sent(c.path, c.parameter), c.text) << c.path << " " << c.parameter;
}

TEST_F(BlgServicesTest, ARepostCarriesItsSourceWithTheSourcesTopics) {
  const auto repost = blogs->repostBlog("一起读", "WB-003", true, "APPLE_PHONE");
  ASSERT_TRUE(repost && repost->refBlog);
  EXPECT_EQ(repost->blogType, "broadcast");
  EXPECT_EQ(repost->refBlog->blogId, "WB-003");
  EXPECT_EQ(topicTitles(*repost->refBlog), (std::vector<std::string>{"读书分享", "新员工培训"}));
  EXPECT_EQ(topicTitles(*repost), topicTitles(*repost->refBlog));

  // asComment also left a comment on the source.
  BlgCommentService comments{delegate};
  const auto onSource = comments.getCommentsWithBlogID("WB-003", page);
  ASSERT_TRUE(onSource && onSource->rows && onSource->rows->size() == 1);
  const auto comment = onSource->rows->front().objectAs<Comment>();
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->content, "一起读");
  EXPECT_TRUE(comment->hasBroadcast);
}

TEST_F(BlgServicesTest, EachRefusedToggleReachesTheDelegateWithItsCode) {
  TopicService topics{delegate};
  BlgUserService users{delegate};
  const struct {
    std::function<bool()> toggle;
    const char* code;
  } cases[] = {
      {[&] { return blogs->collectBlogWithBlogID("WB-001"); }, "wb.blog.blogCollected"},
      {[&] { return blogs->cancelCollectBlogWithBlogID("WB-002"); }, "wb.blog.blogCancelCollected"},
      {[&] { return topics.followTopicWithID("WT-001"); }, "wb.topic.followed"},
      {[&] { return topics.cancelFollowTopicWithID("WT-002"); }, "wb.topic.cancelFollowed"},
      {[&] { return users.followUserWithID("U9103"); }, "wb.blogUser.followed"},
      {[&] { return users.cancelFollowWithID("U9102"); }, "wb.blogUser.cancelFollowed"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(c.toggle()) << c.code;
    EXPECT_EQ(reportedCodes(), std::vector<std::string>{c.code});
  }
}

TEST_F(BlgServicesTest, TogglesThatChangeSomethingSucceedAndShowInTheLists) {
  TopicService topics{delegate};
  BlgUserService users{delegate};
  EXPECT_TRUE(blogs->collectBlogWithBlogID("WB-002"));
  EXPECT_TRUE(topics.followTopicWithID("WT-003"));
  EXPECT_TRUE(topics.isFollowedTopicWithID("WT-003"));
  EXPECT_TRUE(users.followUserWithID("U9102"));
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{});

  const auto collected = blogs->getMyCollectBlogWithPage(page);
  ASSERT_TRUE(collected && collected->rows);
  EXPECT_EQ(collected->total, 2);
  const auto followed = topics.getTopicsWithUserID("U0001", page);
  ASSERT_TRUE(followed && followed->rows);
  EXPECT_EQ(followed->total, 2);
  const auto detail = users.getUserDetailWithNickName("李军");
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->userId, "U9102");
  EXPECT_TRUE(detail->userConcerned);
  const auto fans = users.getFansWithUserID("U9102", page);
  ASSERT_TRUE(fans && fans->rows && fans->rows->size() == 1);
  EXPECT_EQ(fans->rows->front().objectAs<BlogUser>()->userId, "U0001");
}

}  // namespace

namespace {

TEST_F(BlgServicesTest, TheBadgeCountsOthersPostsUntilTheCompanyFeedIsOpened) {
  OpenBlogService open{delegate};
  EXPECT_EQ(open.reminder(),
            2);  // WB-003 and WB-004 of the last three days; the learner's own WB-005 is not counted
  blogs->getCorpBlogsWithContent(std::nullopt, page);
  EXPECT_EQ(open.reminder(), 0);
}

}  // namespace

namespace {

std::vector<std::string> idsOf(const std::shared_ptr<Page>& page, const std::function<std::string(const pf::Value&)>& id) {
  std::vector<std::string> ids;
  if (!page || !page->rows) return {"(no page)"};
  for (const pf::Value& row : *page->rows) ids.push_back(id(row));
  return ids;
}

// A blog row's id; every row must be a Blog whose topics are Topics.
std::string blogIdOf(const pf::Value& row) {
  const auto blog = row.objectAs<Blog>();
  if (!blog) return "(not a Blog)";
  if (blog->topicList) {
    for (const pf::Value& topic : *blog->topicList)
      if (!topic.objectAs<Topic>()) return "(a topic that is not a Topic)";
  }
  return blog->blogId.value_or("(nil)");
}

std::string topicIdOf(const pf::Value& row) {
  const auto topic = row.objectAs<Topic>();
  return topic ? topic->topicId.value_or("(nil)") : "(not a Topic)";
}

std::string userIdOf(const pf::Value& row) {
  const auto user = row.objectAs<BlogUser>();
  return user ? user->userId.value_or("(nil)") : "(not a BlogUser)";
}

using Ids = std::vector<std::string>;

// Newest first; a repost files under its source's topics.
TEST_F(BlgServicesTest, FeedsHoldThePostsOfTheirUserTopicOrSourceNewestFirst) {
  OpenBlogService open{delegate};
  const struct {
    const char* what;
    std::function<std::shared_ptr<Page>()> load;
    Ids expected;
  } cases[] = {
      {"a user's posts", [&] { return blogs->loadUserBlogsWithUserID("U9101", page); }, {"WB-004", "WB-002"}},
      {"a topic's posts", [&] { return blogs->getTopicBlogsWithTopicID("WT-001", page); },
       {"WB-004", "WB-003", "WB-001"}},
      {"another topic's", [&] { return open.loadTopicBlogs("WT-003", std::nullopt, page); }, {"WB-003"}},
      {"a user with no posts", [&] { return blogs->loadUserBlogsWithUserID("U9999", page); }, {}},
      {"the learner's own", [&] { return open.loadMyBlogs(std::nullopt, page); }, {"WB-005"}},
      {"the learner's own holding a text", [&] { return open.loadMyBlogs("课程", page); }, {"WB-005"}},
      {"the learner's own holding another", [&] { return open.loadMyBlogs("灭火器", page); }, {}},
      {"the reposts of a post", [&] { return open.loadRespostBlogs("WB-001", std::nullopt, page); }, {"WB-004"}},
      {"a user's posts holding a text", [&] { return open.loadUserBlogs("U9101", "转发", page); }, {"WB-004"}},
      {"the company's posts holding a text", [&] { return blogs->getCorpBlogsWithContent("安全", page); },
       {"WB-005", "WB-002"}},
  };
  for (const auto& c : cases) EXPECT_EQ(idsOf(c.load(), blogIdOf), c.expected) << c.what;
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{});
}

TEST_F(BlgServicesTest, EachCallSendsItsParameterNames) {
  OpenBlogService open{delegate};
  OpenTopicService topics{delegate};
  BlgUserService users{delegate};
  const struct {
    const char* path;
    std::function<void()> call;
    std::set<std::string> names;
  } cases[] = {
      {"/v1/wb/blog/get", [&] { blogs->getBlogWithBlogID("WB-001"); }, {"blogId"}},
      {"/v1/wb/blog/loadUserBlogs", [&] { blogs->loadUserBlogsWithUserID("U9101", page); },
       {"userId", "content", "page"}},
      {"/v1/wb/blog/loadTopicBlogs", [&] { blogs->getTopicBlogsWithTopicID("WT-001", page); },
       {"topicId", "content", "page"}},
      {"/v1/wb/blog/loadMyBlogs", [&] { open.loadMyBlogs(std::nullopt, page); }, {"content", "page"}},
      {"/v1/wb/blog/loadRespostBlogs", [&] { open.loadRespostBlogs("WB-001", std::nullopt, page); },
       {"blogId", "content", "page"}},
      {"/v1/wb/blog/reminder", [&] { open.reminder(); }, {}},
      {"/v1/wb/topic/loadTopics", [&] { topics.loadTopics(std::nullopt, page); }, {"title", "page"}},
      {"/v1/wb/topic/loadUserTopics", [&] { topics.loadUserTopics("U0001", std::nullopt, page); },
       {"userId", "title", "page"}},
      {"/v1/wb/topic/isFollowed", [&] { topics.isFollowed("WT-001"); }, {"topicId"}},
      {"/v1/wb/bloguser/loadBlogUsers", [&] { users.getBlogUsersWithNickName("王", page); }, {"nickName", "page"}},
      {"/v1/wb/bloguser/getUserDetailById", [&] { users.getUserDetailWithUserID("U9101"); }, {"userId"}},
      {"/v1/wb/bloguser/getUserDetailByName", [&] { users.getUserDetailWithNickName("王芳"); }, {"nickName"}},
  };
  for (const auto& c : cases) {
    c.call();
    const auto calls = server.calls(c.path);
    ASSERT_FALSE(calls.empty()) << c.path;
    std::set<std::string> names;
    for (const auto& [name, text] : calls.back().parameters) names.insert(name);
    EXPECT_EQ(names, c.names) << c.path;
  }
  EXPECT_EQ(sent("/v1/wb/blog/loadUserBlogs", "content"), "null");
  EXPECT_EQ(sent("/v1/wb/blog/loadTopicBlogs", "content"), "null");
}

TEST_F(BlgServicesTest, APostsDetailCarriesItsCountsItsAuthorAndItsSource) {
  const auto repost = blogs->getBlogWithBlogID("WB-004");
  ASSERT_NE(repost, nullptr);
  EXPECT_EQ(repost->blogType, "broadcast");
  EXPECT_EQ(repost->nickName, "王芳");
  EXPECT_EQ(repost->createBy, "U9101");
  EXPECT_EQ(repost->clientType, "APPLE_PHONE");
  ASSERT_TRUE(repost->createTime);
  EXPECT_FALSE(repost->collected);
  EXPECT_EQ(topicTitles(*repost), std::vector<std::string>{"新员工培训"});
  ASSERT_NE(repost->refBlog, nullptr);
  const Blog& source = *repost->refBlog;
  EXPECT_EQ(source.blogId, "WB-001");
  EXPECT_EQ(source.commentsCnt, 2);
  EXPECT_EQ(source.broadcastCnt, 1);
  EXPECT_EQ(source.collectCnt, 1);
  EXPECT_TRUE(source.collected) << "the learner collected the source";
  EXPECT_EQ(source.nickName, "培训讲师");
  ASSERT_TRUE(source.createTime);
  EXPECT_LT(source.createTime->seconds, repost->createTime->seconds);
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{});

  for (const std::optional<std::string>& unknown : {std::optional<std::string>("WB-404"), std::optional<std::string>()}) {
    EXPECT_EQ(blogs->getBlogWithBlogID(unknown), nullptr);
    EXPECT_EQ(reportedCodes(), std::vector<std::string>{"wb.blog.notFound"});
  }
}

TEST_F(BlgServicesTest, AUsersDetailCountsWhomHeFollowsHisFollowersPostsTopicsAndCollections) {
  BlgUserService users{delegate};
  const struct {
    const char* userId;
    long long follows;
    long long followers;
    long long posts;
    int topics;
    int collected;
    bool followedByLearner;
  } cases[] = {
      {"U0001", 5, 1, 1, 1, 1, false},
      {"U9103", 0, 3, 1, 0, 0, true},
      {"U9102", 1, 0, 1, 1, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.userId);
    const auto detail = users.getUserDetailWithUserID(c.userId);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->userId, c.userId);
    EXPECT_EQ(detail->attentionCount, c.follows);
    EXPECT_EQ(detail->attentionedCount, c.followers);
    EXPECT_EQ(detail->blogCount, c.posts);
    EXPECT_EQ(detail->conceredTopicCount, c.topics);
    EXPECT_EQ(detail->collectedBlogCount, c.collected);
    EXPECT_EQ(detail->userConcerned, c.followedByLearner);
  }
  EXPECT_EQ(users.getUserDetailWithNickName("培训讲师")->userId, "U9103");
  EXPECT_EQ(users.getUserDetailWithUserID("U9999"), nullptr);
  EXPECT_EQ(users.getUserDetailWithNickName("无此人"), nullptr);
  EXPECT_EQ(reportedCodes(), (std::vector<std::string>{"wb.blogUser.notFound", "wb.blogUser.notFound"}));
}

TEST_F(BlgServicesTest, NickNameSearchFindsPeopleWhoseNameHoldsTheText) {
  BlgUserService users{delegate};
  // The learner and the demo's 25 colleagues, U9101 to U9125.
  Ids everyone{"U0001"};
  for (int id = 9101; id <= 9125; ++id) everyone.push_back("U" + std::to_string(id));
  const struct {
    std::optional<std::string> text;
    Ids expected;
  } cases[] = {
      {"王", {"U9101"}},
      {"培训", {"U9103"}},
      {"无此人", {}},
      {std::nullopt, everyone},
  };
  // One page holds them all; the first page of 20 says how many there are.
  auto wide = std::make_shared<Page>();
  wide->pageSize = 50;
  for (const auto& c : cases) {
    Ids found = idsOf(users.getBlogUsersWithNickName(c.text, wide), userIdOf);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, c.expected) << c.text.value_or("(nil)");
  }
  const auto first = users.getBlogUsersWithNickName(std::nullopt, page);
  ASSERT_TRUE(first && first->rows);
  EXPECT_EQ(first->rows->size(), 20u);
  EXPECT_EQ(first->total, 26);
  EXPECT_TRUE(first->hasNextPage());
  const auto wang = users.getBlogUsersWithNickName("王芳", page);
  ASSERT_TRUE(wang && wang->rows && wang->rows->size() == 1);
  const auto person = wang->rows->front().objectAs<BlogUser>();
  EXPECT_EQ(person->nickName, "王芳");
  EXPECT_EQ(person->fansCnt, 1);
  EXPECT_EQ(person->concernCnt, 2);
  EXPECT_TRUE(person->concerned);
}

TEST_F(BlgServicesTest, TopicsAreListedByPostCountAndFilteredByTitleOrFollower) {
  OpenTopicService open{delegate};
  TopicService topics{delegate};
  const struct {
    const char* what;
    std::function<std::shared_ptr<Page>()> load;
    Ids expected;
  } cases[] = {
      {"all, most posts first (the first page of 20)", [&] { return topics.getAllTopicListWithPage(page); },
       {"WT-001", "WT-002", "WT-003", "WT-004", "WT-005", "WT-006", "WT-007", "WT-008", "WT-009", "WT-010",
        "WT-011", "WT-012", "WT-013", "WT-014", "WT-015", "WT-016", "WT-017", "WT-018", "WT-019", "WT-020"}},
      {"by title", [&] { return open.loadTopics("安全", page); }, {"WT-002"}},
      {"a user's followed topics", [&] { return topics.getTopicsWithUserID("U9102", page); }, {"WT-003"}},
      {"a user's followed topics by title", [&] { return open.loadUserTopics("U0001", "读书", page); }, {}},
      {"a user who follows none", [&] { return topics.getTopicsWithUserID("U9101", page); }, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(idsOf(c.load(), topicIdOf), c.expected) << c.what;
  const auto all = topics.getAllTopicListWithPage(page);
  ASSERT_TRUE(all && all->rows && !all->rows->empty());
  const auto first = all->rows->front().objectAs<Topic>();
  EXPECT_EQ(first->title, "新员工培训");
  EXPECT_EQ(first->blogCnt, 3);
  EXPECT_EQ(first->createBy, "U9103");

  EXPECT_TRUE(open.isFollowed("WT-001"));
  EXPECT_FALSE(open.isFollowed("WT-002"));
  EXPECT_FALSE(open.follow("WT-404"));
  EXPECT_EQ(reportedCodes(), std::vector<std::string>{"wb.topic.notFound"});
}

}  // namespace
