#include "web_session.h"

#include <random>

#include "session/data_connection.h"
#include "web_ui.h"

namespace zov::web {

WebSession::WebSession(const ServerSetup& setup, const std::string& user) {
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
}

WebSession::~WebSession() {
  CloseAll();
  std::lock_guard hold(lock_);
  session_.reset();
}

template <class W>
std::shared_ptr<W> WebSession::Add() {
  std::shared_ptr<Window> oldest;
  std::shared_ptr<W> window;
  {
    std::lock_guard hold(windowsMutex_);
    // Windows the browser left behind (a tab closed without closing its bill) end here.
    if (windows_.size() >= kMaxWindows) {
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

void WebSession::CloseAll() {
  std::map<int, std::shared_ptr<Window>> windows;
  {
    std::lock_guard hold(windowsMutex_);
    windows.swap(windows_);
  }
  for (auto& [id, window] : windows) window->Close();
}

// --- the sessions of the server ----------------------------------------------------------------

std::string SessionStore::Login(const std::string& user) {
  auto session = std::make_shared<WebSession>(setup_, user);
  static thread_local std::mt19937_64 random{std::random_device{}()};
  static const char* kHex = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 32; ++i) token += kHex[random() & 15];
  std::lock_guard hold(mutex_);
  sessions_[token] = std::move(session);
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
  session->CloseAll();
}

std::shared_ptr<WebSession> SessionStore::Find(const std::string& token) {
  std::lock_guard hold(mutex_);
  auto it = sessions_.find(token);
  return it == sessions_.end() ? nullptr : it->second;
}

void SessionStore::Clear() {
  std::map<std::string, std::shared_ptr<WebSession>> sessions;
  {
    std::lock_guard hold(mutex_);
    sessions.swap(sessions_);
  }
  for (auto& [token, session] : sessions) session->CloseAll();
}

}  // namespace zov::web
