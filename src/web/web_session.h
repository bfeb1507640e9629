// A person logged in through the browser: one host session of its own (user, bag, journal,
// database connection) and the windows opened in it. The sessions of the server are kept by
// the SessionStore under a random token that the browser holds as a cookie.
//
// A session ends at logout, when it has been idle too long, when its user logs in once too
// often elsewhere, and when the server stops. However it ends, WebSession::End closes its windows
// one by one as a person's close would: each form is released on its own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "session/session.h"
#include "window.h"

namespace zov::web {

using Clock = std::chrono::steady_clock;

// How much the server holds, and for how long.
struct Limits {
  std::chrono::seconds sessionIdle{30 * 60};  // a session unused this long ends
  std::chrono::seconds windowIdle{30 * 60};   // a window unused this long closes
  std::size_t sessions = 100;                 // sessions of the server at once
  std::size_t sessionsPerUser = 5;            // one more login ends the user's least used one
  std::size_t windowsPerSession = 12;         // one more window closes the session's oldest
  // Failed logins of a user before each further attempt must wait; the first wait, doubling
  // with each failure up to the longest.
  int freeLoginFailures = 3;
  std::chrono::milliseconds loginWait{1000};
  std::chrono::milliseconds longestLoginWait{60 * 1000};
};

// What every session of the server shares: the database file, the templates and the folder
// where the plug-ins write their log.
struct ServerSetup {
  std::string database;  // a file, or a postgresql:// connection string
  std::string systemDirectory;
  std::shared_ptr<const sim::TemplateSet> templates;
  Limits limits;
  // Hears every journal entry of every session, with the user's number (the server's log).
  std::function<void(const std::string& user, const sim::JournalEntry&)> journalLog;
};

class WebSession {
 public:
  // Opens the host session of the user numbered exactly `user` (the login was checked already);
  // raises std::runtime_error for an unknown or forbidden user.
  WebSession(const ServerSetup& setup, const std::string& user);
  ~WebSession();
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  sim::Session& host() { return *session_; }
  // Held by the window that runs; a window waiting for the person lets go of it.
  std::mutex& lock() { return lock_; }
  const std::string& userNumber() const { return userNumber_; }
  const std::string& userName() const { return userName_; }

  // A new window of kind "bill" or "list"; the caller opens it. At most the limit's windows stay
  // open: one more closes the oldest (a tab closed without closing its bill leaves it behind).
  std::shared_ptr<BillWindow> NewBillWindow();
  std::shared_ptr<ListWindow> NewListWindow();
  std::shared_ptr<Window> Find(int id);
  // Closes the window `id`; false when there is none.
  bool CloseWindow(int id);
  // Closes the windows unused since `before`; how many.
  std::size_t CloseIdleWindows(Clock::time_point before);
  std::size_t WindowCount();
  // Ends the session: every window closes as a person's close would (its form released on its
  // own thread). Logout, expiry, eviction and the server's stop all end a session here.
  void End();

  // When the session was last used (a request found it).
  Clock::time_point lastUsed() const { return lastUsed_.load(); }
  void Touch() { lastUsed_.store(Clock::now()); }

 private:
  template <class W>
  std::shared_ptr<W> Add();

  std::mutex lock_;
  std::unique_ptr<sim::Session> session_;
  std::string userNumber_, userName_;
  std::size_t maxWindows_;
  std::atomic<Clock::time_point> lastUsed_{Clock::now()};
  std::mutex windowsMutex_;
  std::map<int, std::shared_ptr<Window>> windows_;
  int nextWindow_ = 1;
};

// A login the server refuses for now: the user must wait (failed logins), or the server holds
// all the sessions it may.
struct LoginThrottled : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct ServerFull : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SessionStore {
 public:
  // Starts the thread that ends idle sessions and closes idle windows.
  explicit SessionStore(ServerSetup setup);
  ~SessionStore();
  SessionStore(const SessionStore&) = delete;
  SessionStore& operator=(const SessionStore&) = delete;

  // Logs `user` in with `password`; returns the new session's token (64 hex digits from the
  // system's cryptographic random source). Raises sim::LoginRefused (wrong user or password, a
  // forbidden user), LoginThrottled or ServerFull.
  std::string Login(const std::string& user, const std::string& password);
  void Logout(const std::string& token);
  // The session of `token` (and it counts as used), or nullptr.
  std::shared_ptr<WebSession> Find(const std::string& token);
  // Ends the sessions idle since before `now` - sessionIdle and closes the windows idle since
  // before `now` - windowIdle.
  void Reap(Clock::time_point now);
  std::size_t SessionCount();
  // Ends every session (the server stops).
  void Clear();
  const ServerSetup& setup() const { return setup_; }

 private:
  struct Failures {
    int count = 0;
    Clock::time_point last, waitUntil;
  };
  void CountFailure(const std::string& user);
  // Ends `ended` outside the store's lock.
  static void EndAll(std::vector<std::shared_ptr<WebSession>> ended);

  ServerSetup setup_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<WebSession>> sessions_;
  std::map<std::string, Failures> failures_;
  std::mutex accountsMutex_;
  std::unique_ptr<sim::SqlConnection> accounts_;  // the login checks
  std::mutex reaperMutex_;
  std::condition_variable reaperWake_;
  bool stopping_ = false;
  std::thread reaper_;
};

}  // namespace zov::web
