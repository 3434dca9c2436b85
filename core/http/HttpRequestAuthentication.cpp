// Answering a server's (401) or proxy's (407) challenge. Credentials come from the URL, the request, the
// session stores, the credential storage, a delegate or the prompt; the platform's authentication objects
// turn them into Basic, Digest or NTLM headers; retry limits end exchanges that cannot succeed.
//
// Only one question per server (or proxy) and realm is out at a time: requests challenged meanwhile wait
// for its answer and then find it in the session store, so two requests never ask the user twice.

#include <algorithm>

#include "core/http/HttpRequest.h"
#include "core/http/HttpRequestQueue.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/UrlCredentialStorage.h"

namespace {

constexpr int kProxyChallenge = 2;
// NTLM answers a challenge in two messages; a second refusal means the credentials are wrong.
constexpr int kNtlmRetryLimit = 2;

// Who is asked for one protection space, and the requests waiting for that answer.
struct Question {
  bool proxy = false;
  std::string host;
  int port = 0;
  std::string scheme;
  std::optional<std::string> realm;
  std::weak_ptr<HttpRequest> asker;
  std::vector<std::weak_ptr<HttpRequest>> waiting;

  bool sameSpace(const Question& other) const {
    return proxy == other.proxy && host == other.host && port == other.port && scheme == other.scheme &&
           realm == other.realm;
  }
  bool askedBy(const HttpRequest::Ptr& request) const {
    return !asker.owner_before(request) && !request.owner_before(asker);
  }
};

struct CredentialState {
  // Lock order: promptGuard, then a request's cancelledLock, then the rest; a request's cancelledLock is
  // never held while taking promptGuard. credentialGuard, questionsMutex and promptMutex are taken last.
  std::recursive_mutex promptGuard;
  std::recursive_mutex credentialGuard;
  std::vector<HttpSessionCredential> serverStore;
  std::vector<HttpSessionCredential> proxyStore;
  std::mutex questionsMutex;
  std::vector<Question> questions;
  std::mutex promptMutex;
  HttpRequest::CredentialPrompt prompt;
};

CredentialState& state() {
  static CredentialState s;
  return s;
}

HttpRequest::Ptr pointerTo(HttpRequest& request) {
  return std::static_pointer_cast<HttpRequest>(request.shared_from_this());
}

pf::ErrorPtr credentialError(const char* description) {
  return pf::Error::make(NetworkRequestErrorDomain,
                         static_cast<long>(HttpRequestErrorCode::InternalErrorWhileApplyingCredentials),
                         description);
}

const char* applyFailureText(bool proxy) {
  return proxy ? "Failed to apply proxy credentials to request" : "Failed to apply credentials to request";
}

std::shared_ptr<pf::HttpAuthentication>& authenticationOf(HttpRequest& r, bool proxy) {
  return proxy ? r.proxyAuthentication : r.requestAuthentication;
}
AtomicProperty<std::optional<std::string>>& schemeOf(HttpRequest& r, bool proxy) {
  return proxy ? r.proxyAuthenticationScheme : r.authenticationScheme;
}
AtomicProperty<std::optional<std::string>>& realmOf(HttpRequest& r, bool proxy) {
  return proxy ? r.proxyAuthenticationRealm : r.authenticationRealm;
}
AtomicProperty<std::optional<pf::Dictionary>>& credentialsOf(HttpRequest& r, bool proxy) {
  return proxy ? r.proxyCredentials : r.requestCredentials;
}
std::atomic<int>& retryCountOf(HttpRequest& r, bool proxy) {
  return proxy ? r.proxyAuthenticationRetryCount : r.authenticationRetryCount;
}

std::optional<std::string> stringAt(const pf::Dictionary& dictionary, const char* key) {
  const auto found = dictionary.find(key);
  if (found == dictionary.end() || !found->second.string()) return std::nullopt;
  return *found->second.string();
}

bool hasHeader(const HttpRequest& r, std::string_view name) {
  const std::optional<pf::Dictionary> headers = r.requestHeaders.get();
  return headers && std::any_of(headers->begin(), headers->end(), [&](const auto& entry) {
           return pf::text::equalsIgnoringCase(entry.first, name);
         });
}

pf::HttpAuthChallenge::Fields responseFields(const HttpRequest& r) {
  pf::HttpAuthChallenge::Fields fields;
  for (const auto& [name, value] : r.responseHeaders.get().value_or(pf::Dictionary{})) {
    if (value.string()) fields.emplace_back(name, *value.string());
  }
  return fields;
}

// The dictionary applied to the message. With a scheme that needs an account domain, a user name
// "DOMAIN\name" names the domain when none is given.
pf::Dictionary credentialDictionary(std::string user, std::string password, bool withDomain,
                                    const std::optional<std::string>& domain,
                                    const std::optional<std::string>& fallbackDomain) {
  pf::Dictionary credentials{{kHttpCredentialUsernameKey, user}, {kHttpCredentialPasswordKey, password}};
  if (!withDomain) return credentials;
  std::string accountDomain = domain.value_or("");
  if (accountDomain.empty()) {
    const std::vector<std::string> parts = pf::text::split(user, "\\");
    if (parts.size() == 2) {
      accountDomain = parts[0];
      credentials[kHttpCredentialUsernameKey] = parts[1];
    } else {
      accountDomain = fallbackDomain.value_or("");
    }
  }
  credentials[kHttpCredentialAccountDomainKey] = accountDomain;
  return credentials;
}

// Puts the credentials' header for this attempt on the message.
bool putOnMessage(HttpRequest& r, pf::HttpAuthentication& authentication, const pf::Dictionary& credentials) {
  const pf::HttpAuthentication::Credentials answer{
      stringAt(credentials, kHttpCredentialUsernameKey).value_or(""),
      stringAt(credentials, kHttpCredentialPasswordKey).value_or(""),
      stringAt(credentials, kHttpCredentialAccountDomainKey).value_or("")};
  const std::optional<std::string> value = authentication.applyCredentials(
      answer, r.requestMessage->method(), r.requestMessage->url().requestTarget());
  return value && r.requestMessage->setHeaderField(authentication.headerName(), *value);
}

// Makes the authentication object from the challenge, or carries the exchange on with it.
bool takeChallenge(HttpRequest& r, bool proxy) {
  std::shared_ptr<pf::HttpAuthentication>& authentication = authenticationOf(r, proxy);
  const pf::HttpAuthChallenge::Fields fields = responseFields(r);
  if (authentication) {
    // A challenge for another realm of the same server is a new challenge, not a refusal of what was
    // sent: it is answered with that realm's credentials, and the other realm's entry stays.
    auto fresh = pf::HttpAuthentication::fromResponse(r.responseStatusCode, fields);
    if (fresh && !fresh->requiresAccountDomain() && fresh->realm() != authentication->realm()) {
      authentication = std::move(fresh);
      schemeOf(r, proxy).set(authentication->method());
      credentialsOf(r, proxy).set(std::nullopt);
      return true;
    }
    authentication->update(fields);
    return true;
  }
  authentication = pf::HttpAuthentication::fromResponse(r.responseStatusCode, fields);
  if (!authentication) return false;
  schemeOf(r, proxy).set(authentication->method());
  return true;
}

bool isNtlm(HttpRequest& r, bool proxy) {
  return schemeOf(r, proxy).get() == pf::HttpAuthentication::kNtlm;
}

// A session entry for this server or proxy, applied with this request's own challenge.
bool applySessionCredentials(HttpRequest& r, bool proxy) {
  if (!r.useSessionPersistence) return false;
  const std::optional<HttpSessionCredential> entry =
      proxy ? r.findSessionProxyAuthenticationCredentials() : r.findSessionAuthenticationCredentials();
  if (!entry || !takeChallenge(r, proxy)) return false;
  return proxy ? r.applyProxyCredentials(entry->credentials) : r.applyCredentials(entry->credentials);
}

// Before any challenge: a session entry's credentials with its own authentication object.
void presentSessionCredentials(HttpRequest& r, bool proxy) {
  const std::optional<HttpSessionCredential> entry =
      proxy ? r.findSessionProxyAuthenticationCredentials() : r.findSessionAuthenticationCredentials();
  if (!entry) return;
  if (!entry->authentication) {
    const auto user = stringAt(entry->credentials, kHttpCredentialUsernameKey);
    const auto password = stringAt(entry->credentials, kHttpCredentialPasswordKey);
    if (!proxy && user && password) r.addBasicAuthenticationHeaderWithUsername(*user, *password);
    return;
  }
  if (!putOnMessage(r, *entry->authentication, entry->credentials)) {
    proxy ? HttpRequest::removeProxyAuthenticationCredentialsFromSessionStore(entry->credentials)
          : HttpRequest::removeAuthenticationCredentialsFromSessionStore(entry->credentials);
    return;
  }
  authenticationOf(r, proxy) = entry->authentication;
  schemeOf(r, proxy).set(entry->authenticationScheme);
  credentialsOf(r, proxy).set(entry->credentials);
}

bool delegateAnswers(const HttpRequest& r, bool proxy) {
  if (r.isSynchronous) return false;
  const HttpRequestDelegate::Optional operation =
      proxy ? HttpRequestDelegate::Optional::ProxyAuthenticationNeeded
            : HttpRequestDelegate::Optional::AuthenticationNeeded;
  std::shared_ptr<HttpRequestDelegate> target = r.delegate().lock();
  if (!target) target = r.queue();
  const HttpRequest::HandlerBlocks blocks = r.blocks();
  return (target && target->implements(operation)) ||
         (proxy ? bool(blocks.proxyAuthenticationNeeded) : bool(blocks.authenticationNeeded));
}

bool promptAnswers(const HttpRequest& r, bool proxy) {
  if (r.isSynchronous) return false;
  if (!(proxy ? r.shouldPresentProxyAuthenticationDialog : r.shouldPresentAuthenticationDialog)) return false;
  std::lock_guard lock(state().promptMutex);
  return bool(state().prompt);
}

Question questionFor(HttpRequest& r, bool proxy) {
  Question question;
  question.proxy = proxy;
  if (proxy) {
    question.host = r.proxyHost.get().value_or("");
    question.port = r.proxyPort;
  } else if (const std::optional<pf::Url> url = r.url()) {
    question.host = url->host();
    question.port = url->portOrDefault();
    question.scheme = url->scheme();
  }
  question.realm = realmOf(r, proxy).get();
  question.asker = pointerTo(r);
  return question;
}

// A request that still waits for the answer to its question.
bool isAsking(const HttpRequest::Ptr& request) {
  return request && !request->error.get() && !request->isCancelled() && request->authenticationNeeded != 0;
}

// Joins the question another request has out for the same space, or opens one for this request; true
// when it joined.
bool waitForOpenQuestion(HttpRequest& r, bool proxy) {
  const HttpRequest::Ptr self = pointerTo(r);
  Question question = questionFor(r, proxy);
  HttpRequest::Ptr asker;  // let go outside the lock
  std::lock_guard lock(state().questionsMutex);
  std::vector<Question>& questions = state().questions;
  const auto open = std::find_if(questions.begin(), questions.end(),
                                 [&](const Question& q) { return q.sameSpace(question); });
  if (open != questions.end()) {
    asker = open->asker.lock();
    if (asker != self && isAsking(asker)) {
      open->waiting.push_back(self);
      return true;
    }
    // Its asker ended without an answer: this request asks in its place, for the waiting ones too.
    question.waiting = std::move(open->waiting);
    questions.erase(open);
  }
  questions.push_back(std::move(question));
  return false;
}

// Under promptGuard. Asks the delegate or the prompt, or waits for the question another request has out
// for the same space; false when nobody can answer.
bool askForCredentials(HttpRequest& r, bool proxy) {
  if (!delegateAnswers(r, proxy) && !promptAnswers(r, proxy)) return false;
  // No time-out while waiting for an answer.
  r.lastActivityTime = std::nullopt;
  if (waitForOpenQuestion(r, proxy)) return true;
  if (proxy) return r.willAskDelegateForProxyCredentials() || r.showProxyAuthenticationDialog();
  return r.willAskDelegateForCredentials() || r.showAuthenticationDialog();
}

// The requests waiting on the question this request asked; the question is closed.
std::vector<HttpRequest::Ptr> takeWaiting(HttpRequest& asker) {
  const HttpRequest::Ptr self = pointerTo(asker);
  std::vector<HttpRequest::Ptr> waiting;
  std::lock_guard lock(state().questionsMutex);
  std::vector<Question>& questions = state().questions;
  for (auto q = questions.begin(); q != questions.end();) {
    if (!q->askedBy(self)) {
      ++q;
      continue;
    }
    for (const std::weak_ptr<HttpRequest>& weak : q->waiting) {
      if (HttpRequest::Ptr request = weak.lock()) waiting.push_back(std::move(request));
    }
    q = questions.erase(q);
  }
  return waiting;
}

void storeEntry(std::vector<HttpSessionCredential>& store, const HttpSessionCredential& entry) {
  std::lock_guard lock(state().credentialGuard);
  std::erase_if(store, [&](const HttpSessionCredential& e) {
    return e.credentials == entry.credentials && e.url == entry.url && e.host == entry.host &&
           e.port == entry.port;
  });
  store.push_back(entry);
}

void removeEntry(std::vector<HttpSessionCredential>& store, const pf::Dictionary& credentials) {
  std::lock_guard lock(state().credentialGuard);
  const auto found = std::find_if(store.begin(), store.end(), [&](const HttpSessionCredential& e) {
    return e.credentials == credentials;
  });
  if (found != store.end()) store.erase(found);
}

pf::UrlCredential permanentCredential(const pf::Dictionary& credentials) {
  return pf::UrlCredential(stringAt(credentials, kHttpCredentialUsernameKey).value_or(""),
                           stringAt(credentials, kHttpCredentialPasswordKey).value_or(""),
                           pf::UrlCredential::Persistence::Permanent,
                           stringAt(credentials, kHttpCredentialAccountDomainKey).value_or(""));
}

}  // namespace

