#pragma once
// The credential prompt: a modal form asking for a user name, a password and, for NTLM, a domain when
// a server or a proxy challenges an asynchronous request that found no credentials. One prompt shows
// at a time; requests asking meanwhile wait in a list. The answer goes to every waiting request of the
// same kind (server or proxy), host, port, scheme and realm, and to the prompt's own request; a
// request of another server or realm gets its own prompt one loop pass after this one has gone.
// Cancel fails them all with "Authentication needed" (code 3).
//
// It is presented from an invisible controller in the application's first window, so it needs no
// help from the application's screens. install() makes it the engine's prompt.
//
// Main thread only (the engine schedules prompts there; the answers go back to each request's thread).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/http/HttpRequest.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/TableView.h"
#include "ui/auth/AutorotatingViewController.h"

namespace pf {
class NavigationBar;
class NavigationItem;
class TextField;
}  // namespace pf

class AuthenticationDialog : public AutorotatingViewController,
                             public pf::TableViewDataSource,
                             public pf::TableViewDelegate {
 public:
  static constexpr char kServerPrompt[] = "Login to this secure server.";
  static constexpr char kProxyPrompt[] = "Login to this secure proxy server.";
  static constexpr char kLoginTitle[] = "Login";
  static constexpr char kUserPlaceholder[] = "User";
  static constexpr char kPasswordPlaceholder[] = "Password";
  static constexpr char kDomainPlaceholder[] = "Domain";
  static constexpr char kInTheClear[] = "Password will be sent in the clear.";
  static constexpr char kSecurely[] = "Password will be sent securely.";
  static constexpr int kServerType = 0;
  static constexpr int kProxyType = 1;

  AuthenticationDialog();
  ~AuthenticationDialog() override;

  // Makes this class the engine's credential prompt.
  static void install();
  static void presentAuthenticationDialogForRequest(const HttpRequest::Ptr& request);
  static void dismiss();
  // The prompt on screen and the requests waiting for one (tests and the engine's callers).
  static std::shared_ptr<AuthenticationDialog> currentPrompt();
  static std::vector<HttpRequest::Ptr> waitingRequests();
  // Forgets the prompt and the waiting list without answering anyone (tests).
  static void reset();

  const HttpRequest::Ptr& request() const { return request_; }
  int type() const { return type_; }
  const std::shared_ptr<pf::TableView>& tableView() const { return tableView_; }
  const std::shared_ptr<pf::NavigationBar>& navigationBar() const { return bar_; }

  void show();
  void dismissPrompt();
  void cancelAuthenticationFromDialog();
  void loginWithCredentialsFromDialog();
  // The prompt's request last, after the waiting ones it answers for.
  std::vector<HttpRequest::Ptr> requestsRequiringTheseCredentials() const;

  std::shared_ptr<pf::TextField> usernameField() const;
  std::shared_ptr<pf::TextField> passwordField() const;
  std::shared_ptr<pf::TextField> domainField() const;

  void viewDidDisappear(bool animated) override;

  long numberOfSectionsInTableView(pf::TableView& table) override;
  long numberOfRowsInSection(pf::TableView& table, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  std::optional<std::string> titleForHeaderInSection(pf::TableView& table, long section) override;
  std::optional<std::string> titleForFooterInSection(pf::TableView& table, long section) override;
  std::optional<double> heightForHeaderInSection(pf::TableView& table, long section) override;
  std::optional<double> heightForFooterInSection(pf::TableView& table, long section) override;

 private:
  static void presentNextDialog();
  void observeNotifications();
  void showTitle();
  void layOutTable();
  void orientationChanged();
  void keyboardWillShow(const pf::Notification& notification);
  bool isNtlm() const;
  std::optional<std::string> relevantScheme() const;
  std::shared_ptr<pf::TextField> textFieldInRow(long row, long section) const;
  static std::shared_ptr<AutorotatingViewController> presentingController();

  HttpRequest::Ptr request_;
  int type_ = kServerType;
  std::shared_ptr<pf::TableView> tableView_;
  std::shared_ptr<pf::NavigationBar> bar_;
  std::shared_ptr<pf::NavigationItem> item_;
  // One cell per row, made once: the fields keep what was typed while the table reloads.
  std::vector<std::shared_ptr<pf::TableViewCell>> cells_;
  bool didEnableRotationNotifications_ = false;
  std::vector<pf::NotificationCenter::Observation> observations_;
};
