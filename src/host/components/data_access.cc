// Data access: "ZOVMClass.ClassInfo" (queries), "ZOVMClass.ClassUpdate" (updates in a
// transaction of their own), "ZOVMAPPConnection.AppConnection" (base-data look-ups), and the two
// small infrastructure components "QBX.Dictionary" and "vrex.StringBuilder".
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"

namespace zov::sim::components {

namespace {

// The first result set of a batch as a recordset; an empty one when the batch returns none.
Ref<host::IRecordset> FirstResultSet(SessionContext& ctx, std::string_view source,
                                     std::string_view sql) {
  Rows rows = Query(ctx, source, std::string(sql));
  return Recordset::New(std::move(rows.data()));
}

class ClassInfo final : public vb::Implements<host::IClassInfo> {
 public:
  explicit ClassInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ClassInfo"; }

  Ref<host::IRecordset> Getdata(std::string_view, std::string_view sql) override {
    return FirstResultSet(ctx_, host::progid::kClassInfo, sql);
  }

 private:
  SessionContext& ctx_;
};

class ClassUpdate final : public vb::Implements<host::IClassUpdate> {
 public:
  explicit ClassUpdate(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ClassUpdate"; }

  void UpdateBatch(std::string_view, std::string_view sql) override {
    InTransaction(ctx_, [&] { Execute(ctx_, host::progid::kClassUpdate, std::string(sql)); });
  }

 private:
  SessionContext& ctx_;
};

// The account set of the session is the only database; the connection string only names it.
class AppConnection final : public vb::Implements<host::IAppConnection> {
 public:
  explicit AppConnection(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "AppConnection"; }

  Ref<host::IRecordset> Execute(std::string_view, std::string_view sql) override {
    return FirstResultSet(ctx_, host::progid::kAppConnection, sql);
  }

 private:
  SessionContext& ctx_;
};

class StringBuilder final : public vb::Implements<host::IStringBuilder> {
 public:
  std::string TypeName() const override { return "StringBuilder"; }
  void Append(std::string_view text) override { text_ += text; }
  std::string StringValue() const override { return text_; }

 private:
  std::string text_;
};

}  // namespace

Ref<vb::IObject> NewDictionaryComponent(SessionContext&) { return Dictionary::New(); }
Ref<vb::IObject> NewStringBuilder(SessionContext&) {
  return vb::MakeRef<vb::IObject, StringBuilder>();
}
Ref<vb::IObject> NewClassInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, ClassInfo>(ctx);
}
Ref<vb::IObject> NewClassUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, ClassUpdate>(ctx);
}
Ref<vb::IObject> NewAppConnection(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, AppConnection>(ctx);
}

}  // namespace zov::sim::components
