// A bill list of the substitute host: the stored bills of one class (or of one kind of the class,
// as the online orders), the person's selection, the list's tools, and audit, un-audit, copy,
// merge copy and delete of the selection.
#pragma once

#include <string>
#include <vector>

#include "bill/bill_template.h"
#include "bill/tool_bar.h"
#include "session/session_context.h"
#include "zov/host/list.h"

namespace zov::sim {

// Which bills a list shows and in what order, as the person asked.
struct ListQuery {
  std::string dateFrom, dateTo;  // "yyyy-MM-dd", both days included; empty: open-ended
  std::string billNo;            // a part of the bill number
  std::string partner;           // a part of the customer's (or supplier's) number or name
  int status = -1;               // -1 every state; 0 not audited, 1 audited, 2 closed
  std::string sortKey;           // a list column's key; empty: the order the bills were made
  bool descending = false;
};

// A text the person typed, to stand between "%" in a LIKE pattern: trimmed, quotes doubled,
// the pattern's own characters dropped.
std::string LikeText(std::string_view text);

class BillList final : public vb::Implements<host::IListInterface> {
 public:
  // `billType` other than 0 lists the bills of that kind (FBillTypeID) alone, and is the kind a
  // bill made in the list starts with.
  static Ref<BillList> New(std::shared_ptr<const BillTemplate> tmpl, SessionContext& session,
                           long billType = 0);
  std::string TypeName() const override { return "ListEvent"; }

  // --- the list interface ---
  long FID() override { return tmpl_->classTypeId; }
  long BillTypeID() override;
  std::vector<long> SelectedBillIDs() override { return selected_; }
  Ref<host::IDictionary> GetSelectedBillInfo() override;
  void SetToolProperty(std::string_view toolKey, std::string_view property,
                       const Variant& value) override;
  Ref<host::IActiveBar> ToolBar() override { return bar_; }
  void Refresh() override;
  long Advise(const Ref<host::IListEventSink>& sink) override;
  void Unadvise(long cookie) override;

  // --- the person's operations ---
  void InitializeMenus();
  // Which bills the list shows from the next Refresh on. Raises std::invalid_argument with the
  // person's message for a date that is no date.
  void SetQuery(ListQuery query);
  const ListQuery& query() const { return query_; }
  // The field that names the bill's partner (the customer, or the supplier), or nullptr.
  const FieldDef* PartnerField() const;
  // The bills shown: FID, FBillNo, FDate, FStatus and the template's list columns.
  const RecordData& rows() const { return rows_; }
  // Selects the bills numbered `billNos`; false when one of them is not in the list.
  bool Select(const std::vector<std::string>& billNos);
  // Selects the listed bills among `ids`; an ID of a bill the list does not show (another bill
  // class's, or none) is left out.
  void SelectIds(const std::vector<long>& ids);
  // A click on a list tool: MenuBarClick, then, unless cancelled, the host's own action.
  bool ClickTool(std::string_view key);
  bool AuditSelected(bool audit);
  bool DeleteSelected();
  // The bill data of a copy of the selected bill (`merge`: of all selected bills, rows after
  // rows), after the plug-in's copy event; empty when refused.
  Ref<host::IDictionary> CopySelected(bool merge);
  bool lastCancelled() const { return lastCancelled_; }
  const Ref<ActiveBar>& bar() const { return bar_; }
  const BillTemplate& tmpl() const { return *tmpl_; }
  // The kind the list holds alone; 0 for every bill of the class.
  long billType() const { return billType_; }

 private:
  // False, after its message, when another session edits one of the selected bills.
  bool CheckNoneHeld(const char* operation);
  // Audit or un-audit of a bill class whose server component does it (through the plug-in):
  // the host writes nothing of its own and shows what the component stored.
  bool AuditByComponent(bool audit);
  BillList(std::shared_ptr<const BillTemplate> tmpl, SessionContext& session, long billType);
  // The selected bills as an SQL condition on the head table: their IDs, of this list's class.
  std::string SelectedCondition() const;
  template <class Call>
  bool Raise(host::ListEvent event, Call&& call);

  std::shared_ptr<const BillTemplate> tmpl_;
  SessionContext& session_;
  long billType_ = 0;
  Ref<ActiveBar> bar_;
  RecordData rows_;
  ListQuery query_;
  std::vector<long> selected_;
  std::vector<std::pair<long, Ref<host::IListEventSink>>> sinks_;
  long nextCookie_ = 1;
  bool menusBuilt_ = false;
  bool lastCancelled_ = false;
  // Ends an operation the user or a plug-in refused: marks it cancelled and answers false.
  bool Refuse() {
    lastCancelled_ = true;
    return false;
  }
};

}  // namespace zov::sim
