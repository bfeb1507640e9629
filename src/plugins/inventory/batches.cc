#include "inventory/batches.h"

#include <initializer_list>
#include <map>
#include <vector>

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

constexpr std::string_view kNoDate = "1900-01-01";

// The statement text, assembled piece by piece with the host's string builder, each piece
// followed by a line break.
class Statement {
 public:
  explicit Statement(PluginContext& ctx)
      : builder_(ctx.host().CreateObject(host::progid::kStringBuilder).As<host::IStringBuilder>()) {
    if (!builder_)
      throw vb::Error(vb::kErrObjectRequired, "Object required", host::progid::kStringBuilder);
  }
  Statement& operator<<(std::string_view piece) {
    builder_->Append(std::string(piece) + "\r\n");
    return *this;
  }
  Statement& Lines(std::initializer_list<std::string_view> pieces) {
    for (auto p : pieces) *this << p;
    return *this;
  }
  std::string Text() const { return builder_->StringValue(); }

 private:
  Ref<host::IStringBuilder> builder_;
};

// The select lines of the record parts. Each part names its own date columns; the opening
// balances keep the expiry date in FdestDate, the assembly tables in FProDate and FExpDate.
constexpr std::string_view kOpeningSelect =
    "Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,"
    "Convert(DateTime,s.FKFDate,102) As FKFDate,";
constexpr std::string_view kOpeningDates =
    "IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,"
    "IsNull(a.FNumber,'') as FNumber ";
constexpr std::string_view kBillSelect =
    "Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,"
    "Convert(DateTime,s.FKFDate,102) As FKFDate,";
constexpr std::string_view kBillDates =
    "IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,"
    "IsNull(a.FNumber,'') as FNumber ";
constexpr std::string_view kAssemblySelect =
    "Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,"
    "Convert(DateTime,s.FProDate,102) As FKFDate,";
constexpr std::string_view kAssemblySelect2 =
    "Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,"
    "Convert(DateTime,s.FProDate,102) As FKFDate,";
constexpr std::string_view kAssemblyDates =
    "IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,"
    "IsNull(a.FNumber,'') as FNumber ";
constexpr std::string_view kUnionColumns =
    "Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID";
constexpr std::string_view kKindFilter =
    " AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND "
    "FBillTypeID = 2042))";
constexpr std::string_view kGroupColumns =
    "FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber";
// The stock-balance look-ups split the select after the shelf life.
constexpr std::string_view kStockSelect =
    "Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,"
    "Convert(DateTime,s.FKFDate,102) As FKFDate,IsNull(s.FKFPeriod,0) As FKFPeriod,";
constexpr std::string_view kStockDates =
    "   Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber ";
constexpr std::string_view kAuxJoin = "Left Join t_AuxItem a On s.FAuxPropID=a.FItemID ";

std::string Indent(int spaces, std::string_view text) {
  return std::string(static_cast<std::size_t>(spaces), ' ') + std::string(text);
}

// Conditions of one look-up: the item, the batch (its quotes doubled) and, for the stock lists,
// the stock.
struct Filter {
  std::string item;
  std::string batch;
  std::string stock;
  std::string bill;
  bool anyBatch = false;  // a stock list without batch: every batch of the stock

  // " And s.FBatchNo='...'" of the record parts; "" for a stock list without batch.
  std::string BatchOf(std::string_view alias) const {
    return anyBatch ? std::string() : " And " + std::string(alias) + "FBatchNo='" + batch + "'";
  }
};

