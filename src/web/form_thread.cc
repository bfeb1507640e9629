#include "form_thread.h"

namespace zov::web {

namespace {
thread_local FormThread* t_current = nullptr;
}  // namespace

FormThread::FormThread(std::mutex& sessionLock) : sessionLock_(sessionLock) {
  thread_ = std::thread([this] { Loop(); });
}

FormThread::~FormThread() { Stop(); }

FormThread* FormThread::Current() { return t_current; }

void FormThread::Loop() {
  t_current = this;
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return exit_ || (state_ == State::Running && operation_); });
    if (exit_) return;
    auto operation = std::move(operation_);
    operation_ = nullptr;
    lock.unlock();
    Json result;
    std::exception_ptr error;
    {
      // The operation and everything it holds go while the session is ours.
      std::unique_lock session(sessionLock_);
      held_ = &session;
      try {
        result = operation();
      } catch (...) {
        error = std::current_exception();
      }
      operation = nullptr;
      held_ = nullptr;
    }
    lock.lock();
    result_ = std::move(result);
    error_ = error;
    state_ = State::Done;
    changed_.notify_all();
  }
}

FormThread::Outcome FormThread::WaitLocked(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [&] { return state_ == State::Parked || state_ == State::Done; });
  if (state_ == State::Parked) return {true, dialog_};
  state_ = State::Idle;
  if (auto error = std::exchange(error_, nullptr)) std::rethrow_exception(error);
  return {false, std::exchange(result_, Json())};
}

FormThread::Outcome FormThread::Run(std::function<Json()> operation) {
  std::lock_guard call(callMutex_);
  std::unique_lock lock(mutex_);
  if (stopping_) throw Busy("窗口已关闭。");
  if (state_ != State::Idle) throw Busy("窗口正在等待回答。");
  operation_ = std::move(operation);
  state_ = State::Running;
  changed_.notify_all();
  return WaitLocked(lock);
}

FormThread::Outcome FormThread::Answer(Json answer) {
  std::lock_guard call(callMutex_);
  std::unique_lock lock(mutex_);
  if (state_ != State::Parked) throw Busy("没有等待回答的对话框。");
  answer_ = std::move(answer);
  state_ = State::Running;
  changed_.notify_all();
  return WaitLocked(lock);
}

Json FormThread::PendingDialog() const {
  std::lock_guard lock(mutex_);
  return state_ == State::Parked ? dialog_ : Json();
}

Json FormThread::Inspect(const std::function<Json(const Json&)>& look) {
  std::lock_guard call(callMutex_);
  Json pending;
  {
    std::lock_guard lock(mutex_);
    if (exit_) throw Busy("窗口已关闭。");
    if (state_ == State::Parked) pending = dialog_;
  }
  // Without the call lock nobody can answer or start an operation, so the state holds.
  std::lock_guard session(sessionLock_);
  return look(pending);
}

bool FormThread::stopping() const {
  std::lock_guard lock(mutex_);
  return stopping_;
}

Json FormThread::Park(Json dialog) {
  // The other windows of the session may run while this one waits for the person; the session
  // is let go of before anyone can see the dialog.
  if (held_) held_->unlock();
  Json answer;
  {
    std::unique_lock lock(mutex_);
    if (!stopping_) {
      dialog_ = std::move(dialog);
      state_ = State::Parked;
      changed_.notify_all();
      changed_.wait(lock, [&] { return state_ == State::Running; });
      answer = std::exchange(answer_, Json());
      dialog_ = nullptr;
    }
  }
  if (held_) held_->lock();
  return answer;
}

void FormThread::Stop(std::function<void()> last) {
  std::lock_guard call(callMutex_);
  {
    std::unique_lock lock(mutex_);
    if (exit_) return;
    stopping_ = true;
    if (state_ == State::Parked) {
      answer_ = nullptr;
      state_ = State::Running;
      changed_.notify_all();
    }
    changed_.wait(lock, [&] { return state_ == State::Idle || state_ == State::Done; });
    if (last) {
      operation_ = [last = std::move(last)] {
        last();
        return Json();
      };
      state_ = State::Running;
      changed_.notify_all();
      changed_.wait(lock, [&] { return state_ == State::Done; });
    }
    state_ = State::Idle;
    error_ = nullptr;
    result_ = nullptr;
    exit_ = true;
    changed_.notify_all();
  }
  thread_.join();
}

}  // namespace zov::web
