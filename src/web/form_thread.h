// The thread of one window (a bill form or a bill list) of the browser host. Its events run on
// it one operation at a time. A dialog parks the thread until the person answers: the request
// that started the operation returns the pending dialog, and the answer resumes the thread and
// waits again until the operation ends or parks once more.
//
// The windows of one browser session share one host session (its database connection, journal
// and bag), so a window's thread holds the session's lock while it runs and lets go of it while
// it is parked in a dialog.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

namespace zov::web {

using Json = nlohmann::json;

class FormThread {
 public:
  // What a call returns: the operation's result when it ended, or the pending dialog.
  struct Outcome {
    bool parked = false;
    Json body;  // the operation's result, or the dialog
  };
  // Raised by Run and Answer when the call does not fit the thread's state.
  struct Busy : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  explicit FormThread(std::mutex& sessionLock);
  ~FormThread();
  FormThread(const FormThread&) = delete;
  FormThread& operator=(const FormThread&) = delete;

  // Runs `operation` on the thread. Raises Busy while a dialog is pending or after Stop.
  // An exception of the operation is rethrown here.
  Outcome Run(std::function<Json()> operation);
  // Answers the pending dialog. Raises Busy when none is pending.
  Outcome Answer(Json answer);
  // The pending dialog, or null.
  Json PendingDialog() const;
  // Runs `look` on the caller's thread while the window's thread is idle or parked, holding the
  // session's lock; what a person sees of the window is read this way between operations.
  Json Inspect(const std::function<Json(const Json& pendingDialog)>& look);

  // On the window's own thread: shows `dialog` and blocks until it is answered. Returns the
  // answer; null when the window is closing (the caller then takes the dialog's default).
  Json Park(Json dialog);
  // The window thread the caller runs on, or nullptr.
  static FormThread* Current();

  // Ends the thread: a pending dialog and every later one take their default answers, the
  // running operation is waited for, and `last` (when given) runs as the thread's last work.
  void Stop(std::function<void()> last = {});
  bool stopping() const;

 private:
  enum class State { Idle, Running, Parked, Done };

  void Loop();
  Outcome WaitLocked(std::unique_lock<std::mutex>& lock);

  std::mutex& sessionLock_;
  std::unique_lock<std::mutex>* held_ = nullptr;  // the session lock while an operation runs
  std::mutex callMutex_;                          // one call at a time
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::Idle;
  bool stopping_ = false;
  bool exit_ = false;
  std::function<Json()> operation_;
  Json result_, dialog_, answer_;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace zov::web