// The four parts of the document look-ups (opening balances, stock bills, assembly and component
// rows), in the statement's first form or, with `second`, its second form. `perStock` narrows
// them to the filter's stock.
void DocumentParts(Statement& sql, const Filter& f, bool second, bool perStock) {
  const std::string where = Indent(second ? 4 : 3, "Where s.FItemID=") + f.item + f.BatchOf("s.");
  const std::string stock = perStock ? " And s.FStockID = " + f.stock : std::string();
  const std::string billRows =
      " And s.FID<>" + f.bill +
      (perStock ? " And (s.FSCStockID = " + f.stock + " OR s.FDCStockID = " + f.stock + ")" : "");
  if (!second) {
    sql << Indent(3, kOpeningSelect) << Indent(7, kOpeningDates) << "   From ICInvInitial s"
        << Indent(3, kAuxJoin) << where + stock;
    sql << "   Union All" << Indent(3, kBillSelect) << Indent(7, kBillDates)
        << Indent(3, "From T_CC_stockbillentry s ") + std::string(kAuxJoin) << where + billRows;
    sql << "   Union All" << Indent(3, kAssemblySelect) << Indent(7, kAssemblyDates)
        << Indent(3, "From t_CC_ZZCX_ENTRY s ") + std::string(kAuxJoin) << where + stock;
    sql << "   Union All" << Indent(3, kAssemblySelect) << Indent(7, kAssemblyDates)
        << Indent(3, "From t_CC_ZZCX_ENTRY2 s ") + std::string(kAuxJoin) << where + stock;
    sql << ") s Group By " + std::string(kGroupColumns);
    return;
  }
  // The second form opens the opening-balance part on the "From (" line and spells every
  // attribute column IsNull.
  sql << " From (" + std::string(kOpeningSelect) << kOpeningDates
      << Indent(4, "From ICInvInitial s ") + std::string(kAuxJoin) << where + stock;
  sql << " Union All " << kOpeningSelect << kBillDates
      << Indent(4, "From T_CC_stockbillentry s ") + std::string(kAuxJoin) << where + billRows;
  sql << " Union All" << kAssemblySelect2 << kAssemblyDates
      << Indent(4, "From t_CC_ZZCX_ENTRY s ") + std::string(kAuxJoin) << where + stock;
  sql << " Union All" << kAssemblySelect2 << kAssemblyDates
      << Indent(4, "From t_CC_ZZCX_ENTRY2 s ") + std::string(kAuxJoin) << where + stock;
  sql << ") s group by " + std::string(kGroupColumns);
}

Ref<host::IRecordset> Run(PluginContext& ctx, const Statement& sql) {
  return services::OpenRecordset(ctx, sql.Text());
}

// The opening balances and the audited bills that name the batch (opening stage open).
void OpeningAndAuditedBatch(Statement& sql, const Filter& f, long billId) {
  const std::string where = "     Where FItemID=" + f.item +
                            " And IsNull(FStatus,0)>-1 And IsNull(FBatchNo,'')='" + f.batch + "'" +
                            std::string(kKindFilter) +
                            (billId != 0 ? " And FID<>" + f.bill : std::string());
  sql.Lines({std::string(kBillSelect), Indent(3, kBillDates), "From (", "  Select * From ("});
  sql << "     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,"
         "Convert(DateTime,FdestDate,102) As FPeriodDate,FAuxPropID From ICInvInitial Where "
         "FItemID=" +
             f.item + " And IsNull(FBatchNo,'')='" + f.batch + "' ";
  sql << "     Union" << Indent(5, kUnionColumns) << "     From vw_cc_Receive_Audit" << where;
  sql << "     Union" << Indent(5, kUnionColumns) << "     From vw_cc_Send_Audit" << where;
  sql << "  )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID"
      << ") s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID "
      << "Where s.FItemID=" + f.item + " And s.FBatchNo='" + f.batch + "'";
}

// The stock balance and every bill that moved the batch.
void StockBalanceBatch(Statement& sql, const Filter& f, long stockId) {
  const std::string where = "       Where FItemID=" + f.item + " And IsNull(FBatchNo,'')='" +
                            f.batch + "'" + std::string(kKindFilter) + " " + " AND FID <> " +
                            f.bill;
  sql.Lines({kStockSelect, kStockDates, "From (", "   Select * From ("});
  sql << Indent(7, kUnionColumns) + " From T_CC_Stock_BatchNo Where FItemID=" + f.item +
             " And IsNull(FBatchNo,'')='" + f.batch + "' ";
  sql << "       Union" << Indent(7, kUnionColumns) << "       From vw_cc_Receive" << where;
  sql << "       Union" << Indent(7, kUnionColumns) << "       From vw_cc_Send" << where;
  sql << "   )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID"
      << ") s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID"
      << "Where s.FItemID=" + f.item + " And s.FBatchNo='" + f.batch + "'";
  if (stockId != 0) sql << " and s.FstockID=" + SqlId(stockId) + " ";
}

// Reads a field of the current record; Null stays Null.
Variant Field(const Ref<host::IRecordset>& rs, std::string_view name) { return rs->Value(name); }

long LongOf(const Variant& v) { return IsBlank(v) ? 0 : static_cast<long>(vb::CLng(v)); }

std::string CompareDate(const Variant& v) {
  const std::string text = DateText(v);
  return text.empty() ? std::string(kNoDate) : text;
}

