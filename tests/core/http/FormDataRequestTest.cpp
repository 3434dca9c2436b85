#include "core/http/FormDataRequest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/RunLoop.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tools/devserver/DevServer.h"

namespace {

constexpr char kUuid[] = "00000000-1111-2222-3333-444444444444";
constexpr char kBoundary[] = "0xKhTmLbOuNdArY-00000000-1111-2222-3333-444444444444";

class FormDataRequestTest : public HttpRequestFixture {
 protected:
  static FormDataRequest::Ptr form(const std::string& url = "http://127.0.0.1/upload") {
    auto r = FormDataRequest::requestWithURL(pf::Url::parse(url));
    r->setUuidSource([] { return std::string(kUuid); });
    return r;
  }
  static pf::Data bytes(const std::string& text) { return pf::Data(text.begin(), text.end()); }
  // The built body, from memory or from the body file.
  static std::string body(FormDataRequest& r) {
    r.buildPostBody();
    if (const auto path = r.postBodyFilePath.get()) {
      std::ifstream in(*path, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const pf::Data data = r.postBody.get().value_or(pf::Data{});
    return std::string(data.begin(), data.end());
  }
  static long errorCode(const HttpRequest& r) { return r.error.get() ? r.error.get()->code() : 0; }
};

TEST_F(FormDataRequestTest, FieldsAloneAreUrlEncodedWithEveryReservedCharacterEscaped) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string expected;
  };
  const Case cases[] = {
      {{{"a", "1"}, {"b", "2"}}, "a=1&b=2"},
      {{{"q", ":/?#[]@!$ &'()*+,;=\"<>%{}|\\^~`"}},
       "q=%3A%2F%3F%23%5B%5D%40%21%24%20%26%27%28%29%2A%2B%2C%3B%3D%22%3C%3E%25%7B%7D%7C%5C%5E%7E%60"},
      {{{"keep-._", "AZaz09-._"}, {"empty", ""}}, "keep-._=AZaz09-._&empty="},
      {{{"name", "\xC3\xA9t\xC3\xA9"}, {"line", "a\r\nb"}}, "name=%C3%A9t%C3%A9&line=a%0D%0Ab"},
  };
  for (const Case& c : cases) {
    auto r = form();
    for (const auto& [key, value] : c.fields) r->addPostValue(value, key);
    EXPECT_EQ(body(*r), c.expected);
    EXPECT_EQ(header(*r, "Content-Type"), "application/x-www-form-urlencoded; charset=utf-8");
    EXPECT_EQ(header(*r, "Content-Length"), std::to_string(c.expected.size()));
    EXPECT_EQ(r->requestMethod(), "POST");
    EXPECT_FALSE(r->postBodyFilePath.get());
  }
}

TEST_F(FormDataRequestTest, OtherEncodingsEncodeBeforeEscapingAndRefuseWhatTheyCannotHold) {
  auto latin = form();
  latin->setStringEncoding(pf::StringEncoding::ISOLatin1);
  latin->addPostValue("\xC3\xA9t\xC3\xA9", "name");
  EXPECT_EQ(body(*latin), "name=%E9t%E9");
  EXPECT_EQ(header(*latin, "Content-Type"), "application/x-www-form-urlencoded; charset=iso-8859-1");

  auto lossy = form();
  lossy->setStringEncoding(pf::StringEncoding::ISOLatin1);
  lossy->addPostValue("\xE6\x97\xA5", "name");
  body(*lossy);
  EXPECT_EQ(errorCode(*lossy), 6);

  auto multipart = form();
  multipart->setStringEncoding(pf::StringEncoding::ISOLatin1);
  multipart->setPostFormat(FormDataRequest::PostFormat::MultipartFormData);
  multipart->addPostValue("\xE6\x97\xA5", "name");
  body(*multipart);
  EXPECT_EQ(errorCode(*multipart), 6);
}

TEST_F(FormDataRequestTest, MultipartFieldsGoOutInMemoryInTheFixedLayout) {
  auto r = form();
  r->setPostFormat(FormDataRequest::PostFormat::MultipartFormData);
  r->addPostValue("1", "a");
  r->addPostValue(2, "b");
  const std::string expected = std::string("--") + kBoundary +
                               "\r\n"
                               "Content-Disposition: form-data; name=\"a\"\r\n\r\n1"
                               "\r\n--" +
                               kBoundary +
                               "\r\n"
                               "Content-Disposition: form-data; name=\"b\"\r\n\r\n2"
                               "\r\n--" +
                               kBoundary + "--\r\n";
  EXPECT_EQ(body(*r), expected);
  EXPECT_EQ(header(*r, "Content-Type"),
            std::string("multipart/form-data; charset=utf-8; boundary=") + kBoundary);
  EXPECT_EQ(header(*r, "Content-Length"), std::to_string(expected.size()));
  EXPECT_FALSE(r->postBodyFilePath.get());
}

TEST_F(FormDataRequestTest, AFilePartSwitchesToMultipartStreamedThroughATemporaryFile) {
  const std::string big = writeFile("lecture.pdf", HttpRequest::kFileCopyChunkSize + 1000);
  auto r = form();
  r->addPostValue("7", "courseId");
  r->addFile(big, "file");
  r->addData(bytes("abc"), "image.jpg", std::nullopt, "thumb");
  const std::string expected =
      std::string("--") + kBoundary + "\r\nContent-Disposition: form-data; name=\"courseId\"\r\n\r\n7\r\n--" +
      kBoundary +
      "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"lecture.pdf\"\r\n"
      "Content-Type: application/pdf\r\n\r\n" +
      std::string(HttpRequest::kFileCopyChunkSize + 1000, 'z') + "\r\n--" + kBoundary +
      "\r\nContent-Disposition: form-data; name=\"thumb\"; filename=\"image.jpg\"\r\n"
      "Content-Type: application/octet-stream\r\n\r\nabc\r\n--" +
      kBoundary + "--\r\n";
  EXPECT_EQ(body(*r), expected);
  EXPECT_EQ(r->postFormat(), FormDataRequest::PostFormat::MultipartFormData);
  EXPECT_TRUE(r->shouldStreamPostDataFromDisk);
  EXPECT_TRUE(r->didCreateTemporaryPostDataFile);
  EXPECT_FALSE(r->postBody.get().value_or(pf::Data{}).size());
  EXPECT_EQ(r->postLength.load(), expected.size());
  EXPECT_EQ(header(*r, "Content-Length"), std::to_string(expected.size()));
  EXPECT_FALSE(r->error.get());
}

TEST_F(FormDataRequestTest, NamesAndTypesCannotBreakOutOfTheirPartHeader) {
  auto r = form();
  r->addPostValue("v", "a\"\r\nX-Evil: 1");
  r->addData(bytes("x"), "evil\".jpg\r\nContent-Type: text/html", "image/jpeg\r\nX-Evil: 1", "f\"ile");
  const std::string built = body(*r);
  EXPECT_NE(built.find("name=\"a%22%0D%0AX-Evil: 1\"\r\n\r\nv"), std::string::npos) << built;
  EXPECT_NE(built.find("name=\"f%22ile\"; filename=\"evil%22.jpg%0D%0AContent-Type: text/html\"\r\n"
                       "Content-Type: application/octet-stream\r\n\r\nx"),
            std::string::npos)
      << built;
  EXPECT_EQ(built.find("\r\nX-Evil"), std::string::npos);
}

TEST_F(FormDataRequestTest, APathThatIsNoRegularFileFailsTheRequestButKeepsThePart) {
  const std::string missing = home.file("missing.jpg");
  for (const std::string& path : {missing, home.path()}) {
    auto r = form();
    r->addFile(path, "file");
    ASSERT_EQ(errorCode(*r), 6) << path;
    EXPECT_EQ(r->error.get()->localizedDescription(), "No file exists at " + path);
    EXPECT_EQ(r->error.get()->domain(), "HttpRequestErrorDomain");
    ASSERT_EQ(r->fileData().size(), 1u);
    EXPECT_EQ(r->fileData()[0].contentType, "application/octet-stream");
  }
}

TEST_F(FormDataRequestTest, FilePartsTakeTheirNameAndTypeFromTheFileUnlessGiven) {
  const std::string photo = writeFile("photo.JPG", 10);
  auto r = form();
  r->addFile(photo, "file");
  r->addFile(photo, "me.png", "image/png", "avatar");
  r->addData(bytes("x"), "file");
  const std::vector<FormDataRequest::FilePart> parts = r->fileData();
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].fileName, "photo.JPG");
  EXPECT_EQ(parts[0].contentType, "image/jpeg");
  EXPECT_EQ(std::get<std::string>(parts[0].data), photo);
  EXPECT_EQ(parts[1].fileName, "me.png");
  EXPECT_EQ(parts[1].contentType, "image/png");
  EXPECT_EQ(parts[2].fileName, "file");
  EXPECT_EQ(parts[2].contentType, "application/octet-stream");
  EXPECT_EQ(std::get<pf::Data>(parts[2].data), bytes("x"));
}

