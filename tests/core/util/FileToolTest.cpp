#include "core/util/FileTool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"

namespace fs = std::filesystem;
using testing::ElementsAre;

namespace {

void writeFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileToolTest : public testing::Test {
 protected:
  void SetUp() override { pf::Sandbox::setHome(home_.path()); }
  void TearDown() override { pf::Sandbox::setHome(""); }

  pf_test::TemporaryFolder home_;
  pf_test::TemporaryFolder work_;
};

TEST_F(FileToolTest, ModuleFoldersAreMadeOnDemand) {
  const std::string caches = FileTool::getCachesPath();
  ASSERT_FALSE(fs::exists(caches + "/Download"));
  EXPECT_EQ(FileTool::getDownloadTmpDir(), caches + "/Download/Temp");
  EXPECT_TRUE(fs::is_directory(caches + "/Download/Temp"));

  struct Case {
    std::string path;
    const char* name;
  };
  for (const Case& c : {Case{FileTool::getCourseResourcePath(), "Course"},
                        Case{FileTool::getMicroBlogResourcePath(), "MicroBlog"},
                        Case{FileTool::getQAResourcePath(), "QuestionAndAnswer"},
                        Case{FileTool::getDownloadDir(), "Download"},
                        Case{FileTool::getResourcePathWithHeader("Pictures").value_or(""), "Pictures"}}) {
    EXPECT_EQ(c.path, caches + "/" + c.name);
    EXPECT_TRUE(fs::is_directory(c.path)) << c.name;
  }
  EXPECT_EQ(FileTool::getLocalFilePath("a.mp4"), caches + "/a.mp4");
  EXPECT_EQ(FileTool::getCachesFilePath("a.mp4"), caches + "/a.mp4");
}

TEST_F(FileToolTest, RefusesNamesThatWouldLeaveTheirFolder) {
  for (const std::string& name :
       {std::string(), std::string("."), std::string(".."), std::string("../escape"), std::string("a/b"),
        std::string("/etc"), std::string("a\0b", 3)}) {
    EXPECT_FALSE(FileTool::pathInDir(work_.path(), name)) << name;
    EXPECT_FALSE(FileTool::getLocalFilePath(name)) << name;
    EXPECT_FALSE(FileTool::getResourcePathWithHeader(name)) << name;
    EXPECT_FALSE(FileTool::getResourcePath(name)) << name;
    EXPECT_FALSE(FileTool::createDirInThePath(work_.path() + "/inner", name)) << name;
  }
  EXPECT_FALSE(FileTool::getResourceFilePath("../Sample.plist"));
  EXPECT_FALSE(fs::exists(fs::path(home_.path()) / "Library" / "escape"));
  EXPECT_FALSE(fs::exists(work_.file("escape")));

  EXPECT_EQ(FileTool::pathInDir(work_.path(), "..hidden.mp4"), work_.file("..hidden.mp4"));
  EXPECT_TRUE(FileTool::createDirInThePath(work_.path(), "made"));
  EXPECT_TRUE(fs::is_directory(work_.file("made")));
}

TEST_F(FileToolTest, ExistenceCreationAndSize) {
  writeFile(work_.file("five.txt"), "12345");
  EXPECT_TRUE(FileTool::fileExistAtPath(work_.path()));
  EXPECT_TRUE(FileTool::fileExistAtPath(work_.file("five.txt")));
  EXPECT_FALSE(FileTool::dirExistAtPath(work_.file("five.txt")));
  EXPECT_FALSE(FileTool::fileExistAtPath(""));
  EXPECT_FALSE(FileTool::dirExistAtPath(""));

  EXPECT_EQ(FileTool::fileSizeAtPath(work_.file("five.txt")), 5u);
  EXPECT_EQ(FileTool::fileSizeAtPath(work_.file("missing")), 0u);

  EXPECT_TRUE(FileTool::createDirAtPath(work_.file("a/b/c")));
  EXPECT_TRUE(FileTool::createDirAtPath(work_.file("a/b/c")));
  EXPECT_FALSE(FileTool::createDirAtPath(work_.file("five.txt")));
  EXPECT_FALSE(FileTool::createDirAtPath(""));
}

TEST_F(FileToolTest, DeletesFilesAndFolders) {
  EXPECT_TRUE(FileTool::deleteFile(work_.file("missing")));
  EXPECT_TRUE(FileTool::deleteDir(work_.file("missing")));
  writeFile(work_.file("tree/a/b.txt"), "b");
  writeFile(work_.file("single.txt"), "s");
  EXPECT_TRUE(FileTool::deleteFile(work_.file("single.txt")));
  EXPECT_TRUE(FileTool::deleteDir(work_.file("tree")));
  EXPECT_FALSE(fs::exists(work_.file("single.txt")));
  EXPECT_FALSE(fs::exists(work_.file("tree")));
}

TEST_F(FileToolTest, ClearDirEmptiesANestedTreeAndKeepsTheFolder) {
  writeFile(work_.file("top.txt"), "t");
  writeFile(work_.file("a/x.txt"), "x");
  writeFile(work_.file("a/b/c/deep.txt"), "d");
  writeFile(work_.file("a/b/sibling.txt"), "s");
  fs::create_directories(work_.file("empty/inner"));
  EXPECT_TRUE(FileTool::clearDir(work_.path()));
  EXPECT_TRUE(fs::is_directory(work_.path()));
  EXPECT_TRUE(fs::is_empty(work_.path()));
  EXPECT_TRUE(FileTool::clearDir(work_.file("missing")));
}

TEST_F(FileToolTest, CopyNeverOverwrites) {
  writeFile(work_.file("from.txt"), "new");
  writeFile(work_.file("to.txt"), "old");
  EXPECT_FALSE(FileTool::copyFileFromPath(work_.file("from.txt"), work_.file("to.txt")));
  EXPECT_EQ(readFile(work_.file("from.txt")), "new");
  EXPECT_EQ(readFile(work_.file("to.txt")), "old");

  EXPECT_FALSE(FileTool::copyFileFromPath(work_.file("missing"), work_.file("copy.txt")));
  EXPECT_FALSE(FileTool::copyFileFromPath("", work_.file("copy.txt")));
  EXPECT_FALSE(FileTool::copyFileFromPath(work_.file("from.txt"), ""));

  EXPECT_TRUE(FileTool::copyFileFromPath(work_.file("from.txt"), work_.file("copy.txt")));
  EXPECT_EQ(readFile(work_.file("copy.txt")), "new");

  writeFile(work_.file("dir/sub/f.txt"), "f");
  writeFile(work_.file("other/keep.txt"), "k");
  EXPECT_TRUE(FileTool::copyFileFromPath(work_.file("dir"), work_.file("dir2")));
  EXPECT_EQ(readFile(work_.file("dir2/sub/f.txt")), "f");
  EXPECT_FALSE(FileTool::copyFileFromPath(work_.file("dir"), work_.file("other")));
  EXPECT_FALSE(fs::exists(work_.file("other/sub")));
}

TEST_F(FileToolTest, ReadsFiles) {
  writeFile(work_.file("data.bin"), std::string("a\0b", 3));
  EXPECT_EQ(FileTool::readDataFromFile(work_.file("data.bin")), (pf::Data{'a', 0, 'b'}));
  pf::Log::Capture log;
  EXPECT_FALSE(FileTool::readDataFromFile(work_.file("missing")));
  EXPECT_TRUE(log.contains(work_.file("missing") + " 不存在！"));
  EXPECT_FALSE(FileTool::readDataFromFile(work_.path()));
}

TEST_F(FileToolTest, ListsFlatAndDeep) {
  writeFile(work_.file("report.txt"), "");
  writeFile(work_.file("report2.txt"), "");
  writeFile(work_.file("sub/report.pdf"), "");
  fs::create_directories(work_.file("sub/deeper"));

  EXPECT_THAT(FileTool::getFileListFromDir(work_.path()), ElementsAre("report.txt", "report2.txt", "sub"));
  EXPECT_THAT(*FileTool::getDirInThePath(work_.path()), ElementsAre(work_.file("sub"), work_.file("sub/deeper")));
  EXPECT_THAT(*FileTool::getFileInThePath(work_.path()),
              ElementsAre(work_.file("report.txt"), work_.file("report2.txt"), work_.file("sub"), work_.file("sub/deeper"),
                          work_.file("sub/report.pdf")));
  EXPECT_THAT(*FileTool::getFilesInDir(work_.path(), "report"),
              ElementsAre(work_.file("report.txt"), work_.file("sub/report.pdf")));
  EXPECT_FALSE(FileTool::getFilesInDir(work_.path(), "absent"));

  EXPECT_FALSE(FileTool::getDirInThePath(work_.file("report.txt")));
  EXPECT_FALSE(FileTool::getFileInThePath(work_.file("missing")));
  pf::Log::Capture log;
  EXPECT_TRUE(FileTool::getFileListFromDir(work_.file("missing")).empty());
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(FileToolTest, FindsBundleResources) {
  const std::string bundle = std::string(MARLUNE_FIXTURES) + "/core/util/bundle";
  pf::Bundle::setMainBundlePath(bundle);
  EXPECT_EQ(FileTool::getResourceFilePath("Sample.plist"), bundle + "/Sample.plist");
  EXPECT_EQ(FileTool::getResourcePath("Sample.plist"), bundle + "/Sample.plist");
  EXPECT_FALSE(FileTool::getResourceFilePath("Sample"));
  EXPECT_FALSE(FileTool::getResourceFilePath("Missing.plist"));
  pf::Bundle::setMainBundlePath("");
}

TEST_F(FileToolTest, FreeSpaceOfTheDocumentsVolume) {
  pf::Log::Capture log;
  EXPECT_GT(FileTool::freeSpace(), 0);
  EXPECT_TRUE(log.contains("MiB Free memory available."));
}

}  // namespace
