#include "app/service/cms/DownloadService.h"

#include <algorithm>
#include <type_traits>

#include "app/service/cmn/ValueLists.h"
#include "core/reflect/TypeCode.h"
#include "core/util/CommonUtil.h"
#include "core/util/FileTool.h"
#include "core/util/MD5HexDigest.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/ui/AlertView.h"

namespace {

std::mutex instanceMutex;
std::shared_ptr<DownloadService> downloadServer;

// Set while this thread runs service work on behalf of the main queue.
thread_local bool holdingMainQueue = false;

const std::string kTable = downloadTableName;

std::optional<std::string> textOf(const pf::Object& object, const std::string& key) {
  if (!object.objectClass().findProperty(key)) return std::nullopt;
  const pf::Value value = object.valueForKey(key);
  if (const std::string* text = value.string()) return *text;
  return std::nullopt;
}

bool isEmpty(const std::optional<std::string>& text) {
  return !text || text->empty();
}

pf::Value bound(const std::optional<std::string>& text) {
  return text ? pf::Value(*text) : pf::Value();
}

std::vector<std::string> textsOf(const pf::Array& rows) {
  std::vector<std::string> texts;
  for (const pf::Value& row : rows) {
    if (const std::string* text = row.string()) texts.push_back(*text);
  }
  return texts;
}

// The whole file's size from the answer's head: the total of a "Content-Range", else the length.
unsigned long long wholeFileSize(const HttpRequest& request) {
  const std::optional<pf::Dictionary> headers = request.responseHeaders.get();
  if (request.responseStatusCode == 206 && headers) {
    for (const auto& [name, value] : *headers) {
      const std::string* text = value.string();
      if (!text || !pf::text::equalsIgnoringCase(name, "Content-Range")) continue;
      const std::size_t slash = text->rfind('/');
      if (slash == std::string::npos) break;
      const std::string total = pf::text::trimWhitespace(text->substr(slash + 1));
      if (total.empty() || total.size() > 19 || total.find_first_not_of("0123456789") != std::string::npos)
        break;
      return std::stoull(total);
    }
  }
  return request.contentLength;
}

bool isSuccess(int status) {
  return status >= 200 && status < 300;
}

// The file name an address ends in, from its decoded path (a query is no part of it).
std::string lastFileNameOf(const std::string& address) {
  if (const std::optional<pf::Url> url = pf::Url::parse(address))
    return pf::path::lastPathComponent(url->path());
  return pf::path::lastPathComponent(address);
}

}  // namespace

std::shared_ptr<DownloadService> DownloadService::instance() {
  {
    std::lock_guard lock(instanceMutex);
    if (downloadServer) return downloadServer;
  }
  // Made on the main queue: the file downloader's delegate and lists belong to the main thread.
  if (!pf::RunLoop::isMainThread() && !holdingMainQueue) {
    std::shared_ptr<DownloadService> made;
    pf::DispatchQueue::main()->sync([&made] { made = instance(); });
    return made;
  }
  std::lock_guard lock(instanceMutex);
  if (!downloadServer) {
    downloadServer = std::make_shared<DownloadService>();
    downloadServer->downloader_->setDownloadDelegete(
        std::static_pointer_cast<HttpRequestDelegate>(downloadServer));
  }
  return downloadServer;
}

void DownloadService::unload() {
  std::shared_ptr<DownloadService> service;
  {
    std::lock_guard lock(instanceMutex);
    service = std::move(downloadServer);
    downloadServer.reset();
  }
  if (service) service->pauseAllTasks();
}

DownloadService::DownloadService()
    : commonService_(std::make_unique<CommonService>()), downloader_(FileDownloader::instance()) {
  downloader_->setMaxConcurrentOperationCount(kMaxConcurrentTransfers);
}

