// The kinds of the sales bill (FBillTypeID), which its second type also takes from the bills it
// is made from.
#pragma once

namespace zov::plugins::sales {

enum class SaleKind : long {
  kDelivery = 3001,          // 销售发货, the default of a new sales bill
  kReturn = 3002,            // a return made from a delivery
  kSettlement = 3003,        // 委托结算, made from a consignment bill
  kSettlementReturn = 3004,  // 委托结算退货单
};
// The two return kinds, whose payment is a refund.
constexpr bool IsReturnKind(SaleKind kind) {
  return kind == SaleKind::kReturn || kind == SaleKind::kSettlementReturn;
}
// The two consignment settlement kinds, whose item columns come from the source bill.
constexpr bool IsSettlementKind(SaleKind kind) {
  return kind == SaleKind::kSettlement || kind == SaleKind::kSettlementReturn;
}

}  // namespace zov::plugins::sales
