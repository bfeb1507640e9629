// The journal of a session: every failed SQL statement and every exception of a handler or a
// component, with the text that failed. The plug-ins swallow such failures by design, so the
// journal is where they surface; a test or scenario that leaves it non-empty fails.
#pragma once

#include <functional>
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
    std::function<void(const JournalEntry&)> listener;
    {
      std::lock_guard lock(mutex_);
      entries_.push_back(entry);
      listener = listener_;
    }
    if (listener) listener(entry);
  }
  // Hears every entry as it is added (a server writes them to its log).
  void SetListener(std::function<void(const JournalEntry&)> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
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
  std::function<void(const JournalEntry&)> listener_;
};

}  // namespace zov::sim
