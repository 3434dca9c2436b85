#pragma once
// Where the application keeps its files (the database in Documents, downloads and module resources in
// Caches) and the few file operations the program needs. Failures answer NO, nil, 0 or an empty list;
// nothing throws. Names that come from outside (server addresses, users) are joined into folders only
// through pathInDir, which refuses names that would leave the folder.
// Stateless; safe on any thread. Two threads asking for the same module folder may both try to create
// it, which is harmless.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

class FileTool {
 public:
  static std::string getDocumentPath();
  static std::string getCachesPath();
  static std::string getTempPath();

  // dir/name, or nullopt when name is "", ".", "..", holds a "/" or a NUL: it would not stay in dir.
  static std::optional<std::string> pathInDir(const std::string& dir, const std::string& name);
  // Caches/name (the two are the same), refused names as in pathInDir.
  static std::optional<std::string> getLocalFilePath(const std::string& name);
  static std::optional<std::string> getCachesFilePath(const std::string& name);
  // The bundle folder joined with the name, refused names as in pathInDir.
  static std::optional<std::string> getResourcePath(const std::string& name);
  // "name.type": the bundle's resource of that name and type; nullopt without a "." or when missing.
  static std::optional<std::string> getResourceFilePath(const std::string& name);

  // Folders inside Caches, made with their parents when missing. A failed creation is not reported:
  // the path is answered and the caller's write fails later.
  static std::string getCourseResourcePath();
  static std::string getMicroBlogResourcePath();
  static std::string getQAResourcePath();
  static std::string getDownloadDir();
  static std::string getDownloadTmpDir();
  // Caches/header, made when missing; nullopt for a refused name.
  static std::optional<std::string> getResourcePathWithHeader(const std::string& header);

  // An empty path is no path: the tests answer NO and the sizes 0.
  static bool fileExistAtPath(const std::string& path);
  static bool dirExistAtPath(const std::string& path);
  // YES also when the folder is already there.
  static bool createDirAtPath(const std::string& path);
  // Creates the folder dirName inside path (with missing parents); NO for a refused name.
  static bool createDirInThePath(const std::string& path, const std::string& dirName);
  // A file's size, or a folder entry's own size (not its contents); 0 when nothing is there.
  static std::uint64_t fileSizeAtPath(const std::string& path);

  // YES when nothing is there; else removes the item with its contents.
  static bool deleteFile(const std::string& path);
  // YES when no folder is there; else removes the folder with its contents.
  static bool deleteDir(const std::string& path);
  // Empties the folder at every depth and keeps it; YES when no folder is there. Stops with NO at the
  // first entry that cannot be removed, or when the folder cannot be listed.
  static bool clearDir(const std::string& path);
  // Copies a file or folder; NO when either path is empty, the source is missing or the destination
  // already exists (it is never overwritten or merged into).
  static bool copyFileFromPath(const std::string& fromPath, const std::string& toPath);

  // The file's bytes; logs and answers nullopt when nothing is there.
  static std::optional<pf::Data> readDataFromFile(const std::string& path);
  // Names of the folder's direct entries, sorted; a listing error is logged and gives an empty list.
  static std::vector<std::string> getFileListFromDir(const std::string& path);
  // Full paths of every folder below path, parents first; nullopt unless path is a listable folder.
  static std::optional<std::vector<std::string>> getDirInThePath(const std::string& path);
  // Full paths of every item below path, parents first; nullopt unless path is a listable folder.
  static std::optional<std::vector<std::string>> getFileInThePath(const std::string& path);
  // Full paths of the items below dir whose name without its extension is fileName; nullopt for none.
  static std::optional<std::vector<std::string>> getFilesInDir(const std::string& dir,
                                                               const std::string& fileName);
  // Free bytes of the file system holding Documents (logged with its capacity); 0 on failure.
  static std::int64_t freeSpace();
};
