// The form of the sales bill by kind and state: which tools show and work, the captions, the order
// and item columns of each kind, the payment cells of stored bills, and a rejected bill's tools.
#include "sale_fixture.h"

namespace zov::testing {
namespace {

class SaleLayoutTest : public SaleTest {};

// Visibility of a tool on a new bill of kinds 3001, 3002, 3003 and 3004.
struct KindRow {
  const char* tool;
  bool shown[4];
};

TEST_F(SaleLayoutTest, ANewBillShowsTheToolsAndColumnsOfItsKind) {
  const KindRow table[] = {
      {"mnuRelate_1030001", {true, false, false, false}},
      {"mnuRelate_1030002", {false, true, false, true}},
      {"mnuRelate_1030003", {false, false, true, false}},
      {"mnuQueryPayIn", {true, true, true, true}},
      {"mnuQuerySaleOrder", {true, false, false, false}},
      {"mnuQueryGH", {true, false, false, false}},
      {"mnuQuerySaleReject", {true, false, false, false}},
      {"mnuQuerySale", {false, true, false, false}},
      {"mnuQueryConsign", {false, false, false, false}},
      {"mnuQueryConsignReject", {false, false, false, true}},
      {"mnuQueryConsignBal", {false, false, true, false}},
      {"mnuRelatePushBill_1050001", {true, true, true, true}},
      {"mnuRelatePushBill_3000001", {true, false, true, false}},
      {"mnuRelatePushBill_1030002", {true, false, true, false}},
      {"mnuRelatePushBill_2000001", {false, false, false, false}},  // no logistics before the audit
      {"mnuQueryLogisticList", {false, false, false, false}},
      {"mnuEditAddRow", {true, true, false, false}},
      {"mnuCopyRow", {true, true, false, false}},
      {"mnuReject", {false, false, false, false}},
      {"mnuEditCheck", {true, true, true, true}},
      {"mnuEditUnCheck", {false, false, false, false}},
  };
  for (int k = 0; k < 4; ++k) {
    const long kind = 3001 + k;
    SCOPED_TRACE("kind " + std::to_string(kind));
    auto& bill = NewBill(kind);
    for (const auto& row : table) EXPECT_EQ(Shown(bill, row.tool), row.shown[k]) << row.tool;

    // A new bill chooses source bills; it has nothing to query or to push yet.
    for (const char* tool : {"mnuRelate_1030001", "mnuRelate_1030002", "mnuRelate_1030003"})
      EXPECT_TRUE(Enabled(bill, tool)) << tool;
    for (const char* tool :
         {"mnuQueryPayIn", "mnuQuerySale", "mnuQueryConsignBal", "mnuRelatePushBill_1050001",
          "mnuRelatePushBill_3000001", "mnuRelatePushBill_1030002"})
      EXPECT_FALSE(Enabled(bill, tool)) << tool;
    EXPECT_EQ(Enabled(bill, "mnuEditCheckInfo"),
              kind == 3001 || kind == 3003);  // offsets on deliveries only
    EXPECT_EQ(Enabled(bill, "mnuEditCopy"), kind != 3004);
    EXPECT_EQ(Enabled(bill, "mnuImportGoods"), kind != 3004);

    const bool refund = kind == 3002 || kind == 3004;
    EXPECT_EQ(Tool(bill, "mnuQueryPayIn", "Caption"),
              Variant(refund ? "查询退款记录" : "查询收款记录"));
    EXPECT_EQ(bill.Caption("FCurPayAmount"), refund ? "本次退款:" : "本次收款:");

    // Order columns a kind has no use for, and the item columns a settlement takes over.
    EXPECT_FALSE(bill.IsVisible("FOrderQty"));
    EXPECT_EQ(bill.IsVisible("FRejectQty"), !refund);
    EXPECT_EQ(bill.IsVisible("FUnRejectQty"), kind == 3001);
    EXPECT_TRUE(bill.IsVisible("FTaxRate"));
    const bool settlement = kind == 3003 || kind == 3004;
    for (const char* key : {"FItemID", "FClientItemID", "FShowUnitID", "FSCStockID", "FBatchNo"})
      EXPECT_EQ(Locked(bill, key, 1), settlement) << key;
  }
}

TEST_F(SaleLayoutTest, StoredBillsShowTheToolsOfTheirState) {
  auto& open = Load("XSD000002");  // a delivery, not audited, nothing paid
  EXPECT_TRUE(Enabled(open, "mnuEditCheck"));
  EXPECT_FALSE(Shown(open, "mnuEditUnCheck"));
  EXPECT_FALSE(Enabled(open, "mnuRelateViewVoucher"));
  EXPECT_FALSE(Enabled(open, "mnuRelatePushBill_3000001"));  // no invoice before the audit
  EXPECT_TRUE(Enabled(open, "mnuRelatePushBill_1050001"));
  EXPECT_TRUE(Enabled(open, "mnuQueryPayIn"));
  EXPECT_FALSE(Enabled(open, "mnuRelate_1030001"));
  EXPECT_FALSE(Enabled(open, "mnuEditAutoSumAmt"));
  // Nothing paid: the payment may be entered, its style and account follow it.
  EXPECT_FALSE(Locked(open, "FCurPayAmount"));
  EXPECT_TRUE(Locked(open, "FBalanceStyle"));
  EXPECT_TRUE(Locked(open, "FAcctNo"));
  // Editing starts: the whole-bill receipt works again, source bills stay out of reach.
  ASSERT_TRUE(open.Edit("FNote", -1, "改价"));
  EXPECT_TRUE(Enabled(open, "mnuEditAutoSumAmt"));
  EXPECT_FALSE(Enabled(open, "mnuRelate_1030001"));
  EXPECT_EQ(Tool(open, "mnuRelatePushBill_1030002", "Description"), Variant("生成销售退货单"));

  auto& audited = Load("XSD000001");  // a delivery, audited, 5000 received
  EXPECT_FALSE(Shown(audited, "mnuEditCheck"));
  EXPECT_TRUE(Shown(audited, "mnuEditUnCheck"));
  EXPECT_TRUE(Enabled(audited, "mnuEditUnCheck"));
  EXPECT_TRUE(Enabled(audited, "mnuRelateViewVoucher"));
  EXPECT_TRUE(Enabled(audited, "mnuRelatePushBill_3000001"));
  EXPECT_TRUE(Shown(audited, "mnuRelatePushBill_2000001"));
  EXPECT_TRUE(Shown(audited, "mnuQueryLogisticList"));
  EXPECT_FALSE(Locked(audited, "FBalanceStyle"));
  EXPECT_FALSE(Locked(audited, "FAcctNo"));

  auto& refund = Load("XSD000004");  // an audited return, shown in its text colour
  EXPECT_FALSE(Shown(refund, "mnuRelatePushBill_2000001"));
  EXPECT_FALSE(Shown(refund, "mnuQueryLogisticList"));
  EXPECT_TRUE(Shown(refund, "mnuQuerySale"));
  EXPECT_EQ(vb::CLng(refund.entryCtlProperty("TextColor")), 255);
  auto& settled = Load("XSD000003");  // an audited consignment settlement has logistics
  EXPECT_TRUE(Shown(settled, "mnuRelatePushBill_2000001"));

  auto& editing = Load("XSD000002", host::kBillEdit);  // opened for editing from the list
  EXPECT_TRUE(Shown(editing, "mnuReject"));
  EXPECT_TRUE(Enabled(editing, "mnuEditCheck"));
  EXPECT_FALSE(Enabled(editing, "mnuRelate_1030001"));
  EXPECT_TRUE(Enabled(editing, "mnuQueryPayIn"));
  EXPECT_FALSE(Enabled(editing, "mnuRelatePushBill_1050001"));
  EXPECT_FALSE(Enabled(editing, "mnuEditCheckInfo"));
  EXPECT_FALSE(Shown(editing, "mnuRelatePushBill_2000001"));
}

TEST_F(SaleLayoutTest, ARejectedBillIsNeitherAuditedDeletedNorCopiedUntilItChanges) {
  auto& bill = Load("XSD000005");
  EXPECT_FALSE(Shown(bill, "mnuEditCheck"));
  EXPECT_FALSE(Shown(bill, "mnuEditFileDelete"));
  EXPECT_FALSE(Enabled(bill, "mnuEditCopy"));
  EXPECT_FALSE(bill.ClickTool("mnuEditFileDelete"));
  EXPECT_THAT(Messages(), ElementsAre("不能删除驳回状态的单据！"));
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_cc_stockbill WHERE FBillNo='XSD000005'"), "1");

  // Writing the reject state itself keeps the rejection and its note.
  ASSERT_TRUE(bill.Edit("FRejected", -1, 1));
  EXPECT_EQ(bill.Value("FRejectedNote"), Variant("客户要求改期发货"));
  // Any other change clears it.
  ASSERT_TRUE(bill.Edit("FNote", -1, "已改期"));
  EXPECT_EQ(Num(bill, "FRejected"), 0);
  EXPECT_EQ(bill.Value("FRejectedNote"), Variant(""));
  EXPECT_EQ(bill.Value("FRejectedTime"), Variant(""));
  ASSERT_TRUE(Save(bill));
  EXPECT_THAT(Row("SELECT FRejected, FRejectedNote FROM t_cc_stockbill WHERE FBillNo='XSD000005'"),
              ElementsAre("0", ""));
  EXPECT_TRUE(bill.ClickTool("mnuEditCheck"));
  EXPECT_THAT(Messages(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace zov::testing