bool SettleAux(PluginContext& ctx, long itemId, AuxCompare& aux, long& track) {
  track = TrackMethod(ctx, itemId);
  if (aux == AuxCompare::Undecided) aux = track == 0 ? AuxCompare::Compare : AuxCompare::Ignore;
  return aux == AuxCompare::Compare && track == 0;
}

void WriteUnlocked(host::IBillInterface& bill, std::string_view key, long row,
                   const Variant& value) {
  if (IsCellLocked(bill, key, row)) return;
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

}  // namespace

Ref<host::IRecordset> BuildBatchQuery(PluginContext& ctx, long itemId, std::string_view batchNo,
                                      long stockId, const BatchSources& sources, long billId) {
  return ResumeOr<Ref<host::IRecordset>>({}, [&]() -> Ref<host::IRecordset> {
    const Filter f{SqlId(itemId), services::SqlLiteral(batchNo, false), {}, SqlId(billId), false};
    Statement sql(ctx);
    if (!services::InitClosed(ctx) && sources.stockBalance && sources.documents &&
        !sources.secondForm) {
      OpeningAndAuditedBatch(sql, f, billId);
    } else if (sources.stockBalance) {
      StockBalanceBatch(sql, f, stockId);
    } else if (sources.documents) {
      sql << "Select " + std::string(kGroupColumns) << "From (";
      DocumentParts(sql, f, false, false);
    } else if (sources.secondForm) {
      sql << "    Select " + std::string(kGroupColumns) + " ";
      DocumentParts(sql, f, true, false);
    } else {
      return {};
    }
    return Run(ctx, sql);
  });
}

Ref<host::IRecordset> BuildStockBatchQuery(PluginContext& ctx, long itemId,
                                           std::string_view batchNo, long stockId,
                                           const BatchSources& sources, long billId) {
  return ResumeOr<Ref<host::IRecordset>>({}, [&]() -> Ref<host::IRecordset> {
    const Filter f{SqlId(itemId), services::SqlLiteral(batchNo, false), SqlId(stockId),
                   SqlId(billId), batchNo.empty()};
    Statement sql(ctx);
    if (!services::InitClosed(ctx) && sources.stockBalance && sources.documents &&
        !sources.secondForm) {
      sql.Lines(
          {std::string(kBillSelect), Indent(3, kOpeningDates), "From ICInvInitial   s", kAuxJoin});
      sql << "Where s.FItemID=" + f.item + " And IsNull(s.FBatchNo,'')<>''" + f.BatchOf("s.") +
                 " And s.FStockID = " + f.stock;
    } else if (sources.stockBalance) {
      const std::string where =
          Indent(
              7,
              "Where IsNull(FStatus,0)>0 And IsNull(FBatchNo,'')<>'' AND FClassTypeID<>1040008 ") +
          " And FStockID = " + f.stock;
      sql.Lines({kStockSelect, kStockDates, "From (", "   Select * From ("});
      sql << Indent(7, kUnionColumns) + " From T_CC_Stock Where IsNull(FBatchNo,'')<>'' " +
                 " And FStockID = " + f.stock;
      sql << "       Union" << Indent(7, kUnionColumns) << "       From vw_cc_Receive" << where;
      sql << "       Union" << Indent(7, kUnionColumns) << "       From vw_cc_Send" << where;
      sql << "   )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID"
          << ") s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID"
          << "Where s.FItemID=" + f.item + f.BatchOf("s.");
    } else if (sources.documents) {
      sql << "Select " + std::string(kGroupColumns) << "From (";
      DocumentParts(sql, f, false, true);
    } else if (sources.secondForm) {
      sql << "    Select " + std::string(kGroupColumns) + " ";
      DocumentParts(sql, f, true, true);
    } else {
      return {};
    }
    return Run(ctx, sql);
  });
}