// ---- challenges ----

void HttpRequest::attemptToApplyCredentialsAndResume() {
  if (error.get() || isCancelled()) return;
  if (authenticationNeeded == kProxyChallenge) return attemptToApplyProxyCredentialsAndResume();
  answerChallenge(false);
}

void HttpRequest::attemptToApplyProxyCredentialsAndResume() {
  if (error.get() || isCancelled()) return;
  answerChallenge(true);
}

void HttpRequest::answerChallenge(bool proxy) {
  if (!takeChallenge(*this, proxy)) {
    cancelLoad();
    failWithError(credentialError("Failed to get authentication object from response headers"));
    return;
  }
  std::shared_ptr<pf::HttpAuthentication>& authentication = authenticationOf(*this, proxy);
  realmOf(*this, proxy).set(authentication->requiresAccountDomain() ? std::nullopt : authentication->realm());
  pf::ErrorPtr refusal;
  if (!authentication->isValid(&refusal)) {
    authentication.reset();
    return answerRefusal(proxy, refusal);
  }
  cancelLoad();
  if (credentialsOf(*this, proxy).get()) return reapplyCredentials(proxy);

  std::unique_lock guard(state().promptGuard);
  if (error.get() || isCancelled()) return;
  if (applySessionCredentials(*this, proxy)) {
    guard.unlock();
    return startRequest();
  }
  const std::optional<pf::Dictionary> found = proxy ? findProxyCredentials() : findCredentials();
  if (!found) {
    if (!askForCredentials(*this, proxy)) failWithError(authenticationError());
    return;
  }
  if (!(proxy ? applyProxyCredentials(*found) : applyCredentials(*found))) {
    failWithError(credentialError(applyFailureText(proxy)));
    return;
  }
  guard.unlock();
  startRequest();
}

