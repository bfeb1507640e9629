// The parts of a bill form that a plug-in reaches through the bill interface: the bill control,
// the grids and their columns, the form's controls and the host library object.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "zov/host/controls.h"

namespace zov::sim {

class BillCtl final : public vb::Implements<host::IBillCtl> {
 public:
  explicit BillCtl(Ref<BillForm> form) : form_(std::move(form)) {}
  std::string TypeName() const override { return "BillCtl"; }
  void LockCell(const Ref<host::IDictionary>& fieldInfo, long row, bool lock) override;
  void DoAction(const Ref<host::IDictionary>& fieldInfo, const Ref<host::IDictionary>& cell,
                long row) override;
  bool IsFieldLockRunTime(const Ref<host::IDictionary>& fieldInfo, long row) override;

 private:
  Ref<BillForm> form_;
};

class GridColumn final : public vb::Implements<host::IQORField> {
 public:
  GridColumn(Ref<BillForm> form, const FieldDef& field) : form_(std::move(form)), field_(field) {}
  std::string TypeName() const override { return "QORField"; }
  bool FieldLock() const override { return form_->Column(field_).locked; }
  void SetFieldLock(bool lock) override { form_->SetColumnLock(field_, lock); }
  bool Visible() const override { return form_->Column(field_).visible; }
  void SetVisible(bool visible) override { form_->SetColumnVisible(field_, visible); }
  std::string Caption() const override { return form_->Column(field_).caption; }
  void SetCaption(std::string_view caption) override { form_->SetColumnCaption(field_, caption); }

 private:
  Ref<BillForm> form_;
  const FieldDef& field_;
};

class BillGrid final : public vb::Implements<host::IBillGrid> {
 public:
  BillGrid(Ref<BillForm> form, int grid) : form_(std::move(form)), grid_(grid) {}
  std::string TypeName() const override { return "BillGrid"; }
  long GridMaxDataRowNum() const override { return grid_ == 0 ? 0 : form_->RowCount(grid_); }
  Ref<host::IQORField> QORFields(std::string_view key) override;

 private:
  Ref<BillForm> form_;
  int grid_;  // 0 the header
};

class Q7Lib final : public vb::Implements<host::IQ7Lib> {
 public:
  explicit Q7Lib(HostServices& services) : services_(services) {}
  std::string TypeName() const override { return "Q7Lib"; }
  Ref<host::IRecordset> Getdata(std::string_view sql) override;

 private:
  HostServices& services_;
};

// A control of the form: named, typed, with properties, a few methods and events the person's
// clicks raise. The entry grid ("fpSpread") answers its columns' widths, visibility and field
// keys from the form it belongs to.
class FormControl final : public vb::Implements<host::IControl> {
 public:
  FormControl(std::string typeName, std::string name, long index = 0)
      : typeName_(std::move(typeName)), name_(std::move(name)), index_(index) {}
  std::string TypeName() const override { return typeName_; }
  std::string Name() const override { return name_; }
  long Index() const override { return index_; }
  Variant Property(std::string_view name) const override;
  void SetProperty(std::string_view name, const Variant& value) override;
  Variant Invoke(std::string_view method, std::vector<Variant>& args) override;
  long Advise(const Ref<host::IControlEvents>& sink) override;
  void Unadvise(long cookie) override;

  // Raises `event` on the connected sinks (a click, a paint, a key press); returns the
  // parameters as the handlers left them. A handler's error reaches the caller.
  std::vector<Variant> Fire(std::string_view event, std::vector<Variant> params = {});
  bool HasSinks() const { return !sinks_.empty(); }
  // What the control printed (picture boxes); cleared by "Cls" and before each paint.
  const std::vector<std::string>& printed() const { return printed_; }
  // Whether the control must be painted again: it was added, shown, moved or resized since its
  // last paint (picture boxes).
  bool needsPaint() const { return needsPaint_; }
  // The paint is under way: what was printed goes, the control counts as painted.
  void BeginPaint() {
    printed_.clear();
    needsPaint_ = false;
  }
  // The grid's form, which answers its column methods; reset when the form ends.
  void SetOwner(BillForm* owner) { owner_ = owner; }
  // Column widths of a grid control, by 1-based column (overriding the form's).
  std::map<long, long> colWidths;
  // Calls of methods without an effect of their own ("SetFocus", "SetImportDataFlag"), in order.
  std::vector<std::string> calls;

 private:
  std::string typeName_, name_;
  long index_;
  std::map<std::string, Variant, std::less<>> props_;
  std::vector<std::pair<long, Ref<host::IControlEvents>>> sinks_;
  std::vector<std::string> printed_;
  BillForm* owner_ = nullptr;
  bool needsPaint_ = true;
  long nextCookie_ = 1;
};

class FormControls final : public vb::Implements<host::IControls> {
 public:
  explicit FormControls(Ref<BillForm> form, std::vector<Ref<FormControl>>& controls)
      : form_(std::move(form)), controls_(controls) {}
  std::string TypeName() const override { return "Controls"; }
  long Count() const override { return static_cast<long>(controls_.size()); }
  Ref<host::IControl> Item(long index) const override;
  Ref<host::IControl> Find(std::string_view name) const override;
  Ref<host::IControl> Add(std::string_view progId, std::string_view name) override;

 private:
  Ref<BillForm> form_;
  std::vector<Ref<FormControl>>& controls_;
};

}  // namespace zov::sim