TEST_F(FormDataRequestTest, SettersReplaceEveryEntryOfTheirKey) {
  const std::string photo = writeFile("photo.jpg", 10);
  auto r = form();
  for (const char* value : {"1", "2", "3"}) r->addPostValue(value, "k");
  r->addPostValue("x", "other");
  r->addPostValue("ignored", std::nullopt);
  r->addPostValue(pf::Value(), "ignored");
  r->setPostValue("4", "k");
  const std::vector<FormDataRequest::PostField> fields = r->postData();
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].key, "other");
  EXPECT_EQ(fields[1].key, "k");
  EXPECT_EQ(fields[1].value, "4");

  r->addData(bytes("a"), "file");
  r->addFile(photo, "file");
  r->addData(bytes("b"), "keep");
  r->setData(bytes("c"), "file");
  ASSERT_EQ(r->fileData().size(), 2u);
  EXPECT_EQ(r->fileData()[1].key, "file");
  r->setFile(photo, "file");
  ASSERT_EQ(r->fileData().size(), 2u);
  EXPECT_EQ(std::get<std::string>(r->fileData()[1].data), photo);
}

TEST_F(FormDataRequestTest, ACopyCarriesTheFormAndBuildsABodyOfItsOwn) {
  auto r = form();
  r->setStringEncoding(pf::StringEncoding::ISOLatin1);
  r->addPostValue("1", "a");
  r->addData(bytes("abc"), "image.jpg", std::nullopt, "file");
  const std::string original = body(*r);
  // The original request deletes its temporary body file when it ends.
  std::filesystem::remove(*r->postBodyFilePath.get());

  const auto c = std::dynamic_pointer_cast<FormDataRequest>(r->copy());
  ASSERT_TRUE(c);
  EXPECT_EQ(c->requestMethod(), "POST");
  EXPECT_EQ(c->stringEncoding(), pf::StringEncoding::ISOLatin1);
  EXPECT_EQ(c->postFormat(), FormDataRequest::PostFormat::MultipartFormData);
  EXPECT_EQ(c->postData().size(), 1u);
  EXPECT_EQ(c->fileData().size(), 1u);
  EXPECT_EQ(body(*c), original);
  EXPECT_NE(c->postBodyFilePath.get(), r->postBodyFilePath.get());
  EXPECT_FALSE(c->error.get());
}

