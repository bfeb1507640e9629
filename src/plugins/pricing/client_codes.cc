#include "pricing/client_codes.h"

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::pricing {

namespace {

std::string Id(long id) { return std::to_string(id); }

std::string TextOf(const Variant& v) {
  return v.IsNull() || v.IsEmpty() ? std::string() : vb::CStr(v);
}

double NumberOf(const Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return 0;
  return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
}

constexpr const char* kSlots[] = {"1", "2", "3"};

}  // namespace

void GetClientItemCode(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const ClientCodeKeys& keys) {
  if (row < 1) return;
  Resume([&] {
    const long item = FieldId(bill, keys.item, row);
    const long unit = FieldId(bill, keys.unit, row);
    const long customer = FieldId(bill, "FCustID");
    std::string code;
    auto rs =
        services::OpenRecordset(ctx, "select * from t_ItemPriceProfile where FItemID= " + Id(item) +
                                         " and FCustID= " + Id(customer));
    if (rs && !rs->Eof()) {
      for (const char* slot : kSlots) {
        if (NumberOf(rs->Value(std::string("FUnitID") + slot)) == unit) {
          code = TextOf(rs->Value(std::string("FClientGood") + slot));
          break;
        }
      }
    }
    bill.SetFieldValue(keys.code, code, row);
    if (auto cell = bill.GetDataFldbyKey(keys.code, row)) {
      cell->SetItem("FFLD", code);
      cell->SetItem("FDSP", code);
    }
  });
}

bool FindItemByClientCode(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const ClientCodeKeys& keys) {
  return ResumeOr<bool>(false, [&] {
    const std::string code = vb::Trim(FieldText(bill, keys.code, row));
    if (code.empty()) return false;
    const long customer = FieldId(bill, "FCustID");
    auto rs = services::OpenRecordset(
        ctx,
        "select a.*,b.FNumber "
        "from t_ItemPriceProfile a left join t_icitem b on a.FItemID=b.FItemID  where  FCustID= " +
            Id(customer) + " Order by b.FNumber");
    for (; rs && !rs->Eof(); rs->MoveNext()) {
      for (const char* slot : kSlots) {
        if (TextOf(rs->Value(std::string("FClientGood") + slot)) != code) continue;
        // The host resolves the item number to the item; the unit goes in by its ID.
        bill.SetFieldValue(vb::UCase(keys.item), TextOf(rs->Value("FNumber")), row);
        bill.SetFieldValue(
            keys.unit, static_cast<long>(NumberOf(rs->Value(std::string("FUnitID") + slot))), row);
        return true;
      }
    }
    return false;
  });
}

std::string GetUnitBarcode(PluginContext& ctx, long itemId, long unitId) {
  return services::FirstValue(ctx, "select FBarcode from vw_barcode where FItemID=" + Id(itemId) +
                                       " and FUnitID=" + Id(unitId));
}

}  // namespace zov::plugins::pricing
