#pragma once
// The process-wide manager of the current learner's unit downloads for offline study. It loads the
// learner's download records into memory lists, starts and pauses transfers through the file
// downloader (at most two at a time), hears every transfer's callbacks, keeps the records and table
// sco_download_info in step, and tells one observer (a download screen) what happened. The player asks
// it for the local file of a finished unit; the course service asks it for lists and removes downloads.
//
// States of a record (DownloadInfo::State): a new or copied record starts waiting (2), or finished (3)
// when copied from another learner's finished one; bytes arriving make it downloading (0); a pause
// makes it paused (1); a transfer ends finished (3) only on a successful answer, failed (4) otherwise,
// not found (5) on 404. A record left waiting or downloading by an ended process reads paused on load.
// A learner's file is shared with other learners' records of the same unit and deleted only when no
// other record refers to it.
//
// Thread rules: the lists belong to the main queue. Every operation may be called from any thread:
// off the main thread it runs while holding the main queue (DispatchQueue::sync), so the calling thread
// keeps its own store connection; the main thread must then be running its loop. Observer calls always
// arrive on the main thread. Records answered are the service's own objects: read them on the main
// queue.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/SelectedObject.h"
#include "app/model/cms/CourseDownloadInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/DownloadDelegate.h"
#include "app/util/FileDownloader.h"
#include "core/http/HttpProgressDelegate.h"
#include "core/http/HttpRequestDelegate.h"

class DownloadService : public BaseService, public HttpRequestDelegate, public HttpProgressDelegate {
 public:
  using Record = std::shared_ptr<ScoDownloadInfo>;
  using Records = std::vector<Record>;
  using SelectedObjects = std::optional<std::vector<std::shared_ptr<SelectedObject>>>;

  static constexpr int kMaxConcurrentTransfers = 2;
  static constexpr char kNoVideoTitle[] = "友情提示：";
  static constexpr char kNoVideoMessage[] = "您当前学习的章节暂时没有上传视频哦！";
  static constexpr char kNoVideoButton[] = "确定";

  // The one instance, built on first use with empty lists (the store must be initialised).
  static std::shared_ptr<DownloadService> instance();
  // Pauses every transfer and drops the instance; the next instance() builds a fresh one.
  static void unload();

  // ---- lists (Records loading and states) ----

  // Reloads every list from the table for the current learner; a change of learner empties the lists
  // first.
  void getDownloadInfos();
  void getCourses();
  void getScoInfos();
  // Keeps the previous list when the learner has no matching rows.
  void getScoStudyRecords();

  // Every record of the learner: the rows loaded plus records started since.
  Records downloadInfos();
  // The records not complete when loaded plus incomplete ones started since; empty until loaded.
  Records downloadingScos();
  std::vector<std::shared_ptr<CourseInfo>> courseInfos();
  std::vector<std::shared_ptr<CourseSco>> scoInfos();
  std::vector<std::shared_ptr<ScoStudyRecord>> scoStudyRecords();
  std::vector<std::shared_ptr<CourseDownloadInfo>> downloadedCourses();
  // The record of the transfer whose bytes were reported last: progress reports go to it.
  Record currentDownloadingSco();
  std::shared_ptr<FileDownloader> downloader() const { return downloader_; }
  std::weak_ptr<DownloadDelegate> downloadDelegete();
  void setDownloadDelegete(std::weak_ptr<DownloadDelegate> observer);
  // The signed-in learner, asked anew each time.
  std::optional<std::string> userId();

  // ---- starting and pausing ----

  // Starts or resumes the unit's download; the unit answers "scoId", "videoUrl" and "courseId" (a
  // CourseSco). NO, with an alert, when the unit has no video address or its file name cannot be kept
  // in the download folder; YES otherwise, also when nothing needed starting.
  bool startDownloadingSco(const pf::ObjectPtr& unit);
  // startDownloadingSco of every record of downloadingScos in state 0.
  void startDownloadTasks();
  void pauseDownloadingSco(const std::optional<std::string>& scoId);
  // Pauses every waiting or downloading unit and stores every record with its progress.
  void pauseAllTasks();

  // ---- lookups ----

  // The learner's first record of the unit.
  Record sdiWithScoId(const std::optional<std::string>& scoId);
  // The record of downloadingScos of the unit, only when exactly one matches.
  Record sdiIndownloadingInfosOfScoId(const std::optional<std::string>& scoId);
  // A copy, for the current learner under a new key, of the unit's row with the most bytes among all
  // learners' rows (same files); null when there is none.
  Record maxSizeSdiWithScoId(const std::optional<std::string>& scoId);
  // A new record for the unit: its files in the download folders under a name of its own, the unit id
  // as downloadId, no key. Without file paths when the address ends in no usable file name.
  Record scoDownloadInfoWithScoInfoReference(const pf::ObjectPtr& unit);
  // The finished file of the learner's unit, when it is there; nullopt otherwise (play it online).
  std::optional<std::string> vedioPathWithScoID(const std::optional<std::string>& scoId);