// The server or proxy refused what was sent.
void HttpRequest::answerRefusal(bool proxy, const pf::ErrorPtr& refusal) {
  cancelLoad();
  const bool badCredentials = refusal && refusal->domain() == pf::HttpAuthentication::kErrorDomain &&
                              (refusal->code() == pf::HttpAuthentication::kBadUserName ||
                               refusal->code() == pf::HttpAuthentication::kBadPassword);
  if (!badCredentials || (isNtlm(*this, proxy) && retryCountOf(*this, proxy) >= kNtlmRetryLimit)) {
    failWithError(authenticationError());
    return;
  }
  std::unique_lock guard(state().promptGuard);
  const std::optional<pf::Dictionary> rejected = credentialsOf(*this, proxy).get();
  if (rejected) {
    proxy ? removeProxyAuthenticationCredentialsFromSessionStore(*rejected)
          : removeAuthenticationCredentialsFromSessionStore(*rejected);
    credentialsOf(*this, proxy).set(std::nullopt);
  }
  // An answer to another request's question may have cancelled this one meanwhile.
  if (error.get() || isCancelled()) return;
  if (applySessionCredentials(*this, proxy)) {
    guard.unlock();
    return startRequest();
  }
  // A refused saved entry is gone; the request's own credentials are tried before anyone is asked.
  const std::optional<pf::Dictionary> own = proxy ? findProxyCredentials() : findCredentials();
  if (own && own != rejected && (proxy ? applyProxyCredentials(*own) : applyCredentials(*own))) {
    guard.unlock();
    return startRequest();
  }
  if (!askForCredentials(*this, proxy)) failWithError(authenticationError());
}