template <typename F>
auto DownloadService::onMainQueue(F&& work) {
  using Result = std::invoke_result_t<F>;
  const auto run = [&]() -> Result {
    forgetAnotherLearnersLists();
    return work();
  };
  if (pf::RunLoop::isMainThread() || holdingMainQueue) return run();
  if constexpr (std::is_void_v<Result>) {
    pf::DispatchQueue::main()->sync([&] {
      holdingMainQueue = true;
      run();
      holdingMainQueue = false;
    });
  } else {
    std::optional<Result> result;
    pf::DispatchQueue::main()->sync([&] {
      holdingMainQueue = true;
      result.emplace(run());
      holdingMainQueue = false;
    });
    return std::move(*result);
  }
}

void DownloadService::forgetAnotherLearnersLists() {
  if (!listsLearner_ || *listsLearner_ == userId()) return;
  downloadInfos_.clear();
  downloadingScos_.reset();
  courseInfos_.reset();
  scoInfos_.reset();
  scoStudyRecords_.reset();
  downloadedCourses_.clear();
  currentDownloadingSco_.reset();
  listsLearner_.reset();
}

void DownloadService::notify(std::function<void(DownloadDelegate&)> message) {
  const auto deliver = [observer = downloadDelegete_, message = std::move(message)] {
    if (const auto live = observer.lock()) message(*live);
  };
  if (pf::RunLoop::isMainThread()) {
    deliver();
  } else {
    pf::DispatchQueue::main()->async(deliver);
  }
}

std::optional<std::string> DownloadService::userId() {
  return commonService_->getCurrentUserId();
}

// ---- lists

void DownloadService::getDownloadInfos() {
  onMainQueue([&] {
    const std::optional<std::string> learner = userId();
    Records records = objectsOf<ScoDownloadInfo>(dbHelper->queryForList(
        ScoDownloadInfo::kClassName, "select * from " + kTable + " where user_id = ?", {bound(learner)}));
    Records downloading;
    for (const Record& record : records) {
      if (record->hasDownloaded) continue;
      // Waiting or downloading with no transfer: the process that ran it has ended.
      const bool running = record->downloadState == DownloadInfo::kDownloading ||
                           record->downloadState == DownloadInfo::kWaiting;
      if (running && !downloader_->isDownloadingResourceWithDownloadInfo(*record))
        record->downloadState = DownloadInfo::kPaused;
      downloading.push_back(record);
    }
    downloadingScos_ = std::move(downloading);
    downloadInfos_ = std::move(records);
    currentDownloadingSco_.reset();
    listsLearner_ = learner;
    getDownloadedCourses();
    getCourses();
    getScoInfos();
    getScoStudyRecords();
  });
}

void DownloadService::getCourses() {
  onMainQueue([&] {
    courseInfos_ = objectsOf<CourseInfo>(
        dbHelper->queryForList(CourseInfo::kClassName,
                               "select ci.* from course_info as ci inner join course_study_record as csr "
                               "where ci.id = csr.course_id and csr.user_id = ?",
                               {bound(userId())}));
  });
}

void DownloadService::getScoInfos() {
  onMainQueue([&] {
    scoInfos_ = objectsOf<CourseSco>(
        dbHelper->queryForList(CourseSco::kClassName,
                               "select cs.* from course_sco as cs inner join course_info as ci inner join "
                               "course_study_record as csr "
                               "where ci.id = csr.course_id and ci.id = cs.course_id and csr.user_id = ?",
                               {bound(userId())}));
  });
}

void DownloadService::getScoStudyRecords() {
  onMainQueue([&] {
    auto records = objectsOf<ScoStudyRecord>(dbHelper->queryForList(
        ScoStudyRecord::kClassName,
        "select ssr.* from sco_study_record as ssr inner join " + kTable +
            " as sdi where ssr.sco_id = sdi.sco_id and sdi.user_id = ? and sdi.user_id = ssr.user_id",
        {bound(userId())}));
    if (!records.empty()) {
      scoStudyRecords_ = std::move(records);
    } else if (!scoStudyRecords_) {
      scoStudyRecords_.emplace();
    }
  });
}

