#include "session/session.h"

#include <atomic>
#include <chrono>
#include <filesystem>

#include "bill/edit_lock.h"
#include "data/sql_error.h"
#include "list/bill_list.h"
#include "session/plugin_loader.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrCannotCreateObject = 429;

std::atomic<std::uint32_t> g_nextProcessId{4100};

std::string Quote(std::string_view text) { return "'" + vb::Replace(text, "'", "''") + "'"; }

// The session as the plug-ins see it: the host process with its services.
class HostObject final : public vb::Implements<host::IHost> {
 public:
  explicit HostObject(Session* session) : session_(session) {}
  std::string TypeName() const override { return "Host"; }
  void Detach() { session_ = nullptr; }

  std::uint32_t ProcessId() override { return S().ProcessId(); }
  std::uint32_t TerminalSessionId() override { return 1; }
  std::string SystemDirectory() override { return S().systemDirectory(); }
  Ref<vb::IObject> CreateObject(std::string_view progId) override {
    return S().CreateObject(progId);
  }
  Ref<host::IDictionary> PropertyBag() override { return S().Bag(); }
  Ref<host::IHostUi> Ui() override { return S().ui(); }
  vb::Date Now() override { return S().Now(); }
  Ref<vb::IObject> LibraryState(std::string_view library) override {
    return S().LibraryState(library);
  }
  void SetLibraryState(std::string_view library, const Ref<vb::IObject>& state) override {
    S().SetLibraryState(library, state);
  }

 private:
  Session& S() const {
    if (!session_)
      throw vb::Error(vb::kErrObjectVariableNotSet, "The host session has ended", "Host");
    return *session_;
  }
  Session* session_;
};

// The ProgIDs and class IDs of a library, as its registration writes them.
class CollectingRegistry final : public vb::Implements<host::IComponentRegistry> {
 public:
  std::string TypeName() const override { return "Registry"; }
  void RegisterClass(const vb::Guid& clsid, std::string_view progId, std::string_view,
                     std::string_view) override {
    classes[std::string(progId)] = clsid;
  }
  void UnregisterClass(const vb::Guid&, std::string_view) override {}
  std::map<std::string, vb::Guid> classes;
};

}  // namespace

Session::Session(std::unique_ptr<SqlConnection> connection,
                 std::shared_ptr<const TemplateSet> templates, SessionOptions options,
                 Ref<host::IHostUi> ui)
    : connection_(std::move(connection)),
      templates_(std::move(templates)),
      ui_(std::move(ui)),
      clock_(options.clock) {
  processId_ = options.processId ? options.processId : g_nextProcessId++;
  host_ = vb::MakeRef<host::IHost, HostObject>(this);

  // The database compares names without case; a login names the user exactly as stored.
  const auto users = Run("SELECT FUserID, FNumber, FName, FForbidden FROM t_User WHERE FNumber=" +
                         Quote(options.user));
  const std::vector<vb::Variant>* found = nullptr;
  if (!users.empty())
    for (const auto& row : users[0].rows)
      if (!row[1].IsNull() && vb::CStr(row[1]) == options.user) found = &row;
  if (!found) throw std::runtime_error("用户“" + options.user + "”不存在。");
  const auto& u = *found;
  if (!u[3].IsNull() && vb::CBool(u[3]))
    throw std::runtime_error("用户“" + options.user + "”已被禁用。");
  userId_ = vb::CLng(u[0]);
  userNumber_ = vb::CStr(u[1]);
  userName_ = u[2].IsNull() ? userNumber_ : vb::CStr(u[2]);
  props_ = "UserID=" + std::to_string(userId_) + ";UserName=" + userName_ +
           ";AcctID=1;AcctName=演示账套;ConnectString={" + connection_->Location() + "};";

  if (options.publishBag) {
    bag_ = Dictionary::New();
    for (const auto& [k, v] : options.bag) bag_->SetItem(k, v);
  }
  systemDirectory_ = options.systemDirectory;
  if (systemDirectory_.empty()) {
    systemDirectory_ =
        (std::filesystem::temp_directory_path() / ("zov-system-" + std::to_string(processId_)))
            .string();
  }
  std::error_code ec;
  std::filesystem::create_directories(systemDirectory_, ec);
  sessionKey_ = EditLock::NewSessionKey();
  EditLock::SessionStarted(sessionKey_);
}

Session::~Session() {
  // Edit locks this session still holds are free to take from now on.
  EditLock::SessionEnded(sessionKey_);
  // The plug-ins' session state goes first, then the host object stops answering.
  libraryState_.clear();
  static_cast<HostObject*>(host_.get())->Detach();
}

Ref<host::IHost> Session::Host() { return host_; }

std::vector<RecordData> Session::Run(std::string_view sql) {
  try {
    return connection_->Execute(sql);
  } catch (const data::SqlError& e) {
    // The statement stays in the journal; the caller, who may show the error to a person, learns
    // what failed without it.
    journal_.Add({"sql", "", std::string(sql), e.message()});
    throw data::SqlError(e.message());
  } catch (const std::exception& e) {
    journal_.Add({"sql", "", std::string(sql), e.what()});
    throw;
  }
}

