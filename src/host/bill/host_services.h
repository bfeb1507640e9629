// What a bill form or list needs of its host session: the account set's database, the journal
// of failures, the user interface, the user and the clock.
#pragma once

#include <string>
#include <vector>

#include "bill/bill_template.h"
#include "com/recordset.h"
#include "zov/host/ui.h"

namespace zov::sim {

class HostServices {
 public:
  virtual ~HostServices() = default;
  // Runs a T-SQL batch; returns its result sets. Raises std::runtime_error with the database's
  // message; the failure is journaled.
  virtual std::vector<RecordData> Run(std::string_view sql) = 0;
  // The host's own write transaction (save, audit, delete): Begin, then Commit or Rollback.
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // Journals an exception raised by a handler, a component or the host itself.
  virtual void JournalException(std::string_view where, std::string_view what) = 0;
  virtual host::IHostUi& Ui() = 0;
  // The logged-in user's internal ID and name.
  virtual long UserId() = 0;
  virtual std::string UserName() = 0;
  // The session among every session of every process on the account set (edit locks name it).
  virtual std::string SessionKey() = 0;
  virtual vb::Date Now() = 0;
  // The template of bill class `classTypeId`, or nullptr (source bills of other classes).
  virtual const BillTemplate* TemplateOf(long classTypeId) = 0;
};

}  // namespace zov::sim
