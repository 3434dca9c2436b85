#include "platform/foundation/FilePath.h"

#include <gtest/gtest.h>

namespace pf::path {
namespace {

struct PathCase {
  const char* path;
  const char* last;
  const char* extension;
  const char* withoutLast;
  const char* withoutExtension;
};

class FilePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(FilePathTest, SplitsLikeThePlatform) {
  const PathCase& c = GetParam();
  EXPECT_EQ(lastPathComponent(c.path), c.last);
  EXPECT_EQ(pathExtension(c.path), c.extension);
  EXPECT_EQ(deletingLastPathComponent(c.path), c.withoutLast);
  EXPECT_EQ(deletingPathExtension(c.path), c.withoutExtension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FilePathTest,
    testing::Values(PathCase{"/tmp/scratch.tiff", "scratch.tiff", "tiff", "/tmp", "/tmp/scratch"},
                    PathCase{"/tmp/scratch", "scratch", "", "/tmp", "/tmp/scratch"},
                    PathCase{"/tmp/", "tmp", "", "/", "/tmp"}, PathCase{"/tmp", "tmp", "", "/", "/tmp"},
                    PathCase{"scratch///", "scratch", "", "", "scratch"}, PathCase{"/", "/", "", "/", "/"},
                    PathCase{"//", "/", "", "/", "/"}, PathCase{"", "", "", "", ""},
                    PathCase{"scratch.tiff", "scratch.tiff", "tiff", "", "scratch"},
                    PathCase{".scratch.tiff", ".scratch.tiff", "tiff", "", ".scratch"},
                    PathCase{"/scratch..tiff", "scratch..tiff", "tiff", "/", "/scratch."},
                    PathCase{"/tmp/.hidden", ".hidden", "", "/tmp", "/tmp/.hidden"},
                    PathCase{"scratch.bundle/", "scratch.bundle", "bundle", "", "scratch"},
                    PathCase{"/dir.d/file", "file", "", "/dir.d", "/dir.d/file"},
                    PathCase{"/tmp//lock/", "lock", "", "/tmp", "/tmp//lock"},
                    PathCase{"Download/课程.mp4", "课程.mp4", "mp4", "Download", "Download/课程"}));

struct AppendCase {
  const char* path;
  const char* addition;
  const char* expected;
};

class AppendComponentTest : public testing::TestWithParam<AppendCase> {};

TEST_P(AppendComponentTest, JoinsWithOneSlash) {
  EXPECT_EQ(appendingPathComponent(GetParam().path, GetParam().addition), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, AppendComponentTest,
                         testing::Values(AppendCase{"/tmp", "scratch.tiff", "/tmp/scratch.tiff"},
                                         AppendCase{"/tmp/", "scratch.tiff", "/tmp/scratch.tiff"},
                                         AppendCase{"/", "scratch.tiff", "/scratch.tiff"},
                                         AppendCase{"", "scratch.tiff", "scratch.tiff"},
                                         AppendCase{"", "/abs", "/abs"}, AppendCase{"/tmp", "", "/tmp"},
                                         AppendCase{"", "", ""}, AppendCase{"/tmp//", "/a//b/", "/tmp/a/b"}));

class AppendExtensionTest : public testing::TestWithParam<AppendCase> {};

TEST_P(AppendExtensionTest, AddsADotAndTheExtension) {
  EXPECT_EQ(appendingPathExtension(GetParam().path, GetParam().addition), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, AppendExtensionTest,
                         testing::Values(AppendCase{"/tmp/scratch", "tiff", "/tmp/scratch.tiff"},
                                         AppendCase{"/tmp/scratch.old", "tiff", "/tmp/scratch.old.tiff"},
                                         AppendCase{"/tmp/", "tiff", "/tmp.tiff"}, AppendCase{"", "tiff", ""},
                                         AppendCase{"/", "tiff", "/"}, AppendCase{"a", "", "a"}));

}  // namespace
}  // namespace pf::path
