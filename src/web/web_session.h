// A person logged in through the browser: one host session of its own (user, bag, journal,
// database connection) and the windows opened in it. The sessions of the server are kept by
// the SessionStore under a random token that the browser holds as a cookie.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "session/session.h"
#include "window.h"

namespace zov::web {

// What every session of the server shares: the database file, the templates and the folder
// where the plug-ins write their log.
struct ServerSetup {
  std::string database;  // a file, or a postgresql:// connection string
  std::string systemDirectory;
  std::shared_ptr<const sim::TemplateSet> templates;
};

class WebSession {
 public:
  // Logs `user` in; raises std::runtime_error for an unknown or forbidden user.
  WebSession(const ServerSetup& setup, const std::string& user);
  ~WebSession();
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  sim::Session& host() { return *session_; }
  // Held by the window that runs; a window waiting for the person lets go of it.
  std::mutex& lock() { return lock_; }
  const std::string& userNumber() const { return userNumber_; }
  const std::string& userName() const { return userName_; }

  // At most this many windows stay open; opening one more closes the oldest.
  static constexpr std::size_t kMaxWindows = 12;

  // A new window of kind "bill" or "list"; the caller opens it.
  std::shared_ptr<BillWindow> NewBillWindow();
  std::shared_ptr<ListWindow> NewListWindow();
  std::shared_ptr<Window> Find(int id);
  // Closes the window `id`; false when there is none.
  bool CloseWindow(int id);
  // Closes every window.
  void CloseAll();

 private:
  std::mutex lock_;
  std::unique_ptr<sim::Session> session_;
  std::string userNumber_, userName_;
  std::mutex windowsMutex_;
  template <class W>
  std::shared_ptr<W> Add();

  std::map<int, std::shared_ptr<Window>> windows_;
  int nextWindow_ = 1;
};

class SessionStore {
 public:
  explicit SessionStore(ServerSetup setup) : setup_(std::move(setup)) {}
  // Logs `user` in; returns the new session's token.
  std::string Login(const std::string& user);
  void Logout(const std::string& token);
  std::shared_ptr<WebSession> Find(const std::string& token);
  // Ends every session (the server stops).
  void Clear();
  const ServerSetup& setup() const { return setup_; }

 private:
  ServerSetup setup_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<WebSession>> sessions_;
};

}  // namespace zov::web
