#include "calc/units.h"

#include "frame/resume.h"
#include "services/database.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::plugins::calc {

namespace {

// t_Stock.FTypeID of a virtual or gift stock.
constexpr double kVirtualStockType = 502;

std::string Id(long id) { return std::to_string(id); }

Ref<host::IBillCtl> Control(host::IBillInterface& bill) {
  auto ctl = bill.BillCtl();
  if (!ctl)
    throw vb::Error(vb::kErrObjectVariableNotSet, "Object variable or With block variable not set",
                    "BillCtl");
  return ctl;
}

double NumberOr(const Variant& v, double fallback) {
  if (v.IsNull() || v.IsEmpty()) return fallback;
  return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
}

bool Filled(const Variant& v) { return !v.IsNull() && !v.IsEmpty() && !vb::CStr(v).empty(); }

bool TakeUnit(const Ref<host::IRecordset>& rs, RowUnit& unit, bool needNumber) {
  if (!rs || rs->Eof()) return false;
  const Variant id = rs->Value(0L), number = rs->Value(1L);
  if (needNumber && (!Filled(id) || !Filled(number))) return false;
  unit.id = static_cast<long>(NumberOr(id, 0));
  unit.number = number.IsNull() ? std::string() : vb::CStr(number);
  unit.name = rs->Value(2L).IsNull() ? std::string() : vb::CStr(rs->Value(2L));
  unit.coefficient = NumberOr(rs->Value(3L), 0);
  unit.barcode = rs->Value(4L).IsNull() ? std::string() : vb::CStr(rs->Value(4L));
  unit.srcItemId = static_cast<long>(NumberOr(rs->Value(5L), 0));
  return true;
}

}  // namespace

bool IsVirtualStock(PluginContext& ctx, long stockId) {
  return ResumeOr<bool>(false, [&] {
    auto rs =
        services::OpenRecordset(ctx, "Select FTypeID From t_Stock Where FItemID=" + Id(stockId));
    return rs && !rs->Eof() && NumberOr(rs->Value(0L), 0) == kVirtualStockType;
  });
}

bool IsGCItem(PluginContext& ctx, long itemId) {
  return ResumeOr<bool>(false, [&] {
    auto rs = services::OpenRecordset(
        ctx, "select FIsGC from t_ICItem where FItemID='" + Id(itemId) + "'");
    if (!rs || rs->Eof()) return false;
    const Variant v = rs->Value(0L);
    return v.IsNull() ? true : vb::CBool(v);
  });
}

double GetUnitCoefficient(PluginContext& ctx, long itemId, long unitId) {
  return ResumeOr<double>(0, [&] {
    auto rs = services::OpenRecordset(ctx, "select FCoefficient from vw_barcode where FItemID=" +
                                               Id(itemId) + " and FUnitID=" + Id(unitId));
    return rs && !rs->Eof() ? NumberOr(rs->Value(0L), 0) : 0.0;
  });
}

double GetItemSecCoefficient(PluginContext& ctx, long itemId, double rowCoefficient) {
  if (rowCoefficient == 0) return 0;
  return ResumeOr<double>(0, [&] {
    auto rs = services::OpenRecordset(
        ctx, "select FSecCoefficient from T_ICItem where FItemID=" + Id(itemId));
    if (!rs || rs->Eof()) return 0.0;
    return NumberOr(rs->Value(0L), 0) / rowCoefficient;
  });
}

long GetBarcodeUnit(PluginContext& ctx, long itemId, long entryNo) {
  return ResumeOr<long>(0, [&] {
    auto rs =
        services::OpenRecordset(ctx, "select FUnitID from t_barcode where FItemID=" + Id(itemId) +
                                         " and FEntryNo=" + Id(entryNo));
    return rs && !rs->Eof() ? static_cast<long>(NumberOr(rs->Value(0L), 0)) : 0L;
  });
}

bool GetDefaultUnit(PluginContext& ctx, long partnerId, long itemId, std::string_view mode,
                    RowUnit& unit) {
  const std::string item = Id(itemId);
  auto first = [&](const std::string& sql, bool needNumber) {
    return ResumeOr<bool>(
        false, [&] { return TakeUnit(services::OpenRecordset(ctx, sql), unit, needNumber); });
  };
  if (first("select b.FItemID as FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId "
            "from vw_Unit b "
            "where b.FIsDefaultUnit = 1 and b.FSrcItemId = " +
                item,
            true))
    return true;
  const std::string lastPrice =
      "select a.FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from "
      "t_LatestPrice a left join "
      "vw_Unit b on a.FItemID=b.FSrcItemId and a.FUnitID=b.FItemID where a.FIsLast=1 and ";
  if (mode == "FSupplyID" && partnerId != 0) {
    if (first(lastPrice + "a.FSupplyID=" + Id(partnerId) + " and a.FItemID=" + item, false))
      return true;
  } else if (mode == "FCustID" && partnerId != 0) {
    if (first(lastPrice + "a.FCustID=" + Id(partnerId) + " and a.FItemID=" + item, false))
      return true;
  } else if (mode == "FOther") {
    if (first(lastPrice + "a.FCustID=0 and a.FSupplyID=0 and a.FItemID=" + item, false))
      return true;
  }
  return first(
      "select FItemID,FNumber,FName,FCoefficient,FBarCode,FSrcItemId from vw_Unit where "
      "FIsMainUnit=1 and "
      "FSrcItemId=" +
          item + " order by FOrder desc ",
      false);
}

void PutRowUnit(host::IBillInterface& bill, long row, const RowUnit& unit, const RowKeys& keys) {
  Resume([&] {
    auto cell = bill.GetDataFldbyKey(keys.showUnit, row);
    if (!cell) return;
    cell->SetItem("FFLD", unit.id);
    cell->SetItem("FFND", unit.number);
    cell->SetItem("FDSP", unit.name);
    cell->SetItem("FCoefficient", unit.coefficient);
    cell->SetItem("FBarCode", unit.barcode);
    cell->SetItem("FSrcItemId", unit.srcItemId);
  });
  SetFieldWithAction(bill, keys.showUnit, unit.id, row, false);
}

void SetFieldWithAction(host::IBillInterface& bill, std::string_view key, const Variant& value,
                        long row, bool markModified) {
  Resume([&] {
    auto info = bill.GetFieldInfoByKey(key);
    if (!info) return;
    auto cell = bill.GetDataFld(info, row);
    if (!cell) return;
    cell->SetItem("FFLD", value);
    if (markModified) cell->SetItem("FModify", 1);
    Control(bill)->DoAction(info, cell, row);
  });
}

void LockField(host::IBillInterface& bill, std::string_view key, bool lock, long row) {
  if (key.empty()) return;
  Resume([&] {
    if (auto info = bill.GetFieldInfoByKey(key)) Control(bill)->LockCell(info, row, lock);
  });
}

void WriteField(host::IBillInterface& bill, std::string_view key, const Variant& value, long row,
                WriteMode mode) {
  switch (mode) {
    case WriteMode::kSet:
      Resume([&] { bill.SetFieldValue(key, value, row); });
      return;
    case WriteMode::kAct:
      SetFieldWithAction(bill, key, value, row, true);
      return;
    case WriteMode::kActUnmarked:
      SetFieldWithAction(bill, key, value, row, false);
      return;
  }
}

}  // namespace zov::plugins::calc
