// The sales bill as a person uses it: a session of the substitute host on a fresh copy of the demo
// account set, with the plug-in library loaded by ProgID, bill forms and lists of class 1030002
// (or of its second type, 1030005, for a fixture that says so), and a scripted user interface that
// answers from a queue. Every test leaves the journal empty.
#pragma once

#include <gmock/gmock.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "host_fixture.h"
#include "list/bill_list.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"

namespace zov::testing {

using ::testing::ElementsAre;
using vb::Variant;

constexpr long kSaleClass = 1030002;

class SaleTest : public HostTest {
 protected:
  // The bill class the forms and lists are of, and its head table.
  explicit SaleTest(long classType = kSaleClass, std::string headTable = "t_cc_stockbill")
      : classType_(classType), headTable_(std::move(headTable)) {}

  // A session of `user`; the T-SQL batches of `setup` change the demo set before it logs in.
  // `bag` holds items of the process-wide bag the host publishes ("IndustryType").
  void Start(std::initializer_list<const char*> setup = {}, const std::string& user = "admin",
             std::map<std::string, Variant> bag = {}) {
    path_ = TestDatabases().freshCopy("demo");
    if (setup.size()) {
      auto connection = TestDatabases().connect(path_);
      for (const char* batch : setup) connection->Execute(batch);
    }
    sim::SessionOptions options;
    options.bag = std::move(bag);
    session_ = Open(user, nullptr, options);
  }

  // A new sales bill; `kind` other than 3001 is chosen in FBillTypeID as the person would.
  sim::BillForm& NewBill(long kind = 3001) {
    if (!session_) Start();
    forms_.push_back(session_->OpenBill(classType_));
    auto& form = *forms_.back().form;
    form.NewBill();
    if (kind != 3001) {
      EXPECT_TRUE(form.Edit("FBillTypeID", -1, kind));
    }
    return form;
  }

  // The stored bill `billNo`, viewed (or opened for editing as the list's modify command does).
  sim::BillForm& Load(const std::string& billNo, long state = host::kBillView) {
    if (!session_) Start();
    forms_.push_back(session_->OpenBill(classType_));
    auto& form = *forms_.back().form;
    EXPECT_TRUE(form.LoadBill(BillId(billNo), state)) << billNo;
    return form;
  }

  sim::BillList& List() {
    if (!session_) Start();
    lists_.push_back(session_->OpenList(classType_));
    return *lists_.back().list;
  }

  // A delivery of `customer` with rows of (item, quantity) typed in.
  sim::BillForm& Delivery(const char* customer,
                          std::initializer_list<std::pair<const char*, double>> rows,
                          long kind = 3001) {
    auto& form = NewBill(kind);
    EXPECT_TRUE(form.Edit("FCustID", -1, customer));
    long row = 0;
    for (const auto& [item, qty] : rows) {
      if (++row > form.RowCount()) form.AddRow();
      EXPECT_TRUE(form.Edit("FItemID", row, item));
      EXPECT_TRUE(form.Edit("FShowQty", row, qty));
    }
    return form;
  }

  void TearDown() override {
    for (const auto& entry :
         session_ ? session_->journal().entries() : std::vector<sim::JournalEntry>{})
      ADD_FAILURE() << entry.where << ": " << entry.error << " " << entry.text;
    forms_.clear();
    lists_.clear();
  }

  // The messages shown since the last call (the texts only).
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (std::size_t i = seen_; i < ui_->messages().size(); ++i)
      texts.push_back(ui_->messages()[i].text);
    seen_ = ui_->messages().size();
    return texts;
  }
  const sim::ShownMessage& LastMessage() const {
    static const sim::ShownMessage none;
    return ui_->messages().empty() ? none : ui_->messages().back();
  }
  const sim::ShownWindow& LastWindow() const {
    static const sim::ShownWindow none;
    return ui_->windows().empty() ? none : ui_->windows().back();
  }

  static double Num(const sim::BillForm& form, const char* key, long row = -1) {
    const Variant v = form.Value(key, row);
    if (v.IsEmpty() || v.IsNull()) return 0;
    return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
  }
  static std::string Day(const sim::BillForm& form, const char* key, long row = -1) {
    const Variant v = form.Value(key, row);
    if (v.IsEmpty() || v.IsNull() || (v.IsString() && v.AsString().empty())) return "";
    return vb::Format(vb::CDate(v), "yyyy-MM-dd");
  }
  static bool Locked(sim::BillForm& form, const char* key, long row = -1) {
    return form.IsCellLocked(*form.tmpl().FindAt(key, row), row);
  }
  static std::string Cursor(const sim::BillForm& form) {
    return form.ActiveKey() + "@" + std::to_string(form.ActiveRow());
  }
  template <class Form>
  static Variant Tool(Form& form, const char* key, const char* property) {
    auto tool = form.bar()->FindTool(key);
    return tool ? tool->Property(property) : Variant("(no tool)");
  }
  template <class Form>
  static bool Shown(Form& form, const char* key) {
    return vb::CBool(Tool(form, key, "Visible"));
  }
  template <class Form>
  static bool Enabled(Form& form, const char* key) {
    return vb::CBool(Tool(form, key, "Enabled"));
  }

  // The person saves with the save tool; the cursor starts away from every checked field.
  static bool Save(sim::BillForm& form) {
    form.SetActiveCell("FNote", -1);
    return form.ClickTool("mnuEditFileSave");
  }

  // The first row `sql` returns, each column as text (empty when no row).
  std::vector<std::string> Row(const std::string& sql) {
    const auto sets = session_->Run(sql);
    std::vector<std::string> texts;
    if (sets.empty() || sets[0].rows.empty()) return texts;
    for (const auto& v : sets[0].rows[0]) texts.push_back(v.IsNull() ? "" : vb::CStr(v));
    return texts;
  }
  std::string Sql(const std::string& sql) {
    const auto row = Row(sql);
    return row.empty() ? "" : row[0];
  }
  long BillId(const std::string& billNo) {
    return vb::CLng(
        Variant(Sql("SELECT FID FROM " + headTable_ + " WHERE FBillNo='" + billNo + "'")));
  }

  long classType_;
  std::string headTable_;
  std::unique_ptr<sim::Session> session_;
  std::vector<sim::OpenForm> forms_;
  std::vector<sim::Session::ListForm> lists_;
  std::size_t seen_ = 0;
};

}  // namespace zov::testing
