// The sales orders' server side: "ZOVM_XS_PlugIns.OrderUpdate" closes and re-opens an order, and
// the purchase module's order class "ZOV_CG_PlugIns.BillEvent_Order" refreshes how much of each
// order row is not yet on a purchase order.
#include <map>

#include "components/component_support.h"
#include "components/host_components.h"
#include "components/stored_bills.h"
#include "zov/host/components.h"
#include "zov/vb/format.h"

namespace zov::sim::components {

namespace {

constexpr long kSalesOrderClass = 1030001;

// Closing takes an audited order to status 2; re-opening takes a closed one back to 1. An order
// in another state is refused with a message.
class OrderUpdate final : public vb::Implements<host::IOrderUpdate> {
 public:
  explicit OrderUpdate(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "OrderUpdate"; }

  void CloseBill(std::string_view, long billId, bool reopen) override {
    constexpr const char* kSource = host::progid::kOrderUpdate;
    const auto order = LoadBill(ctx_, kSource, "t_XS_Order", billId);
    if (!order)
      Fail(ctx_, kSource, "CloseBill",
           "CloseBill: there is no sales order " + std::to_string(billId));
    const std::string label = "销售订单[" + order->billNo + "]";
    std::string refusal;
    if (!reopen && order->status == kClosed)
      refusal = label + "已经关闭。";
    else if (!reopen && order->status != kAudited)
      refusal = label + "尚未审核，不能关闭。";
    else if (reopen && order->status != kClosed)
      refusal = label + "没有关闭，不能反关闭。";
    if (!refusal.empty()) {
      ctx_.Ui().MsgBox(refusal, host::vbInformation, kInfoTitle);
      return;
    }
    InTransaction(ctx_, [&] {
      Execute(ctx_, kSource,
              "UPDATE t_XS_Order SET FStatus=" +
                  SqlNumber(static_cast<long>(reopen ? kAudited : kClosed)) +
                  " WHERE FID=" + SqlNumber(billId));
    });
  }

 private:
  SessionContext& ctx_;
};

// FUnLinkCGQty of each order row: its quantity less what purchase orders made from the row
// carry (in base units, turned into the row's unit); never below 0.
class PurchaseOrderLink final : public vb::Implements<host::IPurchaseOrderLink> {
 public:
  explicit PurchaseOrderLink(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "BillEvent_Order"; }

  void updateXSOrderFUnLinkCGQty(long& billId) override {
    constexpr const char* kSource = host::progid::kPurchaseOrder;
    const Rows rows = Query(
        ctx_, kSource,
        "SELECT FEntryID, FShowQty, FCoefficient, FUnLinkCGQty FROM t_XS_OrderEntry WHERE FID=" +
            SqlNumber(billId));
    const Rows linked = Query(ctx_, kSource,
                              "SELECT FEntryID_SRC, ISNULL(SUM(FQty),0) AS FQty FROM "
                              "t_cg_OrderEntry WHERE FClassID_SRC=" +
                                  SqlNumber(kSalesOrderClass) +
                                  " AND FID_SRC=" + SqlNumber(billId) + " GROUP BY FEntryID_SRC");
    std::map<long, double> onPurchase;
    for (std::size_t i = 0; i < linked.size(); ++i)
      onPurchase[linked.Long(i, "FEntryID_SRC")] = linked.Num(i, "FQty");
    std::vector<std::string> updates;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const long entry = rows.Long(i, "FEntryID");
      const double coefficient = rows.Num(i, "FCoefficient") > 0 ? rows.Num(i, "FCoefficient") : 1;
      double open = rows.Num(i, "FShowQty");
      if (auto it = onPurchase.find(entry); it != onPurchase.end())
        open -= it->second / coefficient;
      open = vb::Round(open, 10);
      if (open < 0) open = 0;
      if (open == rows.Num(i, "FUnLinkCGQty")) continue;
      updates.push_back("UPDATE t_XS_OrderEntry SET FUnLinkCGQty=" + SqlNumber(open) +
                        " WHERE FEntryID=" + SqlNumber(entry));
    }
    if (updates.empty()) return;
    InTransaction(ctx_, [&] {
      for (const auto& sql : updates) Execute(ctx_, kSource, sql);
    });
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewOrderUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, OrderUpdate>(ctx);
}
Ref<vb::IObject> NewPurchaseOrderLink(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, PurchaseOrderLink>(ctx);
}

}  // namespace zov::sim::components
