#include "web_session.h"

#include <sodium.h>

#include <algorithm>

#include "components/user_login.h"
#include "session/data_connection.h"
#include "web_ui.h"

namespace zov::web {

WebSession::WebSession(const ServerSetup& setup, const std::string& user)
    : maxWindows_(std::max<std::size_t>(1, setup.limits.windowsPerSession)) {
  sim::SessionOptions options;
  options.user = user;
  // The host's process-wide values, as the host publishes them for a standard installation.
  options.bag = {{"AppType", vb::Variant(2)}, {"IndustryType", vb::Variant(0)}};
  options.systemDirectory = setup.systemDirectory;
  std::lock_guard hold(lock_);
  session_ = std::make_unique<sim::Session>(sim::ConnectToDatabase(setup.database), setup.templates,
                                            std::move(options), Ref<host::IHostUi>(WebUi::New()));
  userNumber_ = session_->UserNumber();
  userName_ = session_->UserName();
  if (setup.journalLog)
    session_->journal().SetListener([log = setup.journalLog, number = userNumber_](
                                        const sim::JournalEntry& entry) { log(number, entry); });
}

WebSession::~WebSession() {
  End();
  std::lock_guard hold(lock_);
  session_.reset();
}

template <class W>
std::shared_ptr<W> WebSession::Add() {
  Touch();
  std::shared_ptr<Window> oldest;
  std::shared_ptr<W> window;
  {
    std::lock_guard hold(windowsMutex_);
    if (windows_.size() >= maxWindows_) {
      oldest = std::move(windows_.begin()->second);
      windows_.erase(windows_.begin());
    }
    window = std::make_shared<W>(nextWindow_++, *this);
    windows_[window->id()] = window;
  }
  if (oldest) oldest->Close();
  return window;
}

std::shared_ptr<BillWindow> WebSession::NewBillWindow() { return Add<BillWindow>(); }

std::shared_ptr<ListWindow> WebSession::NewListWindow() { return Add<ListWindow>(); }

std::shared_ptr<Window> WebSession::Find(int id) {
  std::lock_guard hold(windowsMutex_);
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

bool WebSession::CloseWindow(int id) {
  std::shared_ptr<Window> window;
  {
    std::lock_guard hold(windowsMutex_);
    auto it = windows_.find(id);
    if (it == windows_.end()) return false;
    window = std::move(it->second);
    windows_.erase(it);
  }
  window->Close();
  return true;
}

std::size_t WebSession::CloseIdleWindows(Clock::time_point before) {
  std::vector<std::shared_ptr<Window>> idle;
  {
    std::lock_guard hold(windowsMutex_);
    for (auto it = windows_.begin(); it != windows_.end();) {
      if (it->second->lastUsed() < before) {
        idle.push_back(std::move(it->second));
        it = windows_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& window : idle) window->Close();
  return idle.size();
}

std::size_t WebSession::WindowCount() {
  std::lock_guard hold(windowsMutex_);
  return windows_.size();
}

void WebSession::End() {
  std::map<int, std::shared_ptr<Window>> windows;
  {
    std::lock_guard hold(windowsMutex_);
    windows.swap(windows_);
  }
  for (auto& [id, window] : windows) window->Close();
}

// --- the sessions of the server ----------------------------------------------------------------

namespace {

std::string NewToken() {
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[sizeof bytes * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return hex;
}

}  // namespace

SessionStore::SessionStore(ServerSetup setup) : setup_(std::move(setup)) {
  if (sodium_init() < 0) throw std::runtime_error("the random source cannot start");
  reaper_ = std::thread([this] {
    // Often enough that nothing outlives its limit by much, seldom enough to cost nothing.
    const auto every = std::clamp<Clock::duration>(
        std::min(setup_.limits.sessionIdle, setup_.limits.windowIdle) / 4, std::chrono::seconds(1),
        std::chrono::seconds(30));
    std::unique_lock lock(reaperMutex_);
    while (!reaperWake_.wait_for(lock, every, [this] { return stopping_; })) {
      lock.unlock();
      Reap(Clock::now());
      lock.lock();
    }
  });
}

SessionStore::~SessionStore() {
  {
    std::lock_guard lock(reaperMutex_);
    stopping_ = true;
  }
  reaperWake_.notify_all();
  reaper_.join();
  Clear();
}

void SessionStore::EndAll(std::vector<std::shared_ptr<WebSession>> ended) {
  for (auto& session : ended) session->End();
}

void SessionStore::CountFailure(const std::string& user) {
  std::lock_guard hold(mutex_);
  // Names nobody has are counted too, but the count of them stays bounded.
  if (failures_.size() > 10000) failures_.clear();
  Failures& f = failures_[user];
  ++f.count;
  f.last = Clock::now();
  const int over = f.count - setup_.limits.freeLoginFailures;
  if (over > 0) {
    auto wait = setup_.limits.loginWait * (1LL << std::min(over - 1, 20));
    wait = std::min<std::chrono::milliseconds>(wait, setup_.limits.longestLoginWait);
    f.waitUntil = Clock::now() + wait;
  }
}

std::string SessionStore::Login(const std::string& user, const std::string& password) {
  {
    std::lock_guard hold(mutex_);
    auto it = failures_.find(user);
    if (it != failures_.end() && it->second.waitUntil > Clock::now()) {
      const auto left =
          std::chrono::ceil<std::chrono::seconds>(it->second.waitUntil - Clock::now());
      throw LoginThrottled("登录失败次数过多，请" + std::to_string(left.count()) + "秒后再试。");
    }
  }
  sim::LoginUser who;
  try {
    std::lock_guard hold(accountsMutex_);
    if (!accounts_) accounts_ = sim::ConnectToDatabase(setup_.database);
    who = sim::CheckLogin(*accounts_, user, password);
  } catch (const sim::LoginRefused&) {
    CountFailure(user);
    throw;
  }
  auto session = std::make_shared<WebSession>(setup_, who.number);
  const std::string token = NewToken();
  std::vector<std::shared_ptr<WebSession>> ended;
  bool full = false;
  {
    std::lock_guard hold(mutex_);
    failures_.erase(user);
    // The user's least used sessions make room for this one.
    std::vector<std::map<std::string, std::shared_ptr<WebSession>>::iterator> mine;
    for (auto it = sessions_.begin(); it != sessions_.end(); ++it)
      if (it->second->userNumber() == who.number) mine.push_back(it);
    std::sort(mine.begin(), mine.end(),
              [](auto a, auto b) { return a->second->lastUsed() < b->second->lastUsed(); });
    const std::size_t allowed = std::max<std::size_t>(1, setup_.limits.sessionsPerUser);
    const std::size_t leaving = mine.size() >= allowed ? mine.size() - allowed + 1 : 0;
    full = sessions_.size() - leaving >= setup_.limits.sessions;
    if (!full) {
      for (std::size_t i = 0; i < leaving; ++i) {
        ended.push_back(std::move(mine[i]->second));
        sessions_.erase(mine[i]);
      }
      sessions_[token] = session;
    }
  }
  if (full) {
    session->End();
    throw ServerFull("服务器的会话已满，请稍后再登录。");
  }
  EndAll(std::move(ended));
  return token;
}

void SessionStore::Logout(const std::string& token) {
  std::shared_ptr<WebSession> session;
  {
    std::lock_guard hold(mutex_);
    auto it = sessions_.find(token);
    if (it == sessions_.end()) return;
    session = std::move(it->second);
    sessions_.erase(it);
  }
  session->End();
}

std::shared_ptr<WebSession> SessionStore::Find(const std::string& token) {
  if (token.empty()) return nullptr;
  std::lock_guard hold(mutex_);
  auto it = sessions_.find(token);
  if (it == sessions_.end()) return nullptr;
  it->second->Touch();
  return it->second;
}

void SessionStore::Reap(Clock::time_point now) {
  std::vector<std::shared_ptr<WebSession>> ended, open;
  {
    std::lock_guard hold(mutex_);
    for (auto it = sessions_.begin(); it != sessions_.end();) {
      if (it->second->lastUsed() < now - setup_.limits.sessionIdle) {
        ended.push_back(std::move(it->second));
        it = sessions_.erase(it);
      } else {
        open.push_back(it->second);
        ++it;
      }
    }
    // A user's failures are forgotten a while after the last one.
    const auto forget =
        std::max<Clock::duration>(setup_.limits.longestLoginWait, std::chrono::minutes(15));
    for (auto it = failures_.begin(); it != failures_.end();)
      it = it->second.last < now - forget ? failures_.erase(it) : std::next(it);
  }
  EndAll(std::move(ended));
  for (auto& session : open) session->CloseIdleWindows(now - setup_.limits.windowIdle);
}

std::size_t SessionStore::SessionCount() {
  std::lock_guard hold(mutex_);
  return sessions_.size();
}

void SessionStore::Clear() {
  std::vector<std::shared_ptr<WebSession>> ended;
  {
    std::lock_guard hold(mutex_);
    for (auto& [token, session] : sessions_) ended.push_back(std::move(session));
    sessions_.clear();
  }
  EndAll(std::move(ended));
}

}  // namespace zov::web