DownloadService::Records DownloadService::downloadInfos() {
  return onMainQueue([&] { return downloadInfos_; });
}

DownloadService::Records DownloadService::downloadingScos() {
  return onMainQueue([&] { return downloadingScos_.value_or(Records{}); });
}

std::vector<std::shared_ptr<CourseInfo>> DownloadService::courseInfos() {
  return onMainQueue([&] { return courseInfos_.value_or(std::vector<std::shared_ptr<CourseInfo>>{}); });
}

std::vector<std::shared_ptr<CourseSco>> DownloadService::scoInfos() {
  return onMainQueue([&] { return scoInfos_.value_or(std::vector<std::shared_ptr<CourseSco>>{}); });
}

std::vector<std::shared_ptr<ScoStudyRecord>> DownloadService::scoStudyRecords() {
  return onMainQueue(
      [&] { return scoStudyRecords_.value_or(std::vector<std::shared_ptr<ScoStudyRecord>>{}); });
}

std::vector<std::shared_ptr<CourseDownloadInfo>> DownloadService::downloadedCourses() {
  return onMainQueue([&] { return downloadedCourses_; });
}

DownloadService::Record DownloadService::currentDownloadingSco() {
  return onMainQueue([&] { return currentDownloadingSco_; });
}

std::weak_ptr<DownloadDelegate> DownloadService::downloadDelegete() {
  return onMainQueue([&] { return downloadDelegete_; });
}

void DownloadService::setDownloadDelegete(std::weak_ptr<DownloadDelegate> observer) {
  onMainQueue([&] { downloadDelegete_ = std::move(observer); });
}

// ---- starting and pausing

bool DownloadService::startDownloadingSco(const pf::ObjectPtr& unit) {
  if (!unit) return false;
  return onMainQueue([&] {
    const std::optional<std::string> scoId = textOf(*unit, "scoId");
    Record record = sdiWithScoId(scoId);
    if (!record) {
      record = maxSizeSdiWithScoId(scoId);
      if (!record) record = scoDownloadInfoWithScoInfoReference(unit);
      record->downloadState = record->hasDownloaded ? DownloadInfo::kFinished : DownloadInfo::kWaiting;
      if (isEmpty(record->downloadUrlStr) || isEmpty(record->savePath) || isEmpty(record->tempSavePath)) {
        showNoVideoAlert();
        return false;
      }
      downloadInfos_.push_back(record);
      if (!record->hasDownloaded && downloadingScos_) downloadingScos_->push_back(record);
      dbHelper->saveOrUpdateObject(record);
    }
    downloadAgainWhenTheFileIsGone(record);
    if (!isEmpty(record->downloadUrlStr) && !isEmpty(record->tempSavePath) &&
        !(record->hasDownloaded && record->downloadState == DownloadInfo::kFinished)) {
      startTransfer(record);
    }
    return true;
  });
}

void DownloadService::downloadAgainWhenTheFileIsGone(const Record& record) {
  if (!record->isComplete() || (record->savePath && FileTool::fileExistAtPath(*record->savePath))) return;
  record->hasDownloaded = false;
  record->downloadState = DownloadInfo::kWaiting;
  record->progress = 0;
  record->downloadedSize = 0;
  if (downloadingScos_ && std::none_of(downloadingScos_->begin(), downloadingScos_->end(),
                                       [&](const Record& other) { return record->isEqual(other); })) {
    downloadingScos_->push_back(record);
  }
  dbHelper->updateObject(record);
}

void DownloadService::startTransfer(const Record& record) {
  // Already queued or running: a second transfer would write the same temporary file.
  if (downloader_->isDownloadingResourceWithDownloadInfo(*record)) return;
  record->downloadState = DownloadInfo::kWaiting;
  downloader_->startDownloadingResourceWithDownloadInfo(*record, {{"courseId", bound(record->courseId)},
                                                                  {"scoId", bound(record->scoId)},
                                                                  {"userId", bound(record->userId)}});
}

