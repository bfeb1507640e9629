#include "bill/edit_lock.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <set>

#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

std::mutex g_liveMutex;
std::set<std::string>& LiveSessions() {
  static std::set<std::string> live;
  return live;
}

bool IsLive(const std::string& key) {
  std::lock_guard lock(g_liveMutex);
  return LiveSessions().count(key) > 0;
}

const std::string& ThisHost() {
  static const std::string host = [] {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return std::string("localhost");
    return std::string(name);
  }();
  return host;
}

std::string Quote(std::string_view text) { return "N'" + vb::Replace(text, "'", "''") + "'"; }

std::string Text(const Variant& v) {
  return v.IsNull() || v.IsEmpty() ? std::string() : vb::CStr(v);
}

long Number(const Variant& v) { return v.IsNull() || v.IsEmpty() ? 0 : vb::CLng(v); }

// Whether the holder recorded in a lock row is gone.
bool HolderGone(const std::string& key, const std::string& host, long pid, const Variant& idle) {
  if (idle.IsNull() || idle.IsEmpty() || Number(idle) >= EditLock::kStaleMinutes) return true;
  if (host != ThisHost()) return false;
  if (pid == static_cast<long>(getpid())) return !IsLive(key);
  return pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

// Runs `work` in the services' transaction (joining the caller's when one is open).
template <class Work>
auto InTransaction(HostServices& services, Work&& work) {
  services.Begin();
  try {
    auto result = work();
    services.Commit();
    return result;
  } catch (...) {
    services.Rollback();
    throw;
  }
}

}  // namespace

void EditLock::SessionStarted(const std::string& key) {
  std::lock_guard lock(g_liveMutex);
  LiveSessions().insert(key);
}

void EditLock::SessionEnded(const std::string& key) {
  std::lock_guard lock(g_liveMutex);
  LiveSessions().erase(key);
}

std::string EditLock::NewSessionKey() {
  static std::atomic<long> next{0};
  return ThisHost() + "/" + std::to_string(getpid()) + "/" + std::to_string(++next);
}

std::string EditLock::Where() const {
  return " WHERE FClassTypeID=" + std::to_string(classTypeId_) +
         " AND FBillID=" + std::to_string(billId_);
}

EditLock::State EditLock::Interpret(const std::vector<RecordData>& sets) {
  State state;
  if (sets.empty() || sets.back().rows.empty()) return state;
  const auto& row = sets.back().rows.front();
  state.version = Number(row[5]);
  const std::string key = Text(row[0]);
  state.holderKey = key;
  if (key.empty()) return state;
  if (key == services_.SessionKey()) {
    state.ours = true;
    return state;
  }
  if (HolderGone(key, Text(row[2]), Number(row[3]), row[4])) return state;
  state.heldElsewhere = true;
  state.holder = Text(row[1]);
  return state;
}

EditLock::State EditLock::Read() {
  return Interpret(services_.Run(
      "SELECT FSessionKey, FUserName, FHostName, FProcessID, DATEDIFF(minute, FLastSeen, "
      "GETDATE()), FVersion FROM t_BillEditLock" +
      Where()));
}

EditLock::State EditLock::Acquire() {
  return InTransaction(services_, [&] {
    services_.Run("IF NOT EXISTS (SELECT 1 FROM t_BillEditLock" + Where() +
                  ") INSERT INTO t_BillEditLock (FClassTypeID, FBillID) VALUES (" +
                  std::to_string(classTypeId_) + "," + std::to_string(billId_) + ")");
    State state = Read();
    if (state.ours || state.heldElsewhere) return state;
    // Free or stale: take it over, but only from the holder just seen, so that two sessions
    // taking it at once cannot both win.
    services_.Run("UPDATE t_BillEditLock SET FSessionKey=" + Quote(services_.SessionKey()) +
                  ", FUserID=" + std::to_string(services_.UserId()) +
                  ", FUserName=" + Quote(services_.UserName()) +
                  ", FHostName=" + Quote(ThisHost()) + ", FProcessID=" + std::to_string(getpid()) +
                  ", FLockTime=GETDATE(), FLastSeen=GETDATE()" + Where() +
                  " AND FSessionKey=" + Quote(state.holderKey));
    return Read();
  });
}

void EditLock::Touch() {
  services_.Run("UPDATE t_BillEditLock SET FLastSeen=GETDATE()" + Where() +
                " AND FSessionKey=" + Quote(services_.SessionKey()));
}

void EditLock::Release() {
  services_.Run("UPDATE t_BillEditLock SET FSessionKey='', FUserID=0, FUserName=''" + Where() +
                " AND FSessionKey=" + Quote(services_.SessionKey()));
}

long EditLock::CountWrite() {
  const auto sets =
      services_.Run("IF NOT EXISTS (SELECT 1 FROM t_BillEditLock" + Where() +
                    ") INSERT INTO t_BillEditLock (FClassTypeID, FBillID) VALUES (" +
                    std::to_string(classTypeId_) + "," + std::to_string(billId_) +
                    ")\nUPDATE t_BillEditLock SET FVersion=FVersion+1" + Where() +
                    "\nUPDATE t_BillEditLock SET FSessionKey='', FUserID=0, FUserName=''" +
                    Where() + " AND FSessionKey=" + Quote(services_.SessionKey()) +
                    "\nSELECT FVersion FROM t_BillEditLock" + Where());
  return sets.empty() || sets.back().rows.empty() ? 0 : Number(sets.back().rows[0][0]);
}

void EditLock::Forget() { services_.Run("DELETE FROM t_BillEditLock" + Where()); }

}  // namespace zov::sim
