// The small events every class routes the same way: row deletion guarded by used serial
// numbers, the freight total kept in step after a deletion, the rights check a sales bill makes
// when it is created, and the grid a row event of the second sales bill type names.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "fake_host.h"

namespace zov::testing {
namespace {

constexpr const char* kSale = "{68F003F6-5FF5-45D1-A419-539071E56F8D}";
constexpr const char* kSaleChange = "{65D5A219-6CCE-41BC-A37B-E478729F6292}";
constexpr const char* kOrder = "{662A77AB-8510-4BD3-9AE2-D5BCECCB0A66}";
constexpr const char* kTempGJ = "{F425C804-853E-4D12-8A59-9A8E6420E7D1}";

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(ZOV_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    getClassObject_ =
        reinterpret_cast<host::DllGetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
    session_ = Ref<FakeHost>::Adopt(new FakeHost);
    bill_ = Ref<FakeBill>::Adopt(new FakeBill);
  }
  void TearDown() override {
    plugin_.reset();
    bill_.reset();
    session_.reset();
    if (handle_) dlclose(handle_);
  }

  // Creates the class and binds it to the test's bill form.
  void Open(const char* clsid) {
    const vb::Guid id = vb::Guid::Parse(clsid);
    void* out = nullptr;
    ASSERT_EQ(getClassObject_(&id, &host::IClassFactory::IID, &out), host::kS_OK);
    auto factory = Ref<host::IClassFactory>::Adopt(static_cast<host::IClassFactory*>(out));
    plugin_ = factory->CreateInstance(session_).As<host::IBillPlugin>();
    plugin_->Show(Variant(Ref<host::IBillInterface>(bill_)));
    ASSERT_TRUE(bill_->sink);
  }

  void PublishBag(long industryType) {
    session_->bag = NewDictionary();
    session_->bag->SetItem("IndustryType", industryType);
  }

