#pragma once
// Snapshots of the components for a person to look at: written to MARLUNE_SNAPSHOT_DIR when set, else
// to "snapshots" beside the test executable (the build folder). Checks sample pixels, never whole images.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/host/HeadlessHost.h"

inline std::string componentSnapshotFolder() {
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) return folder;
  std::error_code ignored;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", ignored);
  const auto folder = executable.parent_path() / "snapshots";
  std::filesystem::create_directories(folder, ignored);
  return folder.string();
}

inline void keepSnapshot(pf::HeadlessHost& host, const std::string& name) {
  host.writePng(componentSnapshotFolder() + "/" + name);
}

inline bool pixelNear(pf::Pixel pixel, int red, int green, int blue, int slack = 24) {
  return std::abs(pixel.red - red) <= slack && std::abs(pixel.green - green) <= slack &&
         std::abs(pixel.blue - blue) <= slack;
}
