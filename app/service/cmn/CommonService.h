#pragma once
// State every module shares: who is signed in, what was typed at the last sign-in, whether this launch
// is a first launch, the network, the client type sent to the server, the user's unsent drafts, the
// download prompt switch, the picture cache, the image-upload address and the code-to-text resource
// "CollectionDefine". Every instance sees the same process-wide values; they start empty at launch.
//
// Threads: any thread. The process-wide values are locked; a call to the server (the upload address)
// runs outside the lock.

#include <memory>
#include <optional>
#include <string>

#include "app/model/lgn/User.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/OpenFileService.h"
#include "core/db/VelkSetting.h"
#include "core/util/Resources.h"

class CommonService : public BaseService {
 public:
  static constexpr char kClientTypePad[] = "APPLE_PAD";
  static constexpr char kClientTypePhone[] = "APPLE_PHONE";
  // Every draft key begins with this, the corporation code, "_" and the user id.
  static constexpr char kDraftPrefix[] = "draft_";

  explicit CommonService(std::weak_ptr<ServiceDelegate> delegate = {});

  // "CollectionDefine" of the main bundle, loaded on first use: the dictionaries "ClientType",
  // "EmsQuestionType", "QsmQuestionType", "SubmitResultMsg" and "SurveyMode" from codes to texts.
  std::shared_ptr<const Resources> resources();

  std::shared_ptr<User> getCurrentUser();
  void updateCurrentUser(std::shared_ptr<User> user);
  // Of the current user; nullopt when nobody is signed in.
  std::optional<std::string> getCurrentUserId();
  std::optional<std::string> getCurrentCorpcode();
  std::optional<std::string> getCurrentLoginName();

  // The sign-in typed last time (user defaults), nullopt when absent.
  std::optional<std::string> getLastLoginUserId();
  std::optional<std::string> getLastLoginUserPassword();
  std::optional<std::string> getLastLoginCorpcode();
  // Writes the three and forces them to disk.
  void saveAndUpdateLastLoginUserId(const std::optional<std::string>& userId,
                                    const std::optional<std::string>& password,
                                    const std::optional<std::string>& corpcode);
  void updateLastLoginUserPassword(const std::optional<std::string>& password);

  // The version seen at the last first-launch decision; when none is stored, stores the running one.
  std::optional<std::string> getLastVersion();
  void saveAndUpdateLastVersion(const std::optional<std::string>& version);
  // YES on the first launch after installing and on the first launch of a new version.
  bool isFirstLauch();

  // The course screen runs one full synchronisation per process.
  bool getAlreadyFisrtLoadSynCourse();
  void updateAlreadyFisrtLoadSynCourse(bool done);

  // "APPLE_PAD" on a tablet, else "APPLE_PHONE".
  std::string getClientType();
  bool netIsWifi();
  bool isOnline();

  // Whether to ask before downloading over the mobile network; YES until switched.
  bool g3PromptStatus();
  void switchDownloadPromptStatus();

  // Empties the picture cache and deletes the current user's drafts; NO when either step failed.
  bool clearCache();
  bool cleanPicCache();
  // Only the current user's drafts, matched by exact key prefix; with nobody signed in, nothing.
  bool cleanDraft();
  // Stores the draft by its key, or deletes it when its text is empty; NO for no draft.
  bool createOrUpdateDraft(const std::shared_ptr<VelkSetting>& draft);
  std::optional<std::string> getDraftOfDraftIdentifier(const std::string& identifier);

  // Creates the database when its file does not exist.
  void chectDbVersionAndUpdate();

  // Asked of the server once per process (again while it answers nothing).
  std::optional<std::string> getImageUploadUrl();

  // What a new launch starts with: no user, no cached address or resource, no course sync done.
  // For tests that launch more than once in one process.
  static void clearSharedState();

 private:
  std::shared_ptr<VelkSetting> downloadPromptRow();

  std::unique_ptr<OpenFileService> openFileService_;
};