  void* handle_ = nullptr;
  host::DllGetClassObjectFn getClassObject_ = nullptr;
  Ref<FakeHost> session_;
  Ref<FakeBill> bill_;
  Ref<host::IBillPlugin> plugin_;
};

TEST_F(Routing, RowWithSerialNumbersUsedElsewhereIsNotDeleted) {
  Open(kSale);
  bill_->rows = 2;
  bill_->SetFieldValue("FSerialNo", "SN-001,,0|SN-002,退回,1", 1);
  bill_->SetFieldValue("FSerialNo", "SN-003,,0", 2);

  bool cancel = false;
  bill_->sink->BeforeDeleteRow(Variant{}, 2, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(session_->ui->messages.empty());

  bill_->sink->BeforeDeleteRow(Variant{}, 1, cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(session_->ui->messages.size(), 1u);
  EXPECT_EQ(session_->ui->messages[0], "分录商品中存在已被其他单据使用的S/N号，不能删除！");
}

TEST_F(Routing, ClassWithoutTheHandlerIgnoresTheEvent) {
  Open(kOrder);  // the sales order does not guard row deletion
  bill_->rows = 1;
  bill_->SetFieldValue("FSerialNo", "SN-002,,1", 1);
  bool cancel = false;
  bill_->sink->BeforeDeleteRow(Variant{}, 1, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(session_->ui->messages.empty());
}

TEST_F(Routing, FreightTotalFollowsTheRemainingRowsOnlyInTheWeightIndustry) {
  Open(kTempGJ);
  bill_->rows = 2;
  bill_->SetFieldValue("FTranspotationCharges", 10.0, 1);
  bill_->SetFieldValue("FTranspotationCharges", 5.5, 2);
  bill_->SetFieldValue("FTranspotationCosts", 20.0, -1);

  // Without the host's bag the industry type is 0: the header stays as it was.
  bill_->sink->AfterDeleteRow(Variant{}, Variant{});
  EXPECT_EQ(bill_->Cell("FTranspotationCosts"), Variant(20.0));

  PublishBag(1);
  bill_->sink->AfterDeleteRow(Variant{}, Variant{});
  EXPECT_EQ(bill_->Cell("FTranspotationCosts"), Variant(15.5));
  EXPECT_TRUE(bill_->bar["mnuShareByQty.Visible"]);
  EXPECT_TRUE(bill_->bar["mnuShareByAmt.Enabled"]);

  // An audited bill keeps the share tools disabled.
  bill_->SetFieldValue("FCheckerID", 16394, -1);
  bill_->SetFieldValue("FTranspotationCharges", 4.5, 2);
  bill_->sink->AfterDeleteRow(Variant{}, Variant{});
  EXPECT_EQ(bill_->Cell("FTranspotationCosts"), Variant(14.5));
  EXPECT_FALSE(bill_->bar["mnuShareByAmt.Enabled"]);
}

TEST_F(Routing, SalesBillAsksForTheInvoiceAmountRightWhenCreated) {
  Open(kSale);
  ASSERT_EQ(session_->security->questions.size(), 1u);
  const auto& q = session_->security->questions[0];
  EXPECT_EQ(q.props, "UserID=16394;ConnectString={demo.db};");
  EXPECT_EQ(q.group, 15);
  EXPECT_EQ(q.object, 2010);
  EXPECT_EQ(q.right, 32);
  EXPECT_EQ(q.caller, "");
}

TEST_F(Routing, SecondSalesBillTypeGuardsTheDeletedRowOfTheGridTheHostNames) {
  bill_ = Ref<FakeBill>::Adopt(new FakeBill("BillEvent", 1030005));
  Open(kSaleChange);
  bill_->rows = 1;
  bill_->SetFieldValue("FSerialNo", "SN-001,,0", 1);
  bill_->SetFieldValue("FSerialNo01", "SN-002,,1", 1);
  bool cancel = false;
  bill_->sink->BeforeDeleteRow(Variant(1L), 1, cancel);
  EXPECT_FALSE(cancel);
  bill_->sink->BeforeDeleteRow(Variant(2L), 1, cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(session_->ui->messages,
            std::vector<std::string>{"分录商品中存在已被其他单据使用的S/N号，不能删除！"});
}

TEST_F(Routing, SecondSalesBillTypeKeepsTheTaxOfTheGridWhoseActionRan) {
  bill_ = Ref<FakeBill>::Adopt(new FakeBill("BillEvent", 1030005));
  Open(kSaleChange);
  bill_->rows = 1;
  for (const char* suffix : {"", "01"}) {
    const std::string s = suffix;
    bill_->SetFieldValue("FAmount" + s, 37.5, 1);
    bill_->SetFieldValue("FInTaxAmount" + s, 42.38, 1);
    bill_->SetFieldValue("FTaxAmount" + s, 4.875, 1);
  }
  // The second grid's "Calculate" (kind "FAction01") corrects that grid's tax only.
  bill_->sink->AfterDoAction2(Variant{}, Variant{}, Variant{}, "FAction01", "Calculate",
                              "FAmount01=FShowQty01*FPriceDiscount01", 1);
  EXPECT_EQ(bill_->Cell("FTaxAmount01", 1), Variant(4.88));
  EXPECT_EQ(bill_->Cell("FTaxAmount", 1), Variant(4.875));
  // A first-grid formula under the second grid's kind is not the first grid's action.
  bill_->SetFieldValue("FTaxAmount01", 4.875, 1);
  bill_->sink->AfterDoAction2(Variant{}, Variant{}, Variant{}, "FAction01", "Calculate",
                              "FAmount=FShowQty*FPriceDiscount", 1);
  EXPECT_EQ(bill_->Cell("FTaxAmount", 1), Variant(4.875));
  EXPECT_EQ(bill_->Cell("FTaxAmount01", 1), Variant(4.875));
  bill_->sink->AfterDoAction2(Variant{}, Variant{}, Variant{}, "FAction", "Calculate",
                              "FAmount=FShowQty*FPriceDiscount", 1);
  EXPECT_EQ(bill_->Cell("FTaxAmount", 1), Variant(4.88));
  EXPECT_EQ(bill_->Cell("FTaxAmount01", 1), Variant(4.875));
}

}  // namespace
}  // namespace zov::testing
