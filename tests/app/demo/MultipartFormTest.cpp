#include <gtest/gtest.h>

#include "tools/devserver/MultipartForm.h"

namespace {

using devserver::MultipartForm;

const std::string kType = "multipart/form-data; boundary=XyZ";

TEST(MultipartForm, ReadsFieldsAndFilesInOrder) {
  const std::string body =
      "--XyZ\r\nContent-Disposition: form-data; name=\"title\"\r\n\r\nhello\r\n"
      "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"image.jpg\"\r\n"
      "Content-Type: application/octet-stream\r\n\r\n\xff\xd8 --XyZ\r\nbytes\r\n"
      "--XyZ--\r\n";
  const auto parts = MultipartForm::parse(kType, body);
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 2u);
  EXPECT_EQ((*parts)[0].name, "title");
  EXPECT_FALSE((*parts)[0].fileName);
  EXPECT_EQ((*parts)[0].body, "hello");
  EXPECT_EQ((*parts)[1].name, "file");
  EXPECT_EQ((*parts)[1].fileName, "image.jpg");
  EXPECT_EQ((*parts)[1].contentType, "application/octet-stream");
  // The boundary text counts only at the start of a line; elsewhere it is content.
  EXPECT_EQ((*parts)[1].body, "\xff\xd8 --XyZ\r\nbytes");
}

TEST(MultipartForm, RefusesWhatIsNoWellFormedForm) {
  const struct {
    const char* what;
    std::string contentType;
    std::string body;
  } cases[] = {
      {"not multipart", "application/json", "--XyZ--"},
      {"no boundary", "multipart/form-data", "--XyZ--"},
      {"body without the boundary", kType, "hello"},
      {"unterminated part", kType, "--XyZ\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nx"},
      {"part without a name", kType, "--XyZ\r\nContent-Disposition: form-data\r\n\r\nx\r\n--XyZ--"},
      {"part without a head", kType, "--XyZ\r\nx\r\n--XyZ--"},
  };
  for (const auto& c : cases) EXPECT_FALSE(MultipartForm::parse(c.contentType, c.body)) << c.what;
}

TEST(MultipartForm, AQuotedBoundaryAndAnEmptyForm) {
  const auto parts = MultipartForm::parse("multipart/form-data; boundary=\"a b\"", "--a b--\r\n");
  ASSERT_TRUE(parts);
  EXPECT_TRUE(parts->empty());
}

}  // namespace
