#include "components/stored_bills.h"

#include <array>

#include "zov/vb/strings.h"

namespace zov::sim::components {

std::string HeadTableOf(SessionContext& ctx, std::string_view source, long classTypeId) {
  const Rows rows =
      Query(ctx, source,
            "SELECT FHeadTable FROM t_BillClassType WHERE FClassTypeID=" + SqlNumber(classTypeId));
  return rows.empty() ? std::string() : rows.Text(0, "FHeadTable");
}

std::string KnownHeadTable(SessionContext& ctx, std::string_view source, std::string_view table) {
  const Rows rows = Query(ctx, source, "SELECT DISTINCT FHeadTable FROM t_BillClassType");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string known = rows.Text(i, "FHeadTable");
    if (!known.empty() && vb::StrComp(known, vb::Trim(table), vb::CompareMethod::Text) == 0)
      return known;
  }
  return {};
}

std::optional<StoredBill> LoadBill(SessionContext& ctx, std::string_view source,
                                   const std::string& table, long id) {
  if (id <= 0 || table.empty()) return std::nullopt;
  const Rows rows = Query(ctx, source, "SELECT * FROM " + table + " WHERE FID=" + SqlNumber(id));
  if (rows.empty()) return std::nullopt;
  StoredBill bill;
  bill.table = table;
  bill.id = id;
  auto number = [&](std::string_view column) {
    return rows.Column(column) < 0 ? 0 : rows.Long(0, column);
  };
  bill.classTypeId = number("FClassTypeID");
  bill.billTypeId = number("FBillTypeID");
  bill.status = number("FStatus");
  if (rows.Column("FBillNo") >= 0) bill.billNo = rows.Text(0, "FBillNo");
  return bill;
}

std::string FollowUpBillNo(SessionContext& ctx, std::string_view source, long classTypeId,
                           long id) {
  const std::string cls = SqlNumber(classTypeId);
  const std::string bill = SqlNumber(id);
  // Rows made from the bill, in the tables whose rows keep their source.
  constexpr std::array<std::pair<const char*, const char*>, 5> kEntryTables = {{
      {"t_cc_stockbillentry", "t_cc_stockbill"},
      {"t_XS_OrderEntry", "t_XS_Order"},
      {"t_cg_OrderEntry", "t_cg_Order"},
      {"t_cc_ChangeEntry", "t_cc_Change"},
      {"t_InvoiceEntry", "t_Invoice"},
  }};
  std::vector<std::string> queries;
  for (const auto& [entry, head] : kEntryTables)
    queries.push_back("SELECT TOP 1 h.FBillNo FROM " + std::string(entry) + " e INNER JOIN " +
                      head + " h ON h.FID=e.FID WHERE e.FClassID_SRC=" + cls +
                      " AND e.FID_SRC=" + bill);
  queries.push_back("SELECT TOP 1 FBillNo FROM t_cc_stockbill WHERE FClassID_SRC=" + cls +
                    " AND FID_SRC=" + bill);
  queries.push_back("SELECT TOP 1 FBillNo FROM t_RP_RBill WHERE FSourceClassTypeId=" + cls +
                    " AND FSourceBillId=" + bill);
  queries.push_back(
      "SELECT TOP 1 h.FBillNo FROM t_RP_CheckBillEntry1 e INNER JOIN t_RP_CheckBill h ON "
      "h.FID=e.FID "
      "WHERE e.FSourceClassTypeId=" +
      cls + " AND e.FSourceBillId=" + bill);
  queries.push_back(
      "SELECT TOP 1 FLogisticNumber AS FBillNo FROM t_LogisticBill WHERE FClassID_SRC=" + cls +
      " AND FID_SRC=" + bill);
  for (const auto& sql : queries) {
    const Rows rows = Query(ctx, source, sql);
    if (!rows.empty()) return rows.Text(0, "FBillNo");
  }
  return {};
}

std::optional<StoredBill> BillOfRecord(SessionContext& ctx, std::string_view source,
                                       std::string_view member, const Ref<IDictionary>& record) {
  const long id = ToLong(Field(record, {"BillInterID", "FID", "FInterID"}));
  const long classTypeId = ToLong(Field(record, {"ClassTypeID", "FClassTypeID"}));
  const std::string billNo = vb::Trim(ToText(Field(record, {"BillNo", "FBillNo"})));
  std::string table;
  if (const std::string named = vb::Trim(ToText(Field(record, {"HeadTableName"})));
      !named.empty()) {
    table = KnownHeadTable(ctx, source, named);
    if (table.empty())
      Fail(ctx, source, member, std::string(member) + ": unknown bill table " + named);
  } else if (classTypeId > 0) {
    table = HeadTableOf(ctx, source, classTypeId);
    if (table.empty())
      Fail(ctx, source, member,
           std::string(member) + ": unknown bill class " + std::to_string(classTypeId));
  } else if (!billNo.empty()) {
    // A list's record names only the bill: find its head by ID and number.
    const Rows tables = Query(ctx, source, "SELECT DISTINCT FHeadTable FROM t_BillClassType");
    for (std::size_t i = 0; i < tables.size() && table.empty(); ++i) {
      const std::string candidate = tables.Text(i, "FHeadTable");
      if (candidate.empty()) continue;
      const Rows hit = Query(ctx, source,
                             "SELECT FID FROM " + candidate + " WHERE FID=" + SqlNumber(id) +
                                 " AND FBillNo=" + SqlText(billNo));
      if (!hit.empty()) table = candidate;
    }
    if (table.empty()) return std::nullopt;
  } else {
    Fail(ctx, source, member,
         std::string(member) + ": the bill record names neither a bill class nor a bill number");
  }
  auto bill = LoadBill(ctx, source, table, id);
  if (bill && classTypeId > 0 && bill->classTypeId != 0 && bill->classTypeId != classTypeId)
    return std::nullopt;
  return bill;
}

}  // namespace zov::sim::components