bool CheckBatchInStock(PluginContext& ctx, const RowBatch& row, const BatchSources& sources,
                       long billId, AuxCompare& aux, StockBatch& stock, BatchError& error,
                       bool& auxCompared) {
  error = BatchError::None;
  stock = {};
  long track = 0;
  auxCompared = SettleAux(ctx, row.itemId, aux, track);
  auto rs = row.stockId != 0
                ? BuildStockBatchQuery(ctx, row.itemId, row.batchNo, row.stockId, sources, billId)
                : BuildBatchQuery(ctx, row.itemId, row.batchNo, 0, sources, billId);
  if (auxCompared && !services::InitClosed(ctx) && sources.documents && rs) {
    Resume([&] {
      const std::string filter = "FAuxPropID=" + SqlId(row.auxPropId);
      rs->SetFilter(filter);
      if (rs->RecordCount() == 0) rs->SetFilter("");
    });
  }
  const bool found = ResumeOr<bool>(false, [&] {
    if (!rs || rs->Eof()) return false;
    stock.auxPropId = LongOf(Field(rs, "FAuxPropID"));
    const Variant number = Field(rs, "FAuxProp");
    stock.auxNumber = number.IsNull() ? std::string() : vb::CStr(number);
    stock.kfDate = Field(rs, "FKFDate");
    stock.periodDate = Field(rs, "FPeriodDate");
    stock.kfPeriod = LongOf(Field(rs, "FKFPeriod"));
    return true;
  });
  if (!found) {
    error = BatchError::NotFound;
    return false;
  }
  const bool same = CompareDate(stock.kfDate) == CompareDate(row.kfDate) &&
                    CompareDate(stock.periodDate) == CompareDate(row.periodDate) &&
                    stock.kfPeriod == row.kfPeriod &&
                    (!auxCompared || stock.auxPropId == row.auxPropId);
  if (!same) error = BatchError::Differs;
  return same;
}

std::string BatchInStockMessage(long row, std::string_view batchNo, BatchError error,
                                bool auxCompared) {
  const std::string r = std::to_string(row);
  if (error == BatchError::NotFound)
    return "第" + r + "行商品的批号" + std::string(batchNo) + "在系统中不存在，请重新输入";
  if (error == BatchError::Differs)
    return "批号为" + std::string(batchNo) + "的第" + r + "行商品," +
           (auxCompared ? "与库存中同批号商品的辅助属性、生产日期、保质期或有效期至不同。"
                        : "与库存中同批号商品的生产日期、保质期或有效期至不同。");
  return {};
}

namespace {

// The stock check of one row; `stockId` 0 looks over every stock and refuses a batch the system
// does not know, a stock of its own lets such a batch pass.
bool CheckRowBatch(PluginContext& ctx, host::IBillInterface& bill, long row, long stockId,
                   const BatchSources& sources, long billId, AuxCompare& aux,
                   std::string_view cursorKey, const BatchRowKeys& keys) {
  RowBatch batch;
  const bool read = ResumeOr<bool>(false, [&] {
    batch.itemId = FieldId(bill, keys.item, row);
    batch.batchNo = FieldText(bill, keys.batchNo, row);
    batch.auxPropId = FieldId(bill, keys.auxProp, row);
    batch.kfDate = bill.GetFieldValue(keys.kfDate, row);
    batch.periodDate = bill.GetFieldValue(keys.periodDate, row);
    batch.kfPeriod = static_cast<long>(FieldNumber(bill, keys.kfPeriod, row));
    return true;
  });
  if (!read || batch.batchNo.empty()) return true;
  batch.stockId = stockId;

  StockBatch stock;
  BatchError error = BatchError::None;
  bool auxCompared = false;
  if (CheckBatchInStock(ctx, batch, sources, billId, aux, stock, error, auxCompared)) return true;
  if (error == BatchError::NotFound) {
    if (stockId != 0) return true;
    Resume([&] { bill.SetFieldValue(keys.batchNo, "", row); });
  } else {
    WriteUnlocked(bill, keys.auxProp, row, stock.auxPropId);
    WriteUnlocked(bill, keys.kfDate, row, stock.kfDate.IsNull() ? Variant("") : stock.kfDate);
    WriteUnlocked(bill, keys.periodDate, row,
                  stock.periodDate.IsNull() ? Variant("") : stock.periodDate);
    WriteUnlocked(bill, keys.kfPeriod, row, stock.kfPeriod);
  }
  // Against one stock the message names the attribute only when it differs as well.
  const bool namesAux = auxCompared && (stockId == 0 || stock.auxPropId != batch.auxPropId);
  Resume([&] {
    services::ShowMessage(ctx, BatchInStockMessage(row, batch.batchNo, error, namesAux));
  });
  Resume([&] { bill.SetActiveCell(cursorKey, row); });
  return false;
}

}  // namespace

bool CheckRowBatchInStock(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const BatchSources& sources, long billId, AuxCompare& aux,
                          const BatchRowKeys& keys) {
  return CheckRowBatch(ctx, bill, row, 0, sources, billId, aux, keys.batchNo, keys);
}