// The challenge came back after credentials were sent: carry the exchange on (NTLM, a stale Digest
// nonce), up to NTLM's limit.
void HttpRequest::reapplyCredentials(bool proxy) {
  const bool ntlm = isNtlm(*this, proxy);
  const std::optional<pf::Dictionary> credentials = credentialsOf(*this, proxy).get();
  if ((ntlm && retryCountOf(*this, proxy) > 1) ||
      !(proxy ? applyProxyCredentials(*credentials) : applyCredentials(*credentials))) {
    failWithError(ntlm && retryCountOf(*this, proxy) == kNtlmRetryLimit
                      ? authenticationError()
                      : credentialError(applyFailureText(proxy)));
    return;
  }
  startRequest();
}

// ---- finding credentials ----

std::optional<pf::Dictionary> HttpRequest::findCredentials() {
  const std::optional<pf::Url> target = url();
  const HttpRequest::Ptr main = mainRequest.get().lock();
  std::optional<std::string> user, pass;
  if (target && target->user() && target->password()) {
    user = target->user();
    pass = target->password();
  } else if (main && main->username.get() && main->password.get()) {
    user = main->username.get();
    pass = main->password.get();
  } else if (username.get() && password.get()) {
    user = username.get();
    pass = password.get();
  } else if (useKeychainPersistence && target) {
    if (const auto saved = savedCredentialsForHost(target->host(), target->portOrDefault(), target->scheme(),
                                                   authenticationRealm.get())) {
      user = saved->user();
      pass = saved->password();
    }
  }
  if (!user || !pass) return std::nullopt;
  const bool withDomain = requestAuthentication && requestAuthentication->requiresAccountDomain();
  return credentialDictionary(*user, *pass, withDomain, domain.get(), std::nullopt);
}