void DownloadService::startDownloadTasks() {
  onMainQueue([&] {
    if (!downloadingScos_) return;
    for (std::size_t i = 0; i < downloadingScos_->size(); ++i) {
      const Record record = (*downloadingScos_)[i];
      if (record->downloadState == DownloadInfo::kDownloading) startDownloadingSco(record);
    }
  });
}

void DownloadService::pauseDownloadingSco(const std::optional<std::string>& scoId) {
  if (!scoId) return;
  onMainQueue([&] {
    const Record record = sdiIndownloadingInfosOfScoId(scoId);
    if (!record) return;
    record->downloadState = DownloadInfo::kPaused;
    downloader_->pauseDownloadingResourceWithDownloadInfo(*record);
    dbHelper->updateObject(record);
    notify([scoId](DownloadDelegate& observer) { observer.downloadPausedRequest(nullptr, scoId); });
  });
}

void DownloadService::pauseAllTasks() {
  onMainQueue([&] {
    for (const Record& record : downloadingScos_.value_or(Records{})) {
      if (record->downloadState == DownloadInfo::kDownloading ||
          record->downloadState == DownloadInfo::kWaiting)
        pauseDownloadingSco(record->scoId);
    }
    if (!downloadInfos_.empty()) dbHelper->updateObjectsUseBatch(arrayOf(downloadInfos_));
  });
}

// ---- lookups

DownloadService::Record DownloadService::sdiWithScoId(const std::optional<std::string>& scoId) {
  return onMainQueue([&]() -> Record {
    for (const Record& record : downloadInfos_) {
      if (record->scoId == scoId) return record;
    }
    return nullptr;
  });
}

DownloadService::Record DownloadService::sdiIndownloadingInfosOfScoId(
    const std::optional<std::string>& scoId) {
  return onMainQueue([&]() -> Record {
    Record found;
    if (!downloadingScos_) return found;
    // Runs for every chunk a transfer reports: no copy of the list.
    for (const Record& record : *downloadingScos_) {
      if (record->scoId != scoId) continue;
      if (found) return nullptr;
      found = record;
    }
    return found;
  });
}

DownloadService::Record DownloadService::maxSizeSdiWithScoId(const std::optional<std::string>& scoId) {
  const auto row = dbHelper
                       ->queryForObject(ScoDownloadInfo::kClassName,
                                        "select * from " + kTable +
                                            " where downloaded_size = (select max(downloaded_size) from " +
                                            kTable + " where sco_id = ?) and sco_id = ?",
                                        {bound(scoId), bound(scoId)})
                       .objectAs<ScoDownloadInfo>();
  if (!row) return nullptr;
  row->sid = CommonUtil::createNewUUID();
  row->userId = userId();
  return row;
}

DownloadService::Record DownloadService::scoDownloadInfoWithScoInfoReference(const pf::ObjectPtr& unit) {
  if (!unit) return nullptr;
  auto record = std::make_shared<ScoDownloadInfo>();
  record->downloadUrlStr = textOf(*unit, "videoUrl");
  record->scoId = textOf(*unit, "scoId");
  record->courseId = textOf(*unit, "courseId");
  record->userId = userId();
  record->downloadId = record->scoId;
  const std::string name = lastFileNameOf(record->downloadUrlStr.value_or(""));
  // A name that would leave the folder gets no paths; units that end in the same name keep apart.
  if (FileTool::pathInDir(FileTool::getDownloadDir(), name)) {
    const std::string own = MD5HexDigest::MD5TO32Lower(record->scoId.value_or("")) + "_" + name;
    record->savePath = FileTool::pathInDir(FileTool::getDownloadDir(), own);
    record->tempSavePath = FileTool::pathInDir(FileTool::getDownloadTmpDir(), own);
  }
  return record;
}

