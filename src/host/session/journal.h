// The journal of a session: every failed SQL statement and every exception of a handler or a
// component, with the text that failed. The plug-ins swallow such failures by design, so the
// journal is where they surface; a test or scenario that leaves it non-empty fails.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace zov::sim {

struct JournalEntry {
  std::string kind;   // "sql" or "exception"
  std::string where;  // the statement's caller, the event or the component
  std::string text;   // the SQL text, or empty
  std::string error;  // the message
};

class Journal {
 public:
  void Add(JournalEntry entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
  }
  std::vector<JournalEntry> entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
  }
  bool empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty();
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<JournalEntry> entries_;
};

}  // namespace zov::sim
