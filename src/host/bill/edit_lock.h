// Who may edit a stored bill. A form that starts editing a stored bill takes its edit lock, a row
// of t_BillEditLock, and gives it back when it saves or closes; a second session that opens the
// bill meanwhile is told who holds it and gets it to view. The row also counts the host's writes
// of the bill, so that a form opened before another session's write notices it went stale.
//
// A lock is taken over when its holder is gone: a session of this process that has ended, a
// process of this machine that has ended, or a holder idle for kStaleMinutes (another machine's
// process may have died without a word).
#pragma once

#include <string>
#include <string_view>

#include "bill/host_services.h"

namespace zov::sim {

class EditLock {
 public:
  static constexpr int kStaleMinutes = 30;
  // The holder refreshes its lock at most this often while the person works.
  static constexpr int kTouchSeconds = 60;

  EditLock(HostServices& services, long classTypeId, long billId)
      : services_(services), classTypeId_(classTypeId), billId_(billId) {}

  struct State {
    long version = 0;   // the host's writes of the bill so far
    bool ours = false;  // this session holds the lock
    bool heldElsewhere = false;
    std::string holder;     // the name of the user holding it elsewhere
    std::string holderKey;  // the holder's session key as read ('' when free)
  };

  // The lock as it is now (a free or stale lock is not held elsewhere).
  State Read();
  // Takes the lock for this session unless another live session holds it. Runs in its own
  // transaction unless the caller's is open.
  State Acquire();
  // Refreshes the holder's time stamp.
  void Touch();
  // Gives the lock back when this session holds it.
  void Release();
  // Counts a write of the bill by the host and gives the lock back when this session held it;
  // the new version. Runs inside the caller's transaction.
  long CountWrite();
  // Drops the bill's row (the bill was deleted).
  void Forget();

  // Sessions of this process announce themselves while they live.
  static void SessionStarted(const std::string& key);
  static void SessionEnded(const std::string& key);
  // A key for a new session: this machine, this process and a number of its own.
  static std::string NewSessionKey();

 private:
  std::string Where() const;
  State Interpret(const std::vector<RecordData>& sets);

  HostServices& services_;
  long classTypeId_;
  long billId_;
};

}  // namespace zov::sim