std::optional<pf::Dictionary> HttpRequest::findProxyCredentials() {
  const HttpRequest::Ptr main = mainRequest.get().lock();
  std::optional<std::string> user, pass;
  if (main && main->proxyUsername.get() && main->proxyPassword.get()) {
    user = main->proxyUsername.get();
    pass = main->proxyPassword.get();
  } else if (proxyUsername.get() && proxyPassword.get()) {
    user = proxyUsername.get();
    pass = proxyPassword.get();
  } else if (proxyAuthenticationScheme.get() == pf::HttpAuthentication::kNtlm && username.get() &&
             password.get()) {
    user = username.get();
    pass = password.get();
  } else if (const auto saved = savedCredentialsForProxy(proxyHost.get().value_or(""), proxyPort,
                                                         pf::UrlProtectionSpace::kProxyHttp,
                                                         proxyAuthenticationRealm.get())) {
    user = saved->user();
    pass = saved->password();
  }
  if (!user || !pass) return std::nullopt;
  const bool withDomain = proxyAuthentication && proxyAuthentication->requiresAccountDomain();
  return credentialDictionary(*user, *pass, withDomain, proxyDomain.get(), domain.get());
}

std::optional<HttpSessionCredential> HttpRequest::findSessionAuthenticationCredentials() {
  const std::optional<pf::Url> target = url();
  if (!target) return std::nullopt;
  const std::optional<std::string> realm = authenticationRealm.get();
  const std::optional<std::string> user = username.get(), pass = password.get();
  std::lock_guard lock(state().credentialGuard);
  std::optional<HttpSessionCredential> hostMatch;
  for (const HttpSessionCredential& entry : state().serverStore) {
    if (!entry.url) continue;
    const bool exact = *entry.url == *target;
    const bool sameServer = entry.url->host() == target->host() && entry.url->scheme() == target->scheme() &&
                            entry.url->port() == target->port();
    if (!exact && !sameServer) continue;
    const bool realmFits = !realm || !entry.authenticationRealm || realm == entry.authenticationRealm;
    const bool userFits = !user || !pass ||
                          (stringAt(entry.credentials, kHttpCredentialUsernameKey) == user &&
                           stringAt(entry.credentials, kHttpCredentialPasswordKey) == pass);
    if (!realmFits || !userFits) continue;
    if (exact) return entry;
    if (!hostMatch) hostMatch = entry;
  }
  return hostMatch;
}

