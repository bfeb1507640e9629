// A host session: one logged-in user working with bills, as one host process is on the host's
// own platform. It owns the session's database connection, journal, process-wide property bag,
// the library slots of the plug-ins, the user interface, and the bill forms and lists it opened.
// Nothing is shared between sessions but the templates and the database file.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "session/journal.h"
#include "session/session_context.h"
#include "zov/host/host.h"

namespace zov::sim {

class BillList;

// The account set's database as a session reaches it.
class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  // Runs a T-SQL batch; its result sets. Raises std::runtime_error with the database's message.
  virtual std::vector<RecordData> Execute(std::string_view tsql) = 0;
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // Where the database is, as the connection string of the login properties shows it.
  virtual std::string Location() const = 0;
};

struct SessionOptions {
  std::string user = "admin";              // the user's number (t_User.FNumber)
  std::map<std::string, vb::Variant> bag;  // initial items of the process-wide bag
  bool publishBag = true;                  // false: the host publishes no bag
  std::string systemDirectory;    // where the plug-ins' log file goes; "" a temporary directory
  std::optional<vb::Date> clock;  // a fixed clock for scripted sessions
  std::uint32_t processId = 0;    // 0: a number of the session's own
};

// The bill templates of the host, by bill class.
using TemplateSet = std::map<long, std::shared_ptr<const BillTemplate>>;

// A bill form opened in a session, with the plug-in object bound to it.
struct OpenForm {
  Ref<BillForm> form;
  Ref<vb::IObject> plugin;  // empty when the class has no plug-in
};

class Session final : public SessionContext {
 public:
  // Logs `options.user` in; raises std::runtime_error for an unknown or forbidden user.
  Session(std::unique_ptr<SqlConnection> connection, std::shared_ptr<const TemplateSet> templates,
          SessionOptions options, Ref<host::IHostUi> ui);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // --- HostServices / SessionContext ---
  std::vector<RecordData> Run(std::string_view sql) override;
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  void JournalException(std::string_view where, std::string_view what) override;
  host::IHostUi& Ui() override { return *ui_; }
  long UserId() override { return userId_; }
  vb::Date Now() override;
  const BillTemplate* TemplateOf(long classTypeId) override;
  std::string PropsString() override { return props_; }
  std::string UserNumber() override { return userNumber_; }
  std::string UserName() override { return userName_; }
  std::string SessionKey() override { return sessionKey_; }
  std::uint32_t ProcessId() override { return processId_; }
  Ref<host::IDictionary> Bag() override { return bag_; }
  Ref<vb::IObject> CreateObject(std::string_view progId) override;

  // The session as the plug-ins see it.
  Ref<host::IHost> Host();
  Journal& journal() { return journal_; }
  const Ref<host::IHostUi>& ui() const { return ui_; }
  const std::string& systemDirectory() const { return systemDirectory_; }
  void SetClock(std::optional<vb::Date> clock) { clock_ = clock; }

  // Opens a bill form of class `classTypeId`: the form, its plug-in created by ProgID and bound
  // with Show, and the menus built. Raises std::runtime_error for an unknown class.
  OpenForm OpenBill(long classTypeId);
  // Opens the bill list of class `classTypeId` with its plug-in bound: of every bill of the
  // class, or of those of kind `billType` (FBillTypeID) alone.
  struct ListForm {
    Ref<BillList> list;
    Ref<vb::IObject> plugin;
  };
  ListForm OpenList(long classTypeId, long billType = 0);
  // Releases the plug-in of `form` (the form closes).
  void Close(OpenForm& form);
  // The class type of the bill class served by plug-in class `name` ("BillEvent_Sale"), or 0.
  long ClassOfPlugin(std::string_view name) const;

  // Library slots of the plug-ins (IHost::LibraryState).
  Ref<vb::IObject> LibraryState(std::string_view library);
  void SetLibraryState(std::string_view library, const Ref<vb::IObject>& state);

 private:
  Ref<vb::IObject> CreatePlugin(std::string_view progId);

  std::unique_ptr<SqlConnection> connection_;
  std::shared_ptr<const TemplateSet> templates_;
  Ref<host::IHostUi> ui_;
  Ref<host::IHost> host_;
  Ref<host::IDictionary> bag_;
  Journal journal_;
  std::map<std::string, Ref<vb::IObject>, std::less<>> libraryState_;
  std::optional<vb::Date> clock_;
  std::string props_, userNumber_, userName_, systemDirectory_, sessionKey_;
  long userId_ = 0;
  std::uint32_t processId_ = 0;
  int transactionDepth_ = 0;
  bool transactionDoomed_ = false;
};

}  // namespace zov::sim
