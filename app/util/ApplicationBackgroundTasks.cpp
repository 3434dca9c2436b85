#include "app/util/ApplicationBackgroundTasks.h"

#include <memory>

#include "core/http/HttpRequest.h"
#include "platform/ui/Application.h"

static_assert(BackgroundTaskHost::kInvalid == pf::Application::kBackgroundTaskInvalid);

void ApplicationBackgroundTasks::install() {
  HttpRequest::setBackgroundTaskHost(std::make_shared<ApplicationBackgroundTasks>());
}

BackgroundTaskHost::Identifier ApplicationBackgroundTasks::begin(std::function<void()> expired) {
  return pf::Application::sharedApplication().beginBackgroundTask(std::move(expired));
}

void ApplicationBackgroundTasks::end(Identifier task) {
  pf::Application::sharedApplication().endBackgroundTask(task);
}
