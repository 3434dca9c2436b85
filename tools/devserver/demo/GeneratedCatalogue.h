#pragma once
// A made-up catalogue for measuring and racing the course sync: `courses` THREESCREEN courses
// "GEN-<c>" of `units` units "GEN-<c>-<u>" (named "第<u+1>节：单元"), every course assigned to userId.

#include <filesystem>
#include <string>

namespace devserver {

std::string generatedCourseId(int course);
std::string generatedUnitId(int course, int unit);

// Writes dataFolder/cms/catalogue.json, the folder installDemoCms reads; answers dataFolder.
std::string writeGeneratedCatalogue(const std::filesystem::path& dataFolder, int courses, int units,
                                    const std::string& userId);

// Writes dataFolder/cms/catalogue.json for browsing: `courses` THREESCREEN courses "GEN-<c>" of one
// unit each under one category, released newest first; the first `owned` of them are titled
// "<ownedText> <c>" and assigned to userId, the rest are titled "课程 <c>". No course has a cover, so
// installing it beside another catalogue asks for no media. Answers dataFolder.
std::string writeBrowsingCatalogue(const std::filesystem::path& dataFolder, int courses, int owned,
                                   const std::string& ownedText, const std::string& userId);

}  // namespace devserver
