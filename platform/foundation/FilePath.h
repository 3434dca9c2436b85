#pragma once
// File path text operations with the original platform's rules: trailing "/" characters are ignored,
// "/" is its own last component, and a name that only starts with "." (".profile") has no extension.

#include <string>
#include <string_view>

namespace pf::path {

// "/tmp/scratch.tiff" -> "scratch.tiff", "/tmp/" -> "tmp", "/" -> "/", "" -> "".
std::string lastPathComponent(std::string_view path);
// "/tmp/scratch.tiff" -> "tiff", "scratch..tiff" -> "tiff", ".tiff" -> "", "/tmp/" -> "".
std::string pathExtension(std::string_view path);
// "/tmp/scratch.tiff" -> "/tmp", "/tmp/" -> "/", "/" -> "/", "scratch.tiff" -> "".
std::string deletingLastPathComponent(std::string_view path);
// "/tmp/scratch.tiff" -> "/tmp/scratch", "scratch.bundle/" -> "scratch", ".tiff" -> ".tiff".
std::string deletingPathExtension(std::string_view path);
// Joins with one "/", collapsing repeated "/" and dropping a trailing one: "/tmp/" + "a" -> "/tmp/a".
std::string appendingPathComponent(std::string_view path, std::string_view component);
// "/tmp/scratch/" + "tiff" -> "/tmp/scratch.tiff"; "" and "/" take no extension, nor does an empty one
// add a ".".
std::string appendingPathExtension(std::string_view path, std::string_view extension);

}  // namespace pf::path