std::optional<std::string> DownloadService::vedioPathWithScoID(const std::optional<std::string>& scoId) {
  return onMainQueue([&]() -> std::optional<std::string> {
    const Record record = sdiWithScoId(scoId);
    if (!record || !record->hasDownloaded || !record->savePath) return std::nullopt;
    if (!FileTool::fileExistAtPath(*record->savePath)) return std::nullopt;
    return record->savePath;
  });
}

// ---- transfer callbacks

DownloadService::Record DownloadService::recordOfRequest(const HttpRequest::Ptr& request) {
  const std::optional<pf::Dictionary> info = request->userInfo.get();
  if (!info || !info->contains("scoId")) return nullptr;
  const std::string* scoId = info->at("scoId").string();
  return scoId ? sdiIndownloadingInfosOfScoId(*scoId) : nullptr;
}

namespace {

std::optional<std::string> scoIdOfRequest(const HttpRequest& request) {
  const std::optional<pf::Dictionary> info = request.userInfo.get();
  if (!info || !info->contains("scoId")) return std::nullopt;
  const std::string* scoId = info->at("scoId").string();
  return scoId ? std::optional<std::string>(*scoId) : std::nullopt;
}

}  // namespace

void DownloadService::requestStarted(const HttpRequest::Ptr& request) {
  const Record record = recordOfRequest(request);
  const std::optional<std::string> scoId = record ? record->scoId : std::nullopt;
  notify([request, scoId](DownloadDelegate& observer) { observer.downloadWaitRequest(request, scoId); });
}

void DownloadService::request(const HttpRequest::Ptr& request,
                              const pf::Dictionary& didReceiveResponseHeaders) {
  (void)didReceiveResponseHeaders;
  const Record record = recordOfRequest(request);
  if (!record) return;
  const unsigned long long size = isSuccess(request->responseStatusCode) ? wholeFileSize(*request) : 0;
  if (record->totalSize < size) {
    record->totalSize = size;
    dbHelper->saveOrUpdateObject(record);
  }
  notify([request, scoId = record->scoId](DownloadDelegate& observer) {
    observer.downloadStartedRequest(request, scoId);
  });
}

void DownloadService::requestDidReceiveBytes(const HttpRequest::Ptr& request, long long bytes) {
  (void)bytes;
  currentDownloadingSco_ = recordOfRequest(request);
  if (currentDownloadingSco_) currentDownloadingSco_->downloadState = DownloadInfo::kDownloading;
  notify([](DownloadDelegate& observer) { observer.downloadRefreshDownloadedProgress(); });
}

void DownloadService::setProgress(float progress) {
  if (!currentDownloadingSco_) return;
  currentDownloadingSco_->progress = progress;
  currentDownloadingSco_->downloadedSize =
      static_cast<unsigned long long>(progress * static_cast<float>(currentDownloadingSco_->totalSize));
}

void DownloadService::requestFinished(const HttpRequest::Ptr& request) {
  const Record record = recordOfRequest(request);
  const std::optional<std::string> scoId = scoIdOfRequest(*request);
  const int status = request->responseStatusCode;
  if (!isSuccess(status)) {
    // An error page is never a finished unit.
    if (record) {
      record->downloadState = status == 404 ? DownloadInfo::kNotFound : DownloadInfo::kFailed;
      record->hasDownloaded = false;
      dbHelper->updateObject(record);
    }
    notify([request, scoId, error = request->error.get()](DownloadDelegate& observer) {
      observer.downloadFailedRequest(request, scoId, error);
    });
    return;
  }
  if (record) {
    record->downloadState = DownloadInfo::kFinished;
    record->progress = 1.0f;
    record->hasDownloaded = true;
    if (record->savePath) {
      record->totalSize =
          std::max<unsigned long long>(record->totalSize, FileTool::fileSizeAtPath(*record->savePath));
      record->downloadedSize = record->totalSize;
    }
    dbHelper->updateObject(record);
    downloader_->removeDownloadingTaskWithDownloadInfo(*record);
    if (downloadingScos_) {
      std::erase_if(*downloadingScos_, [&](const Record& other) { return record->isEqual(other); });
    }
    if (currentDownloadingSco_ == record) currentDownloadingSco_.reset();
    getDownloadedCourses();
  }
  notify([request, scoId](DownloadDelegate& observer) { observer.downloadFinishedRequest(request, scoId); });
}