TEST_F(FormDataRequestTest, WithoutFieldsOrFilesTheBodyIsBuiltAsForAnyRequest) {
  auto r = form();
  r->appendPostData(bytes("raw"));
  EXPECT_EQ(body(*r), "raw");
  EXPECT_FALSE(header(*r, "Content-Type"));
  EXPECT_EQ(header(*r, "Content-Length"), "3");
}

class FormDataUploadTest : public FormDataRequestTest {
 protected:
  void SetUp() override {
    FormDataRequestTest::SetUp();
    pf::RunLoop::setMainThread();
    server.route("/upload",
                 [](devserver::Exchange& e) { e.respond(200, "{\"processResultStatus\":\"DONE\"}"); });
    ASSERT_TRUE(server.start());
  }

  devserver::DevServer server;
};

TEST_F(FormDataUploadTest, AMultipartUploadReachesTheServerByteForByte) {
  const std::string photo = writeFile("photo.jpg", HttpRequest::kFileCopyChunkSize + 1000);
  auto r = form(server.url("/upload"));
  r->setPostFormat(FormDataRequest::PostFormat::MultipartFormData);
  r->addPostValue("42", "userId");
  r->setFile(photo, "file");
  r->startSynchronous();
  ASSERT_FALSE(r->error.get()) << r->error.get()->localizedDescription();
  EXPECT_EQ(r->responseStatusCode.load(), 200);
  EXPECT_EQ(r->responseString(), "{\"processResultStatus\":\"DONE\"}");

  ASSERT_EQ(server.requests().size(), 1u);
  const devserver::Request received = server.requests().back();
  EXPECT_EQ(received.method, "POST");
  EXPECT_EQ(received.header("Content-Type"),
            std::string("multipart/form-data; charset=utf-8; boundary=") + kBoundary);
  const std::string expected =
      std::string("--") + kBoundary + "\r\nContent-Disposition: form-data; name=\"userId\"\r\n\r\n42\r\n--" +
      kBoundary +
      "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"photo.jpg\"\r\n"
      "Content-Type: image/jpeg\r\n\r\n" +
      std::string(HttpRequest::kFileCopyChunkSize + 1000, 'z') + "\r\n--" + kBoundary + "--\r\n";
  EXPECT_EQ(received.body, expected);
  EXPECT_EQ(received.header("Content-Length"), std::to_string(expected.size()));
  // The temporary body file goes with the request.
  EXPECT_FALSE(r->postBodyFilePath.get());
  EXPECT_TRUE(std::filesystem::is_empty(pf::Sandbox::temporaryPath()));
}

TEST_F(FormDataUploadTest, StartingWithAMissingFileEndsWithCodeSixAndSendsNothing) {
  auto r = form(server.url("/upload"));
  r->setFile(home.file("gone.jpg"), "file");
  r->startSynchronous();
  EXPECT_EQ(errorCode(*r), 6);
  EXPECT_TRUE(r->complete);
  EXPECT_TRUE(server.requests().empty());
}

}  // namespace