std::optional<HttpSessionCredential> HttpRequest::findSessionProxyAuthenticationCredentials() {
  const std::optional<std::string> host = proxyHost.get();
  if (!host) return std::nullopt;
  // Credentials set on the request win: a saved entry with others (an old password) is not sent.
  const std::optional<std::string> user = proxyUsername.get(), pass = proxyPassword.get();
  const std::optional<std::string> realm = proxyAuthenticationRealm.get();
  std::lock_guard lock(state().credentialGuard);
  for (const HttpSessionCredential& entry : state().proxyStore) {
    if (entry.host != *host || entry.port != proxyPort) continue;
    const bool realmFits = !realm || !entry.authenticationRealm || realm == entry.authenticationRealm;
    const bool userFits = !user || !pass ||
                          (stringAt(entry.credentials, kHttpCredentialUsernameKey) == user &&
                           stringAt(entry.credentials, kHttpCredentialPasswordKey) == pass);
    if (realmFits && userFits) return entry;
  }
  return std::nullopt;
}

// ---- applying credentials ----

void HttpRequest::applyAuthorizationHeader() {
  if (!shouldPresentCredentialsBeforeChallenge || !requestMessage) return;
  if (!hasHeader(*this, "Authorization")) {
    const std::optional<std::string> user = username.get(), pass = password.get();
    if (authenticationScheme.get() == pf::HttpAuthentication::kBasic && user && pass) {
      addBasicAuthenticationHeaderWithUsername(*user, *pass);
    } else if (useSessionPersistence) {
      presentSessionCredentials(*this, false);
    }
  }
  if (useSessionPersistence && !hasHeader(*this, "Proxy-Authorization"))
    presentSessionCredentials(*this, true);
}

void HttpRequest::storeAcceptedBasicCredentials() {
  const std::optional<std::string> user = username.get(), pass = password.get();
  if (requestAuthentication || authenticationScheme.get() != pf::HttpAuthentication::kBasic || !user ||
      !pass || !useSessionPersistence) {
    return;
  }
  storeAuthenticationCredentialsInSessionStore(
      {nullptr, credentialDictionary(*user, *pass, false, std::nullopt, std::nullopt), url(), "", 0,
       pf::HttpAuthentication::kBasic, std::nullopt});
}

void HttpRequest::addBasicAuthenticationHeaderWithUsername(const std::string& theUsername,
                                                           const std::string& andPassword) {
  const std::string pair = theUsername + ":" + andPassword;
  addRequestHeader("Authorization", "Basic " + base64forData(pf::Data(pair.begin(), pair.end())));
  authenticationScheme.set(std::string(pf::HttpAuthentication::kBasic));
}

bool HttpRequest::applyCredentials(const pf::Dictionary& newCredentials) {
  ++authenticationRetryCount;
  if (!requestAuthentication || !requestMessage) return false;
  if (!putOnMessage(*this, *requestAuthentication, newCredentials)) {
    removeAuthenticationCredentialsFromSessionStore(newCredentials);
    return false;
  }
  if (useKeychainPersistence) saveCredentialsToKeychain(newCredentials);
  if (useSessionPersistence) {
    storeAuthenticationCredentialsInSessionStore({requestAuthentication, newCredentials, url(), "", 0,
                                                  authenticationScheme.get().value_or(""),
                                                  authenticationRealm.get()});
  }
  requestCredentials.set(newCredentials);
  return true;
}