void DownloadService::requestFailed(const HttpRequest::Ptr& request) {
  const Record record = recordOfRequest(request);
  const int status = request->responseStatusCode;
  if (record) {
    record->downloadState = status == 404 ? DownloadInfo::kNotFound : DownloadInfo::kFailed;
    // The partial file cannot be continued: the next start begins afresh.
    if (status == 416 && record->tempSavePath) {
      FileTool::deleteFile(*record->tempSavePath);
      record->progress = 0;
      record->downloadedSize = 0;
    }
    dbHelper->updateObject(record);
  }
  notify([request, scoId = scoIdOfRequest(*request), error = request->error.get()](
             DownloadDelegate& observer) { observer.downloadFailedRequest(request, scoId, error); });
}

// ---- downloaded courses and lookups

void DownloadService::getDownloadedCourses() {
  onMainQueue([&] {
    std::vector<std::shared_ptr<CourseDownloadInfo>> courses;
    // One connection for the whole rebuild: it runs after every finished transfer, with four queries a
    // course.
    dbHelper->queueInDatabase([&](VelkDBHelper&) {
      const std::vector<std::string> courseIds = textsOf(dbHelper->queryForList(
          "NSString",
          // Each course once as the table lists it, without joining every finished record to every unit
          // of its course: that grew with records times units and ran after every finished transfer.
          "select distinct sdi.course_id from " + kTable +
              " as sdi where sdi.download_state = 3 and sdi.user_id = ? "
              "and exists (select 1 from course_sco as cs where cs.course_id = sdi.course_id)",
          {bound(userId())}));
      for (const std::string& courseId : courseIds) {
        if (auto summary = courseDownloadInfoOfCourse(courseId)) courses.push_back(std::move(summary));
      }
    });
    downloadedCourses_ = std::move(courses);
  });
}

std::shared_ptr<CourseDownloadInfo> DownloadService::courseDownloadInfoOfCourse(
    const std::optional<std::string>& courseId) {
  const std::optional<std::string> learner = userId();
  auto summary = std::make_shared<CourseDownloadInfo>();
  summary->courseInfo = dbHelper
                            ->queryForObject(CourseInfo::kClassName, "select * from course_info where id = ?",
                                             {bound(courseId)})
                            .objectAs<CourseInfo>();
  summary->studyRecord =
      dbHelper
          ->queryForObject(CourseStudyRecord::kClassName,
                           "select * from course_study_record where course_id = ? and user_id = ?",
                           {bound(courseId), bound(learner)})
          .objectAs<CourseStudyRecord>();
  summary->downloadChapterCount =
      dbHelper
          ->queryForSingleResult(TypeCode::Number,
                                 "select count(course_id) from " + kTable +
                                     " where download_state = 3 and user_id = ? and course_id = ?",
                                 {bound(learner), bound(courseId)})
          .intValue();
  summary->totalCount =
      dbHelper
          ->queryForSingleResult(TypeCode::Number,
                                 "select count(course_id) from course_sco where course_id = ?",
                                 {bound(courseId)})
          .intValue();
  return summary;
}

DownloadService::Records DownloadService::downloadedSdisOfCourse(const std::optional<std::string>& courseId) {
  return onMainQueue([&] {
    Records complete;
    for (const Record& record : downloadInfos_) {
      if (record->courseId == courseId && record->isComplete()) complete.push_back(record);
    }
    return complete;
  });
}

