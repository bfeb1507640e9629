// The rules the second sales bill type reads otherwise than the sales bill, where a story cannot
// show them: the public serial-number check of a bill made from an online order, row costs under
// "StockOutCalCost", a stock change on a row from a source bill, and the rows a save leaves out.
#include "sale_fixture.h"
#include "zov/host/plugin.h"

namespace zov::testing {
namespace {

constexpr long kSaleChangeClass = 1030005;

class SaleChangeTest : public SaleTest {
 protected:
  SaleChangeTest() : SaleTest(kSaleChangeClass, "t_cc_Change") {}

  // An exchange bill of C001 with `item` on row 1 of each grid.
  sim::BillForm& Exchange(const char* item = "I001") {
    auto& form = NewBill();
    EXPECT_TRUE(form.Edit("FCustID", -1, "C001"));
    EXPECT_TRUE(form.Edit("FItemID", 1, item));
    EXPECT_TRUE(form.Edit("FItemID01", 1, item));
    return form;
  }

  // What the class's public check says of `form` (true: serial numbers wrong, reported).
  bool OnlineOrderSerialErrors(sim::BillForm& form) {
    auto checks = forms_.back().plugin.As<host::ISaleBillChecks>();
    EXPECT_TRUE(checks);
    Variant result;
    checks->checkBillSNErr(Variant(vb::Ref<host::IBillInterface>(&form)), result);
    return vb::CBool(result);
  }
};

TEST_F(SaleChangeTest, OnlineOrderSerialCheckReadsNoKind) {
  // A consignment settlement made from an online order, with a serial-managed row without serial
  // numbers, stored as the sales bill and as its second type.
  Start(
      {"insert into t_cc_Change (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FBillerID, "
       "FDate, FCustID, FInvoiceType, FExplanation) values (9, 'XSH000009', 1030005, 3003, 0, 1, "
       "'2026-12-05', 1001, 2020, N'由网上订单XSDD000005生成')",
       "insert into t_cc_ChangeEntry (FEntryID, lEntryID, FID, FGrid, FIndex, FItemID, "
       "FSCStockID, FUnitID, FShowUnitID, FCoefficient, FShowQty, FQty) values (90, 90, 9, 1, 1, "
       "108, 601, 25, 25, 1, 1, 1)",
       "update t_cc_stockbill set FBillTypeID=3003 where FBillNo='XSD000006'"});
  auto& exchange = Load("XSH000009");
  EXPECT_TRUE(OnlineOrderSerialErrors(exchange));  // the kind is not read

  forms_.push_back(session_->OpenBill(kSaleClass));
  auto& sale = *forms_.back().form;
  ASSERT_TRUE(sale.LoadBillByNumber("XSD000006"));
  EXPECT_FALSE(OnlineOrderSerialErrors(sale));  // the sales bill leaves settlements alone
}

TEST_F(SaleChangeTest, RowCostsAreFilledWhileTheStockOutOptionIsOn) {
  Start();
  auto& form = Exchange("I002");
  EXPECT_DOUBLE_EQ(Num(form, "FCostPrice", 1), 24);  // a 箱 of 24 bottles at 1.00
  EXPECT_DOUBLE_EQ(Num(form, "FCostPrice01", 1), 24);
}

TEST_F(SaleChangeTest, RowCostsStayEmptyWhileTheStockOutOptionIsOff) {
  Start({"update t_SystemProfile set FValue='0' where FCategory='IC' and FKey='StockOutCalCost'"});
  auto& form = Exchange("I002");
  EXPECT_EQ(Num(form, "FCostPrice", 1), 0);
  EXPECT_EQ(Num(form, "FCostPrice01", 1), 0);
  EXPECT_TRUE(form.Edit("FSCStockID01", 1, "CK02"));
  EXPECT_EQ(Num(form, "FCostPrice01", 1), 0);
}

TEST_F(SaleChangeTest, AStockChangePricesAnyRowWithoutPrice) {
  Start();
  auto& form = Exchange();
  // A row taken over from a source bill keeps no price on the sales bill's rules; here a stock
  // change looks it up whenever the row has none.
  form.SetFieldValue("FBillNo_SRC", "XSDD000001", 1);
  EXPECT_TRUE(form.Edit("FPrice", 1, 0));
  EXPECT_TRUE(form.Edit("FPrice01", 1, 0));
  EXPECT_TRUE(form.Edit("FSCStockID", 1, "CK02"));
  EXPECT_TRUE(form.Edit("FSCStockID01", 1, "CK02"));
  EXPECT_DOUBLE_EQ(Num(form, "FPrice", 1), 12.5);
  EXPECT_DOUBLE_EQ(Num(form, "FPrice01", 1), 12.5);
}

TEST_F(SaleChangeTest, ASaveDropsTheEmptyLastRowOfEachGrid) {
  Start();
  auto& form = Exchange();
  EXPECT_TRUE(form.Edit("FShowQty", 1, 2));
  form.AddRow(1);
  form.AddRow(2);
  ASSERT_TRUE(Save(form)) << (Messages().empty() ? "" : Messages().back());
  EXPECT_EQ(form.RowCount(1), 1);
  EXPECT_EQ(form.RowCount(2), 1);
  EXPECT_EQ(Sql("select count(*) from t_cc_ChangeEntry e inner join t_cc_Change h on "
                "h.FID=e.FID where h.FBillNo='XSH000004'"),
            "2");
}

}  // namespace
}  // namespace zov::testing
