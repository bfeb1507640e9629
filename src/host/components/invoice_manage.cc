// Invoicing, "ZOVInvoiceManage.InvoiceManage" and its server twin
// "ZOVMInvoiceManage.clsInvoiceManage": the invoice data set the library hands over is recorded
// as an invoice (t_Invoice, t_InvoiceEntry), its amounts are booked on the invoiced bills, and the
// data set is shown in the host's data window.
#include <fmt/format.h>

#include <map>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kInvoiceManage;
constexpr long kInvoiceClass = 3000001;

// The invoice type of the data set's "eType": 3 a VAT special invoice (2020), 2 an ordinary one
// (2021); a type code of the host passes as it is.
long InvoiceTypeOf(const Variant& eType) {
  const long type = ToLong(eType);
  if (type == 3) return 2020;
  if (type >= 2000) return type;
  return 2021;
}

struct InvoiceRow {
  long itemId = 0, unitId = 0;
  double qty = 0, price = 0, taxRate = 0, amount = 0, tax = 0, inTax = 0;
  long classSrc = 0, idSrc = 0, entrySrc = 0;
  std::string billNoSrc;
};

class InvoiceManage final : public vb::Implements<host::IInvoiceManage> {
 public:
  explicit InvoiceManage(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "InvoiceManage"; }

  bool SaleBillMakeTzeInvoice(std::string_view, const Ref<IDictionary>& invoice) override {
    if (!invoice)
      Fail(ctx_, kSource, "SaleBillMakeTzeInvoice", "SaleBillMakeTzeInvoice: no invoice data",
           vb::kErrObjectRequired);
    const auto entries = Records(Field(invoice, {"Entries"}).ObjectAs<IDictionary>());
    if (entries.empty())
      Fail(ctx_, kSource, "SaleBillMakeTzeInvoice",
           "SaleBillMakeTzeInvoice: the invoice data has no entries");
    std::vector<InvoiceRow> rows;
    double total = 0;
    for (const auto& e : entries) rows.push_back(RowOf(e.fields, total));

    std::string billNo;
    InTransaction(ctx_, [&] {
      const long id = NextId(ctx_, kSource, "t_Invoice");
      billNo = NextBillNo(id);
      Execute(ctx_, kSource,
              "INSERT INTO t_Invoice (FID, FBillNo, FClassTypeID, FInvoiceType, FStatus, FDate, "
              "FCustID, FAllAmount, FNote) "
              "VALUES (" +
                  SqlNumber(id) + "," + SqlText(billNo) + "," + SqlNumber(kInvoiceClass) + "," +
                  SqlNumber(InvoiceTypeOf(Field(invoice, {"eType", "FInvoiceType"}))) + ",1," +
                  SqlDate(vb::DateValue(Variant(ctx_.Now()))) + "," +
                  SqlNumber(ToLong(Field(invoice, {"BuyerID", "FCustID"}))) + "," +
                  SqlNumber(vb::Round(total, 2)) + "," +
                  SqlText(ToText(Field(invoice, {"FRemark", "Remark"}))) + ")");
      long entryId = NextId(ctx_, kSource, "t_InvoiceEntry", "FEntryID");
      std::map<long, double> invoicedPerBill;
      long index = 0;
      for (const auto& r : rows) {
        Execute(
            ctx_, kSource,
            "INSERT INTO t_InvoiceEntry (FEntryID, FID, FIndex, FItemID, FUnitID, FQty, FPrice, "
            "FTaxRate, FAmount, "
            "FTaxAmount, FInTaxAmount, FClassID_SRC, FID_SRC, FEntryID_SRC, FBillNo_SRC) VALUES (" +
                SqlNumber(entryId++) + "," + SqlNumber(id) + "," + SqlNumber(++index) + "," +
                SqlNumber(r.itemId) + "," + SqlNumber(r.unitId) + "," + SqlNumber(r.qty) + "," +
                SqlNumber(r.price) + "," + SqlNumber(r.taxRate) + "," + SqlNumber(r.amount) + "," +
                SqlNumber(r.tax) + "," + SqlNumber(r.inTax) + "," + SqlNumber(r.classSrc) + "," +
                SqlNumber(r.idSrc) + "," + SqlNumber(r.entrySrc) + "," + SqlText(r.billNoSrc) +
                ")");
        if (r.idSrc > 0 && (r.classSrc == 1030002 || r.classSrc == 1030003))
          invoicedPerBill[r.idSrc] += r.inTax;
      }
      for (const auto& [bill, amount] : invoicedPerBill)
        Execute(ctx_, kSource,
                "UPDATE t_cc_stockbill SET FInvoiceAmt=FInvoiceAmt+" +
                    SqlNumber(vb::Round(amount, 2)) + ", FNoInvoiceAmt=FNoInvoiceAmt-" +
                    SqlNumber(vb::Round(amount, 2)) + ", FInvoiceNO=" + SqlText(billNo) +
                    " WHERE FID=" + SqlNumber(bill));
    });
    ctx_.Ui().ShowData("电子发票 " + billNo, Variant(invoice));
    return true;
  }