  // ---- downloaded courses, lookups and removal ----

  // Rebuilds downloadedCourses: the courses where the learner has finished units.
  void getDownloadedCourses();
  std::shared_ptr<CourseDownloadInfo> courseDownloadInfoOfCourse(const std::optional<std::string>& courseId);
  // The learner's complete records of the course, from memory.
  Records downloadedSdisOfCourse(const std::optional<std::string>& courseId);
  // The course's units the learner has finished, by show order; nullopt for no course id.
  std::optional<std::vector<std::shared_ptr<CourseSco>>> downloadedScosOfCourse(
      const std::optional<std::string>& courseId);
  // Ids of the course's units the learner has any record of, whatever their state.
  std::vector<std::string> scoDownloadedWithCourseID(const std::optional<std::string>& courseId);
  std::shared_ptr<CourseInfo> courseInfoWithCourseId(const std::optional<std::string>& courseId);
  std::shared_ptr<CourseSco> scoInfoWithScoId(const std::optional<std::string>& scoId);
  std::shared_ptr<ScoStudyRecord> scoStudyInfoOfScoInfo(const std::shared_ptr<CourseSco>& sco);
  // Records of the learner whose file is complete.
  int downloadedCount();
  // Some record is downloading.
  bool chechUnDownloadedTask();

  // Deletes the learner's files of the unit that no other record refers to.
  void removeDownloadFileAccordingToSco(const std::optional<std::string>& scoId);
  // Removes the selected units' downloads (items whose value answers "scoId", such as the records):
  // transfers stop first, files go when no other learner holds them, rows are deleted.
  void removeDownloadScosInMarkableDownloadScos(const SelectedObjects& markableDownloadScos);
  // Removes the finished downloads of the selected courses (values are CourseDownloadInfo), then
  // rebuilds downloadedCourses and tells the observer once.
  void removeDownloadedCoursesInMarkableDownlaodedCourses(const SelectedObjects& markableDownloadedCourses);
  // Deletes the finished downloads of the courses from disk and table; the memory lists keep them.
  void removeDownloadedFilesAccordingToCourses(const std::vector<std::shared_ptr<CourseInfo>>& courses);

  // ---- transfer callbacks (main thread) ----

  using HttpRequestDelegate::request;
  void requestStarted(const HttpRequest::Ptr& request) override;
  void request(const HttpRequest::Ptr& request, const pf::Dictionary& didReceiveResponseHeaders) override;
  void requestFinished(const HttpRequest::Ptr& request) override;
  void requestFailed(const HttpRequest::Ptr& request) override;
  void requestDidReceiveBytes(const HttpRequest::Ptr& request, long long bytes) override;
  void setProgress(float progress) override;

  // Built by instance().
  DownloadService();

 private:
  template <typename F>
  auto onMainQueue(F&& work);
  // Empties the lists when they were loaded for another learner than the current one.
  void forgetAnotherLearnersLists();
  void notify(std::function<void(DownloadDelegate&)> message);
  Record recordOfRequest(const HttpRequest::Ptr& request);
  // A finished record whose file is no longer there becomes a waiting one, so it downloads again.
  void downloadAgainWhenTheFileIsGone(const Record& record);
  void startTransfer(const Record& record);
  void removeFromLists(const Record& record);
  bool stillReferredToByOthers(const ScoDownloadInfo& own, const std::string& path);
  static void showNoVideoAlert();

  const std::unique_ptr<CommonService> commonService_;
  const std::shared_ptr<FileDownloader> downloader_;
  std::weak_ptr<DownloadDelegate> downloadDelegete_;

  // Main queue only.
  Records downloadInfos_;
  std::optional<Records> downloadingScos_;
  std::optional<std::vector<std::shared_ptr<CourseInfo>>> courseInfos_;
  std::optional<std::vector<std::shared_ptr<CourseSco>>> scoInfos_;
  std::optional<std::vector<std::shared_ptr<ScoStudyRecord>>> scoStudyRecords_;
  std::vector<std::shared_ptr<CourseDownloadInfo>> downloadedCourses_;
  Record currentDownloadingSco_;
  // The learner the lists were loaded for, once loaded.
  std::optional<std::optional<std::string>> listsLearner_;
};