void Session::Begin() {
  if (transactionDepth_++ == 0) {
    transactionDoomed_ = false;
    connection_->Begin();
  }
}

void Session::Commit() {
  if (transactionDepth_ == 0) return;
  if (--transactionDepth_ > 0) return;
  if (transactionDoomed_) {
    connection_->Rollback();
    throw std::runtime_error("the transaction was rolled back by an inner failure");
  }
  try {
    connection_->Commit();
  } catch (const std::exception& e) {
    journal_.Add({"sql", "", "COMMIT", e.what()});
    throw;
  }
}

void Session::Rollback() {
  if (transactionDepth_ == 0) return;
  if (--transactionDepth_ > 0) {
    transactionDoomed_ = true;
    return;
  }
  connection_->Rollback();
}

void Session::JournalException(std::string_view where, std::string_view what) {
  journal_.Add({"exception", std::string(where), "", std::string(what)});
}

vb::Date Session::Now() {
  if (clock_) return *clock_;
  return vb::Now();
}

const BillTemplate* Session::TemplateOf(long classTypeId) {
  auto it = templates_->find(classTypeId);
  return it == templates_->end() ? nullptr : it->second.get();
}

Ref<vb::IObject> Session::CreateObject(std::string_view progId) {
  const auto& components = HostComponents();
  if (auto it = components.find(progId); it != components.end()) return it->second(*this);
  return CreatePlugin(progId);
}

Ref<vb::IObject> Session::CreatePlugin(std::string_view progId) {
  std::string path;
  vb::Guid clsid;
  const auto reg =
      Run("SELECT FCLSID, FLibraryPath FROM t_ComponentRegistry WHERE FProgID=" + Quote(progId));
  if (!reg.empty() && !reg[0].rows.empty()) {
    clsid = vb::Guid::Parse(vb::CStr(reg[0].rows[0][0]));
    path = vb::CStr(reg[0].rows[0][1]);
  }
  // A library that moved since it was registered is found beside the running program.
  if (path.empty() || !std::filesystem::exists(path)) {
    const std::string fallback = DefaultPluginLibrary();
    if (std::filesystem::exists(fallback)) {
      auto registry = Ref<CollectingRegistry>::Adopt(new CollectingRegistry);
      RegisterLibrary(fallback, *registry);
      if (auto it = registry->classes.find(std::string(progId)); it != registry->classes.end()) {
        clsid = it->second;
        path = fallback;
      }
    }
  }
  if (path.empty() || clsid.IsNull())
    throw vb::Error(kErrCannotCreateObject,
                    "ActiveX component can't create object: " + std::string(progId),
                    std::string(progId));
  try {
    return ClassFactoryOf(path, clsid)->CreateInstance(host_);
  } catch (const vb::Error&) {
    throw;
  } catch (const std::exception& e) {
    throw vb::Error(kErrCannotCreateObject, e.what(), std::string(progId));
  }
}

Ref<vb::IObject> Session::LibraryState(std::string_view library) {
  auto it = libraryState_.find(library);
  return it == libraryState_.end() ? Ref<vb::IObject>{} : it->second;
}

void Session::SetLibraryState(std::string_view library, const Ref<vb::IObject>& state) {
  libraryState_[std::string(library)] = state;
}

long Session::ClassOfPlugin(std::string_view name) const {
  for (const auto& [id, t] : *templates_) {
    const auto& progId = t->plugin;
    const auto dot = progId.rfind('.');
    if (dot != std::string::npos && progId.substr(dot + 1) == name) return id;
  }
  return 0;
}

OpenForm Session::OpenBill(long classTypeId) {
  const BillTemplate* t = TemplateOf(classTypeId);
  if (!t) throw std::runtime_error("no bill template for class " + std::to_string(classTypeId));
  OpenForm open;
  open.form = BillForm::New(templates_->at(classTypeId), *this);
  if (!t->plugin.empty()) {
    open.plugin = CreateObject(t->plugin);
    auto plugin = open.plugin.As<host::IBillPlugin>();
    if (!plugin) throw std::runtime_error(t->plugin + " is not a bill plug-in");
    plugin->Show(Variant(Ref<host::IBillInterface>(open.form)));
  }
  open.form->InitializeMenus();
  return open;
}

Session::ListForm Session::OpenList(long classTypeId, long billType) {
  const BillTemplate* t = TemplateOf(classTypeId);
  if (!t) throw std::runtime_error("no bill template for class " + std::to_string(classTypeId));
  ListForm open;
  open.list = BillList::New(templates_->at(classTypeId), *this, billType);
  if (!t->plugin.empty()) {
    open.plugin = CreateObject(t->plugin);
    auto bound = open.plugin.As<host::IBillPlugin>();
    if (!bound) throw std::runtime_error(t->plugin + " is not a bill plug-in");
    bound->Show(Variant(Ref<host::IListInterface>(open.list)));
  }
  open.list->InitializeMenus();
  open.list->Refresh();
  return open;
}

void Session::Close(OpenForm& form) {
  if (form.form) form.form->ReleaseEditLock();
  form.plugin.reset();
  form.form.reset();
}

}  // namespace zov::sim