  Ref<host::IRecordset> GetICItemInfo(std::string_view, std::string_view itemIds) override {
    std::vector<std::string> ids;
    for (const auto& piece : vb::Split(itemIds, ",")) {
      const std::string id = vb::Trim(piece);
      if (id.empty()) continue;
      if (!vb::IsNumeric(Variant(id)))
        Fail(ctx_, kSource, "GetICItemInfo", "GetICItemInfo: " + id + " is not an item ID",
             vb::kErrTypeMismatch);
      ids.push_back(SqlNumber(ToLong(Variant(id))));
    }
    Rows rows =
        Query(ctx_, kSource,
              "SELECT FItemID, FNumber, FName, FModel, FUnitID, FTaxRate, FTaxCategoryCode, "
              "FTaxCategoryName "
              "FROM t_ICItem WHERE " +
                  (ids.empty() ? std::string("1=0") : "FItemID In(" + vb::Join(ids, ",") + ")") +
                  " ORDER BY FNumber");
    return Recordset::New(std::move(rows.data()));
  }

  Variant GetSystemProfile(std::string_view category, std::string_view key,
                           const Variant& defaultValue) override {
    const Variant value = SystemProfileValue(ctx_, kSource, category, key);
    return value.IsNull() ? defaultValue : value;
  }

 private:
  // One invoice row of an entry record; the item and unit come from the invoiced bill row.
  InvoiceRow RowOf(const Ref<IDictionary>& e, double& total) {
    InvoiceRow r;
    r.qty = ToNumber(Field(e, {"Quantity"}));
    r.price = ToNumber(Field(e, {"Price"}));
    r.taxRate = ToNumber(Field(e, {"TaxRate"}));
    r.amount = ToNumber(Field(e, {"Amount"}));
    r.tax = ToNumber(Field(e, {"TaxAmount"}));
    r.inTax = ToNumber(Field(e, {"AmountIncTax"}));
    r.classSrc = ToLong(Field(e, {"FClassID_SRC"}));
    r.idSrc = ToLong(Field(e, {"FID_SRC"}));
    r.entrySrc = ToLong(Field(e, {"FEntryID_SRC"}));
    r.billNoSrc = ToText(Field(e, {"FBillNo_SRC"}));
    r.itemId = ToLong(Field(e, {"FItemID", "ItemID"}));
    r.unitId = ToLong(Field(e, {"FUnitID", "UnitID"}));
    if (r.entrySrc > 0 && (r.itemId == 0 || r.unitId == 0)) {
      const Rows src =
          Query(ctx_, kSource,
                "SELECT FItemID, FShowUnitID FROM t_cc_stockbillentry WHERE FEntryID=" +
                    SqlNumber(r.entrySrc));
      if (!src.empty()) {
        if (r.itemId == 0) r.itemId = src.Long(0, "FItemID");
        if (r.unitId == 0) r.unitId = src.Long(0, "FShowUnitID");
      }
    }
    total += r.inTax;
    return r;
  }

  // The next invoice number by the host's numbering rule of invoices, which it advances.
  std::string NextBillNo(long id) {
    const Rows rule =
        Query(ctx_, kSource,
              "SELECT FPrefix, FNextNumber, FWidth FROM t_BillNoRule WHERE FClassTypeID=" +
                  SqlNumber(kInvoiceClass));
    if (rule.empty()) return fmt::format("FP{:06}", id);
    const long next = rule.Long(0, "FNextNumber");
    const int width = static_cast<int>(rule.Long(0, "FWidth"));
    Execute(ctx_, kSource,
            "UPDATE t_BillNoRule SET FNextNumber=FNextNumber+1 WHERE FClassTypeID=" +
                SqlNumber(kInvoiceClass));
    return rule.Text(0, "FPrefix") + fmt::format("{:0{}}", next, width);
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewInvoiceManage(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, InvoiceManage>(ctx);
}

}  // namespace zov::sim::components