bool CheckRowBatchInStockOf(PluginContext& ctx, host::IBillInterface& bill, long row, long stockId,
                            const BatchSources& sources, long billId, AuxCompare& aux,
                            std::string_view cursorKey, const BatchRowKeys& keys) {
  return CheckRowBatch(ctx, bill, row, stockId, sources, billId, aux, cursorKey, keys);
}

bool CheckBatchConsistency(PluginContext& ctx, host::IBillInterface& bill, AuxCompare aux,
                           long* firstRow, const BatchRowKeys& keys) {
  struct Row {
    long item = 0;
    std::string batch, kfDate, periodDate, kfPeriod;
    long auxPropId = 0;
  };
  const long rows = GridRows(bill, keys.grid);
  if (rows < 2) return false;
  std::vector<Row> read(static_cast<std::size_t>(rows) + 1);
  for (long r = 1; r <= rows; ++r) {
    Resume([&] {
      Row& x = read[static_cast<std::size_t>(r)];
      x.item = FieldId(bill, keys.item, r);
      x.batch = FieldText(bill, keys.batchNo, r);
      x.kfDate = DateText(bill.GetFieldValue(keys.kfDate, r));
      x.periodDate = DateText(bill.GetFieldValue(keys.periodDate, r));
      x.kfPeriod = vb::Trim(FieldText(bill, keys.kfPeriod, r));
      x.auxPropId = FieldId(bill, keys.auxProp, r);
    });
  }
  std::map<long, bool> comparesAux;  // per item
  auto attributesCompared = [&](long item) {
    auto it = comparesAux.find(item);
    if (it != comparesAux.end()) return it->second;
    AuxCompare settled = aux;
    long track = 0;
    return comparesAux[item] = SettleAux(ctx, item, settled, track);
  };
  auto differs = [&](const Row& a, const Row& b) {
    return a.kfDate != b.kfDate || a.periodDate != b.periodDate || a.kfPeriod != b.kfPeriod ||
           (attributesCompared(a.item) && a.auxPropId != b.auxPropId);
  };
  // Rows of one item and batch form a group; the lines must agree with the group's first line.
  // Sameness is an equivalence, so a group holds a disagreeing pair exactly when some line differs
  // from its first, and the pair reported is the one met first row by row: the group whose first
  // line comes earliest, and in it the first line that differs. One pass instead of every pair.
  struct Group {
    long first = 0;
    long differing = 0;
  };
  std::map<std::pair<long, std::string>, Group> groups;
  for (long r = 1; r <= rows; ++r) {
    const Row& x = read[static_cast<std::size_t>(r)];
    auto [it, added] = groups.try_emplace({x.item, x.batch}, Group{r, 0});
    Group& g = it->second;
    if (!added && g.differing == 0 && differs(read[static_cast<std::size_t>(g.first)], x))
      g.differing = r;
  }
  const Group* earliest = nullptr;
  for (const auto& [key, g] : groups)
    if (g.differing != 0 && (!earliest || g.first < earliest->first)) earliest = &g;
  if (earliest) {
    if (firstRow) *firstRow = earliest->differing;
    return true;
  }
  return false;
}

std::string BatchConsistencyMessage(bool auxCompared, bool fullStop) {
  std::string text = auxCompared ? "同一批号商品的辅助属性、生产日期、保质期、有效期至必须完全一致"
                                 : "同一批号商品的生产日期、保质期、有效期至必须完全一致";
  return fullStop ? text + "。" : text;
}

bool CheckRowExpiry(PluginContext& ctx, host::IBillInterface& bill, long row,
                    std::string_view referenceDate, std::string& message) {
  message.clear();
  if (services::GLProfileValue(ctx, "IC", "IsPeriodDateExpireNotSale", "0") != "1") return true;
  if (ResumeOr<long>(0, [&] { return static_cast<long>(FieldNumber(bill, "FBillTypeID")); }) !=
      3010)
    return true;
  const long item = ResumeOr<long>(0, [&] { return FieldId(bill, "FItemID", row); });
  if (!IsShelfLifeManaged(ctx, item)) return true;
  const std::string expiry =
      ResumeOr<std::string>({}, [&] { return DateText(bill.GetFieldValue("FPeriodDate", row)); });
  const std::string reference =
      !referenceDate.empty()
          ? std::string(referenceDate)
          : ResumeOr<std::string>({}, [&] { return DateText(bill.GetFieldValue("FDate")); });
  if (expiry.empty() || !(expiry < reference)) return true;
  message = "第" + std::to_string(row) + "行有效期至已经超过期限，不能销售。";
  return false;
}

}  // namespace zov::plugins::inventory