std::optional<std::vector<std::shared_ptr<CourseSco>>> DownloadService::downloadedScosOfCourse(
    const std::optional<std::string>& courseId) {
  if (isEmpty(courseId)) return std::nullopt;
  auto units = objectsOf<CourseSco>(
      dbHelper->queryForList(CourseSco::kClassName,
                             "select cs.* from course_sco as cs inner join " + kTable +
                                 " as sd where cs.sco_id = sd.sco_id and sd.download_state = 3 and "
                                 "cs.course_id = ? and sd.user_id = ?",
                             {bound(courseId), bound(userId())}));
  std::stable_sort(units.begin(), units.end(), [](const auto& a, const auto& b) {
    return pf::Value(a->showOrder.value_or("")).floatValue() <
           pf::Value(b->showOrder.value_or("")).floatValue();
  });
  return units;
}

std::vector<std::string> DownloadService::scoDownloadedWithCourseID(
    const std::optional<std::string>& courseId) {
  return textsOf(dbHelper->queryForList(
      "NSString", "select sco_id from " + kTable + " where course_id = ? and user_id = ?",
      {bound(courseId), bound(userId())}));
}

std::shared_ptr<CourseInfo> DownloadService::courseInfoWithCourseId(
    const std::optional<std::string>& courseId) {
  if (!courseId) return nullptr;
  return onMainQueue([&]() -> std::shared_ptr<CourseInfo> {
    for (const auto& course : courseInfos_.value_or(std::vector<std::shared_ptr<CourseInfo>>{})) {
      if (course->id == courseId) return course;
    }
    return nullptr;
  });
}

std::shared_ptr<CourseSco> DownloadService::scoInfoWithScoId(const std::optional<std::string>& scoId) {
  if (!scoId) return nullptr;
  return onMainQueue([&]() -> std::shared_ptr<CourseSco> {
    for (const auto& unit : scoInfos_.value_or(std::vector<std::shared_ptr<CourseSco>>{})) {
      if (unit->scoId == scoId) return unit;
    }
    return nullptr;
  });
}

std::shared_ptr<ScoStudyRecord> DownloadService::scoStudyInfoOfScoInfo(
    const std::shared_ptr<CourseSco>& sco) {
  if (!sco || !sco->scoId) return nullptr;
  return onMainQueue([&]() -> std::shared_ptr<ScoStudyRecord> {
    for (const auto& record : scoStudyRecords_.value_or(std::vector<std::shared_ptr<ScoStudyRecord>>{})) {
      if (record->scoId == sco->scoId) return record;
    }
    return nullptr;
  });
}

int DownloadService::downloadedCount() {
  return onMainQueue([&] {
    return static_cast<int>(std::count_if(downloadInfos_.begin(), downloadInfos_.end(),
                                          [](const Record& r) { return r->hasDownloaded; }));
  });
}

bool DownloadService::chechUnDownloadedTask() {
  return onMainQueue([&] {
    return std::any_of(downloadInfos_.begin(), downloadInfos_.end(),
                       [](const Record& r) { return r->downloadState == DownloadInfo::kDownloading; });
  });
}

// ---- removal

bool DownloadService::stillReferredToByOthers(const ScoDownloadInfo& own, const std::string& path) {
  const pf::Value count = dbHelper->queryForSingleResult(
      TypeCode::Number,
      "select count(*) from " + kTable +
          " where (save_path = ? or temp_save_path = ?) and not (user_id is ? and sco_id is ?)",
      {path, path, bound(own.userId), bound(own.scoId)});
  // A count that cannot be read keeps the file: losing another learner's download is worse.
  return count.isNil() || count.intValue() != 0;
}

void DownloadService::removeDownloadFileAccordingToSco(const std::optional<std::string>& scoId) {
  if (!scoId) return;
  onMainQueue([&] {
    const Record own = sdiWithScoId(scoId);
    if (!own) return;
    for (const std::optional<std::string>& path : {own->savePath, own->tempSavePath}) {
      if (!isEmpty(path) && !stillReferredToByOthers(*own, *path)) FileTool::deleteFile(*path);
    }
  });
}