bool HttpRequest::applyProxyCredentials(const pf::Dictionary& newCredentials) {
  ++proxyAuthenticationRetryCount;
  if (!proxyAuthentication || !requestMessage) return false;
  if (!putOnMessage(*this, *proxyAuthentication, newCredentials)) {
    removeProxyAuthenticationCredentialsFromSessionStore(newCredentials);
    return false;
  }
  if (useKeychainPersistence) saveProxyCredentialsToKeychain(newCredentials);
  if (useSessionPersistence) {
    storeProxyAuthenticationCredentialsInSessionStore(
        {proxyAuthentication, newCredentials, std::nullopt, proxyHost.get().value_or(""), proxyPort,
         proxyAuthenticationScheme.get().value_or(""), proxyAuthenticationRealm.get()});
  }
  proxyCredentials.set(newCredentials);
  return true;
}

// ---- asking ----

bool HttpRequest::willAskDelegateForCredentials() {
  if (!delegateAnswers(*this, false)) return false;
  pf::RunLoop::main()->post([self = pointerTo(*this)] { self->askDelegateForCredentials(); });
  return true;
}

bool HttpRequest::willAskDelegateForProxyCredentials() {
  if (!delegateAnswers(*this, true)) return false;
  pf::RunLoop::main()->post([self = pointerTo(*this)] { self->askDelegateForProxyCredentials(); });
  return true;
}

void HttpRequest::askDelegateForCredentials() {
  std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (!target) target = queue();
  if (target && target->implements(HttpRequestDelegate::Optional::AuthenticationNeeded)) {
    target->authenticationNeededForRequest(pointerTo(*this));
  } else if (const BasicBlock block = blocks().authenticationNeeded) {
    block();
  }
}

void HttpRequest::askDelegateForProxyCredentials() {
  std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (!target) target = queue();
  if (target && target->implements(HttpRequestDelegate::Optional::ProxyAuthenticationNeeded)) {
    target->proxyAuthenticationNeededForRequest(pointerTo(*this));
  } else if (const BasicBlock block = blocks().proxyAuthenticationNeeded) {
    block();
  }
}

bool HttpRequest::showAuthenticationDialog() {
  if (!promptAnswers(*this, false)) return false;
  presentCredentialPrompt();
  return true;
}

bool HttpRequest::showProxyAuthenticationDialog() {
  if (!promptAnswers(*this, true)) return false;
  presentCredentialPrompt();
  return true;
}

void HttpRequest::presentCredentialPrompt() {
  CredentialPrompt prompt;
  {
    std::lock_guard lock(state().promptMutex);
    prompt = state().prompt;
  }
  performBlockOnMainThread([prompt, self = pointerTo(*this)] { prompt(self); });
}

void HttpRequest::setCredentialPrompt(CredentialPrompt prompt) {
  std::lock_guard lock(state().promptMutex);
  state().prompt = std::move(prompt);
}

// ---- answers ----

void HttpRequest::retryUsingSuppliedCredentials() {
  const HttpRequest::Ptr self = pointerTo(*this);
  performOnRequestThread([self] {
    if (self->requestMessage) {
      self->attemptToApplyCredentialsAndResume();
    } else {
      self->main();
    }
  });
  // Queued behind the answered request, the waiting ones find its answer in the session store.
  for (const HttpRequest::Ptr& waiting : takeWaiting(*this)) {
    waiting->performOnRequestThread([waiting] { waiting->attemptToApplyCredentialsAndResume(); });
  }
}

void HttpRequest::cancelAuthentication() {
  std::vector<HttpRequest::Ptr> requests = takeWaiting(*this);
  requests.push_back(pointerTo(*this));
  for (const HttpRequest::Ptr& request : requests) {
    request->performOnRequestThread([request] { request->failAuthentication(); });
  }
}

void HttpRequest::failAuthentication() {
  failWithError(authenticationError());
}

void HttpRequest::abandonCredentialQuestion() {
  // Nobody will answer for a request that ended: the waiting ones ask for themselves.
  for (const HttpRequest::Ptr& waiting : takeWaiting(*this)) {
    waiting->performOnRequestThread([waiting] { waiting->attemptToApplyCredentialsAndResume(); });
  }
}

