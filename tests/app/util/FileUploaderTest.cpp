#include "app/util/FileUploader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/model/AppClasses.h"
#include "app/service/cmn/OpenFileService.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/MultipartForm.h"
#include "tools/devserver/demo/DemoFiles.h"

namespace {

class FileUploaderTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    devserver::installDemoFiles(server, "");
  }

  // The multipart parts of the last request to the path.
  std::vector<devserver::MultipartPart> partsSentTo(const std::string& path) {
    const std::vector<devserver::Request> requests = server.requests();
    for (auto request = requests.rbegin(); request != requests.rend(); ++request) {
      if (request->path != path) continue;
      auto parts = devserver::MultipartForm::parse(*request);
      EXPECT_TRUE(parts) << "not a multipart form";
      return parts.value_or(std::vector<devserver::MultipartPart>{});
    }
    ADD_FAILURE() << "nothing reached " << path;
    return {};
  }

  static bool allFieldsEmpty(const UploadResult& result) {
    for (const pf::Property& property : UploadResult::staticClass().declaredProperties()) {
      if (!property.get(result).isNil()) return false;
    }
    return true;
  }

  FileUploader uploader;
};

TEST_F(FileUploaderTest, BytesGoAsExactlyOnePartFileNamedImageJpg) {
  const pf::Data picture = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  const auto result = uploader.uploadFile(server.url("/upload/image"), picture);
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->success());
  EXPECT_EQ(result->storedFileName, "image.jpg");
  EXPECT_EQ(result->fileSize, "10");
  EXPECT_TRUE(result->storedFileId && !result->storedFileId->empty());

  const auto parts = partsSentTo("/upload/image");
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].name, "file");
  EXPECT_EQ(parts[0].fileName, "image.jpg");
  EXPECT_EQ(parts[0].contentType, "application/octet-stream");
  EXPECT_EQ(parts[0].body, std::string(picture.begin(), picture.end()));
}

TEST_F(FileUploaderTest, AFileGoesUnderItsOwnName) {
  const std::string path = home.file("holiday.png");
  std::ofstream(path, std::ios::binary) << "png bytes";
  const auto result = uploader.uploadFile(server.url("/upload/image"), path);
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->success());
  const auto parts = partsSentTo("/upload/image");
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].name, "file");
  EXPECT_EQ(parts[0].fileName, "holiday.png");
  EXPECT_EQ(parts[0].body, "png bytes");
}

TEST_F(FileUploaderTest, WhatTheStoreAnswers) {
  const struct {
    const char* what;
    int status;
    std::string body;
    bool answered;  // a result object at all
    bool success;
    bool empty;
  } cases[] = {
      {"500 with a processed answer", 500, R"({"processResultStatus": "DONE", "storedFileId": "F1"})", true,
       false, true},
      {"404", 404, "not here", true, false, true},
      {"processed", 200, R"({"processResultStatus": "DONE", "storedFileId": "F1"})", true, true, false},
      {"lower-case done", 200, R"({"processResultStatus": "done", "storedFileId": "F1"})", true, false,
       false},
      {"not processed", 200, R"({"processResultStatus": "FAILED"})", true, false, false},
      {"no JSON", 200, "<html>busy</html>", false, false, true},
  };
  int index = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = "/store/" + std::to_string(++index);
    server.route(path, devserver::answers::text(c.status, c.body, {{"Content-Type", "application/json"}}));
    const auto result = uploader.uploadFile(server.url(path), pf::Data{1, 2, 3});
    ASSERT_EQ(result != nullptr, c.answered);
    if (!result) continue;
    EXPECT_EQ(result->success(), c.success);
    EXPECT_EQ(allFieldsEmpty(*result), c.empty);
  }
}

TEST_F(FileUploaderTest, AnUnreachableOrMalformedAddressGivesAnEmptyResult) {
  for (const std::string& url : {std::string("http://127.0.0.1:1/upload"), std::string("::not a url")}) {
    const auto result = uploader.uploadFile(url, pf::Data{1});
    ASSERT_NE(result, nullptr) << url;
    EXPECT_FALSE(result->success());
    EXPECT_TRUE(allFieldsEmpty(*result));
  }
}

TEST_F(FileUploaderTest, TheImageUploadAddressComesFromTheServer) {
  ASSERT_FALSE(logIn().isNil());
  OpenFileService files(delegate);
  const std::optional<std::string> address = files.getImgUploadUrl(false);
  EXPECT_EQ(address, server.url("/upload/image"));
  const auto calls = server.calls("/v1/sf/file/getImgUploadUrl");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].parameters.at("useSys"), "false");
  EXPECT_EQ(files.getSystemUploadUrl(), server.url("/upload/system"));
  EXPECT_EQ(files.getNormalUploadUrl(), server.url("/upload/normal"));

  const auto upload = uploader.uploadFile(*address, pf::Data{'x'});
  ASSERT_NE(upload, nullptr);
  EXPECT_TRUE(upload->success());
}

}  // namespace