void DownloadService::removeFromLists(const Record& record) {
  const auto sameUnit = [&](const Record& other) { return record->isEqual(other); };
  if (downloadingScos_) std::erase_if(*downloadingScos_, sameUnit);
  std::erase_if(downloadInfos_, sameUnit);
  if (currentDownloadingSco_ && record->isEqual(currentDownloadingSco_)) currentDownloadingSco_.reset();
}

void DownloadService::removeDownloadScosInMarkableDownloadScos(const SelectedObjects& markableDownloadScos) {
  if (!markableDownloadScos) return;
  onMainQueue([&] {
    Records removed;
    bool removedComplete = false;
    for (const auto& item : *markableDownloadScos) {
      if (!item || !item->selected) continue;
      const pf::ObjectPtr value = item->value.object();
      const std::optional<std::string> scoId = value ? textOf(*value, "scoId") : std::nullopt;
      const Record record = sdiWithScoId(scoId);
      if (!record) continue;
      const bool downloading =
          downloadingScos_ && std::any_of(downloadingScos_->begin(), downloadingScos_->end(),
                                          [&](const Record& r) { return record->isEqual(r); });
      if (downloading && (record->downloadState == DownloadInfo::kWaiting ||
                          record->downloadState == DownloadInfo::kDownloading)) {
        pauseDownloadingSco(scoId);
      }
      // Stopped before its files go, so that no transfer writes or moves one afterwards.
      downloader_->removeDownloadingTaskWithDownloadInfo(*record);
      removeDownloadFileAccordingToSco(scoId);
      removedComplete = removedComplete || record->isComplete();
      removed.push_back(record);
      removeFromLists(record);
      notify([scoId](DownloadDelegate& observer) {
        observer.downloadHasBeenRemovedRequest(nullptr, scoId, 0, nullptr);
      });
    }
    if (!removed.empty()) dbHelper->deleteObjectsUseBatch(arrayOf(removed));
    if (!downloadInfos_.empty()) dbHelper->updateObjectsUseBatch(arrayOf(downloadInfos_));
    if (removedComplete) getDownloadedCourses();
  });
}

void DownloadService::removeDownloadedCoursesInMarkableDownlaodedCourses(
    const SelectedObjects& markableDownloadedCourses) {
  if (!markableDownloadedCourses) return;
  onMainQueue([&] {
    for (const auto& item : *markableDownloadedCourses) {
      if (!item || !item->selected) continue;
      const auto summary = item->value.objectAs<CourseDownloadInfo>();
      if (!summary || !summary->courseInfo) continue;
      const Records records = downloadedSdisOfCourse(summary->courseInfo->id);
      for (const Record& record : records) {
        removeDownloadFileAccordingToSco(record->scoId);
        std::erase_if(downloadInfos_, [&](const Record& other) { return record->isEqual(other); });
      }
      if (!records.empty()) dbHelper->deleteObjectsUseBatch(arrayOf(records));
    }
    getDownloadedCourses();
    notify([](DownloadDelegate& observer) {
      observer.downloadHasBeenRemovedRequest(nullptr, std::nullopt, 0, nullptr);
    });
  });
}

void DownloadService::removeDownloadedFilesAccordingToCourses(
    const std::vector<std::shared_ptr<CourseInfo>>& courses) {
  onMainQueue([&] {
    for (const auto& course : courses) {
      if (!course) continue;
      const Records records = downloadedSdisOfCourse(course->id);
      for (const Record& record : records) removeDownloadFileAccordingToSco(record->scoId);
      if (!records.empty()) dbHelper->deleteObjectsUseBatch(arrayOf(records));
    }
  });
}

void DownloadService::showNoVideoAlert() {
  auto alert = std::make_shared<pf::AlertView>(kNoVideoTitle, kNoVideoMessage,
                                               std::weak_ptr<pf::AlertViewDelegate>(), kNoVideoButton);
  alert->show();
}