// ---- session stores ----

std::vector<HttpSessionCredential> HttpRequest::sessionCredentialsStore() {
  std::lock_guard lock(state().credentialGuard);
  return state().serverStore;
}

std::vector<HttpSessionCredential> HttpRequest::sessionProxyCredentialsStore() {
  std::lock_guard lock(state().credentialGuard);
  return state().proxyStore;
}

void HttpRequest::storeAuthenticationCredentialsInSessionStore(const HttpSessionCredential& entry) {
  storeEntry(state().serverStore, entry);
}

void HttpRequest::storeProxyAuthenticationCredentialsInSessionStore(const HttpSessionCredential& entry) {
  storeEntry(state().proxyStore, entry);
}

void HttpRequest::removeAuthenticationCredentialsFromSessionStore(const pf::Dictionary& credentials) {
  removeEntry(state().serverStore, credentials);
}

void HttpRequest::removeProxyAuthenticationCredentialsFromSessionStore(const pf::Dictionary& credentials) {
  removeEntry(state().proxyStore, credentials);
}

// ---- credential storage ----

void HttpRequest::saveCredentialsToKeychain(const pf::Dictionary& newCredentials) {
  const std::optional<pf::Url> target = url();
  if (!target) return;
  saveCredentials(permanentCredential(newCredentials), target->host(), target->portOrDefault(),
                  target->scheme(), authenticationRealm.get());
}

void HttpRequest::saveProxyCredentialsToKeychain(const pf::Dictionary& newCredentials) {
  saveCredentials(permanentCredential(newCredentials), proxyHost.get().value_or(""), proxyPort,
                  proxyAuthenticationRealm.get());
}

void HttpRequest::saveCredentials(const pf::UrlCredential& credentials, const std::string& forHost, int port,
                                  const std::string& protocol, const std::optional<std::string>& realm) {
  pf::UrlCredentialStorage::shared()->setDefaultCredential(
      credentials, pf::UrlProtectionSpace::server(forHost, port, protocol, realm));
}

void HttpRequest::saveCredentials(const pf::UrlCredential& credentials, const std::string& forProxy, int port,
                                  const std::optional<std::string>& realm) {
  pf::UrlCredentialStorage::shared()->setDefaultCredential(
      credentials, pf::UrlProtectionSpace::proxy(forProxy, port, pf::UrlProtectionSpace::kProxyHttp, realm));
}

std::optional<pf::UrlCredential> HttpRequest::savedCredentialsForHost(
    const std::string& host, int port, const std::string& protocol, const std::optional<std::string>& realm) {
  return pf::UrlCredentialStorage::shared()->defaultCredential(
      pf::UrlProtectionSpace::server(host, port, protocol, realm));
}

// Proxies are kept by host, port and realm alone: the protocol is not looked at.
std::optional<pf::UrlCredential> HttpRequest::savedCredentialsForProxy(
    const std::string& proxy, int port, const std::string& /*protocol*/,
    const std::optional<std::string>& realm) {
  return pf::UrlCredentialStorage::shared()->defaultCredential(
      pf::UrlProtectionSpace::proxy(proxy, port, pf::UrlProtectionSpace::kProxyHttp, realm));
}

void HttpRequest::removeCredentialsForHost(const std::string& host, int port, const std::string& protocol,
                                           const std::optional<std::string>& realm) {
  const pf::UrlProtectionSpace space = pf::UrlProtectionSpace::server(host, port, protocol, realm);
  const auto storage = pf::UrlCredentialStorage::shared();
  if (const auto credential = storage->defaultCredential(space))
    storage->removeCredential(*credential, space);
}

void HttpRequest::removeCredentialsForProxy(const std::string& proxy, int port,
                                            const std::optional<std::string>& realm) {
  const pf::UrlProtectionSpace space =
      pf::UrlProtectionSpace::proxy(proxy, port, pf::UrlProtectionSpace::kProxyHttp, realm);
  const auto storage = pf::UrlCredentialStorage::shared();
  if (const auto credential = storage->defaultCredential(space))
    storage->removeCredential(*credential, space);
}
