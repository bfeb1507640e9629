// The host's business components against a fresh copy of the demo account set, as the library
// reaches them: created by ProgID for a session, called through their interfaces.
#include "zov/host/components.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "com/dictionary.h"
#include "data/database.h"
#include "session/scripted_ui.h"
#include "session/session_context.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"

namespace zov::sim {
namespace {

using ::testing::HasSubstr;
using vb::Ref;
using vb::Variant;

// --- a session over the demo account set
// -----------------------------------------------------------

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The demo account set, built once per test program and removed at its end; every test works
// on its own copy.
const std::string& DemoTemplate() {
  static const std::string* path = [] {
    const auto file = std::filesystem::temp_directory_path() /
                      ("zov-components-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(file);
    {
      auto db = data::Database::Open(file.string());
      auto s = db->NewSession();
      s->ExecuteScript(ReadFile(std::string(ZOV_SCHEMA_DIR) + "/schema.sql"), data::Atomic::Yes);
      s->ExecuteScript(ReadFile(std::string(ZOV_SCHEMA_DIR) + "/demo.sql"), data::Atomic::Yes);
    }
    auto* kept = new std::string(file.string());  // outlives the exit handler below
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove(DemoTemplate(), ec);
    });
    return kept;
  }();
  return *path;
}

class TestSession final : public SessionContext {
 public:
  TestSession(data::Session& db, Ref<ScriptedUi> ui)
      : db_(db), ui_(std::move(ui)), bag_(Dictionary::New()) {}

  std::vector<RecordData> Run(std::string_view sql) override {
    try {
      std::vector<RecordData> out;
      for (auto& set : db_.Execute(sql).resultSets) {
        RecordData data;
        for (const auto& c : set.columns) data.columns.push_back({c.name, c.type});
        data.rows = std::move(set.rows);
        out.push_back(std::move(data));
      }
      return out;
    } catch (const std::exception& e) {
      journal.push_back("sql: " + std::string(e.what()));
      throw std::runtime_error(e.what());
    }
  }
  void Begin() override { db_.Begin(); }
  void Commit() override { db_.Commit(); }
  void Rollback() override { db_.Rollback(); }
  void JournalException(std::string_view where, std::string_view what) override {
    journal.push_back(std::string(where) + ": " + std::string(what));
  }
  host::IHostUi& Ui() override { return *ui_; }
  long UserId() override { return user; }
  vb::Date Now() override { return vb::DateFromParts({2026, 12, 5, 10, 0, 0}); }
  const BillTemplate* TemplateOf(long) override { return nullptr; }
  std::string PropsString() override {
    return "UserID=" + std::to_string(user) + ";UserName=" + userName +
           ";AcctID=1;AcctName=演示账套;ConnectString={demo.db};";
  }
  std::string UserNumber() override { return "user" + std::to_string(user); }
  std::string UserName() override { return userName; }
  std::string SessionKey() override { return "test/4242/1"; }
  std::uint32_t ProcessId() override { return 4242; }
  Ref<host::IDictionary> Bag() override { return bag_; }
  Ref<vb::IObject> CreateObject(std::string_view progId) override {
    auto it = HostComponents().find(progId);
    if (it == HostComponents().end())
      throw vb::Error(429, "ActiveX component can't create object", std::string(progId));
    return it->second(*this);
  }

  long user = 1;
  std::string userName = "系统管理员";
  std::vector<std::string> journal;

 private:
  data::Session& db_;
  Ref<ScriptedUi> ui_;
  Ref<host::IDictionary> bag_;
};

class ComponentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("zov-components-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db"))
                .string();
    std::filesystem::copy_file(DemoTemplate(), path_,
                               std::filesystem::copy_options::overwrite_existing);
    db_ = data::Database::Open(path_);
    dbSession_ = db_->NewSession();
    ui_ = ScriptedUi::New();
    ctx_ = std::make_unique<TestSession>(*dbSession_, ui_);
  }
  void TearDown() override {
    ctx_.reset();
    dbSession_.reset();
    db_.reset();
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      std::filesystem::remove(path_ + suffix, ec);
  }

  template <class I>
  Ref<I> Make(std::string_view progId) {
    auto object = ctx_->CreateObject(progId).As<I>();
    EXPECT_TRUE(object) << progId;
    return object;
  }
  void As(long user) { ctx_->user = user; }
  std::string Props() { return ctx_->PropsString(); }
  void Sql(const std::string& sql) { dbSession_->Execute(sql); }
  Variant Scalar(const std::string& sql) {
    auto r = dbSession_->Execute(sql);
    if (r.resultSets.empty() || r.resultSets[0].rows.empty()) return {};
    return r.resultSets[0].rows[0][0];
  }
  double Number(const std::string& sql) { return vb::CDbl(Scalar(sql)); }

  // A record of the library's kind: a dictionary of named values.
  static Ref<host::IDictionary> Rec(std::initializer_list<std::pair<const char*, Variant>> items) {
    auto d = Dictionary::New();
    for (const auto& [k, v] : items) d->SetItem(Variant(k), v);
    return d;
  }
  // A collection keyed 1 .. n.
  static Ref<host::IDictionary> List(std::initializer_list<Ref<host::IDictionary>> records) {
    auto d = Dictionary::New();
    long i = 0;
    for (const auto& r : records) d->SetItem(Variant(++i), Variant(r));
    return d;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& m : ui_->messages()) out.push_back(m.text);
    return out;
  }
  const ShownWindow& LastWindow() const { return ui_->windows().back(); }

  std::string path_;
  std::shared_ptr<data::Database> db_;
  std::unique_ptr<data::Session> dbSession_;
  Ref<ScriptedUi> ui_;
  std::unique_ptr<TestSession> ctx_;
};

// --- login ---------------------------------------------------------------------------------------

TEST_F(ComponentsTest, LoginValuesAnswerOnlyTheSessionsProcess) {
  As(2);
  ctx_->userName = "王小明";
  ctx_->Bag()->SetItem(Variant("IndustryType"), Variant(1));
  auto cache = Make<host::ICacheFacade>(host::progid::kCacheFacade);
  EXPECT_EQ(cache->GetItem(4242, "IsOuterLogin"), Variant(0));
  EXPECT_EQ(cache->GetItem(4242, "UserID"), Variant(2));
  EXPECT_EQ(cache->GetItem(4242, "UserName"), Variant("王小明"));
  EXPECT_EQ(cache->GetItem(4242, "AcctName"), Variant("演示账套"));
  EXPECT_TRUE(cache->GetItem(4243, "UserID").IsEmpty());
  EXPECT_TRUE(cache->GetItem(4242, "ConnectString").IsEmpty());  // not a login value

  auto share = Make<host::IShareProps>(host::progid::kShareProps);
  EXPECT_EQ(share->GetProperty(4242, "PropsString"), Variant(Props()));
  EXPECT_EQ(share->GetProperty(4242, "ConnectString"), Variant("demo.db"));
  EXPECT_EQ(share->GetProperty(4242, "IndustryType"), Variant(1));
  EXPECT_TRUE(share->GetProperty(7, "PropsString").IsEmpty());
  EXPECT_TRUE(share->GetProperty(4242, "NoSuchKey").IsEmpty());

  EXPECT_EQ(UserIdOf("a=1; UserID = 7 ;b=2"), 7);
  EXPECT_EQ(UserIdOf("ConnectString={x;UserID=9};UserID=3"), 3);
  EXPECT_EQ(UserIdOf("UserName=x"), 0);
  EXPECT_EQ(UserIdOf("UserID=abc"), 0);
}

// --- rights and profiles
// ---------------------------------------------------------------------------

TEST_F(ComponentsTest, RightsFollowGroupObjectAndBitAndTheAdministratorHoldsAll) {
  auto security = Make<host::ISecurityInfo>(host::progid::kSecurityInfo);
  auto check = [&](long user, long group, long object, long right) {
    return security->AccessCheck("UserID=" + std::to_string(user), group, object, right, true,
                                 "ZOVMain.MDIMain");
  };
  EXPECT_TRUE(check(2, 12, 100, 1));
  EXPECT_FALSE(check(2, 12, 100, 2));   // another bit of the same object
  EXPECT_FALSE(check(2, 12, 300, 1));   // another object of the group
  EXPECT_FALSE(check(2, 15, 900, 32));  // no grant in the group
  EXPECT_TRUE(check(3, 15, 900, 32));   // a grant on object 0 covers the group
  EXPECT_TRUE(check(3, 14, 300, 4));
  EXPECT_FALSE(check(3, 14, 300, 1));
  EXPECT_TRUE(check(1, 99, 7, 1024));   // administrator
  EXPECT_FALSE(check(99, 12, 100, 1));  // no such user
  Sql("UPDATE t_User SET FForbidden=1 WHERE FUserID=2");
  EXPECT_FALSE(check(2, 12, 100, 1));
  EXPECT_FALSE(security->AccessCheck("UserName=x", 12, 100, 1, true, ""));

  EXPECT_EQ(security->NeedAutorized("UserID=4"), Variant(true));
  EXPECT_EQ(security->NeedAutorized("UserID=2"), Variant(false));
  EXPECT_TRUE(ctx_->journal.empty());
  EXPECT_THROW(check(2, 12, 100, 0), vb::Error);
  EXPECT_EQ(ctx_->journal.size(), 1u);
}

TEST_F(ComponentsTest, SystemProfilesReadTheAccountSetWithTheirDefaults) {
  auto profile = Make<host::IProfileService>(host::progid::kSystemProfile);
  EXPECT_EQ(profile->GetProfile(Props(), "IC", "QuantityDigitCount"), Variant("2"));
  EXPECT_EQ(profile->GetProfile(Props(), "ic", "quantitydigitcount"), Variant("2"));
  EXPECT_TRUE(profile->GetProfile(Props(), "IC", "NoSuchKey").IsNull());

  // The GL profile is a copy of the account set's settings until it is refreshed.
  auto data = Make<host::IGLData>(host::progid::kGLData);
  auto gl = data->SystemProfile();
  EXPECT_EQ(gl, data->SystemProfile());
  EXPECT_EQ(gl->GetSystemProfile("IC", "XSPriceLimitType", "9"), Variant("0"));
  EXPECT_EQ(gl->GetSystemProfile("IC", "NoSuchKey", "9"), Variant("9"));
  Sql("UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND FKey='XSPriceLimitType'");
  EXPECT_EQ(gl->GetSystemProfile("IC", "XSPriceLimitType", "9"), Variant("0"));
  gl->Refresh();
  EXPECT_EQ(gl->GetSystemProfile("IC", "XSPriceLimitType", "9"), Variant("1"));

  As(4);
  EXPECT_EQ(data->GetAuthItemClassList(), "5");
  auto sys = Make<host::IPublicSysInfo>(host::progid::kPublicSysInfo);
  EXPECT_EQ(sys->GetSystemProfile("IC", "ControlPoint", "1"), Variant("0"));
  EXPECT_EQ(sys->GetSystemProfile("IC", "Missing", 5), Variant(5));
}

TEST_F(ComponentsTest, UserProfileFallsBackToTheValuesForEveryone) {
  auto info = Make<host::IUserProfileInfo>(host::progid::kUserProfileInfo);
  auto update = Make<host::IUserProfileUpdate>(host::progid::kUserProfileUpdate);
  EXPECT_EQ(info->GetUserProfile("UserID=2", "Base", "TZESaleName"),
            "上海青禾商贸有限公司");  // user 0's
  EXPECT_EQ(info->GetUserProfile("UserID=3", "Base", "CheckDuplicateItem"), "1");
  EXPECT_EQ(info->GetUserProfile("UserID=2", "Base", "CheckDuplicateItem"), "");

  update->SaveUserProfile("UserID=2", "Base", "TZESaleName", "王小明的公司");
  update->SaveUserProfile("UserID=2", "Base", "TZESaleName", "王小明的新公司");
  EXPECT_EQ(info->GetUserProfile("UserID=2", "Base", "TZESaleName"), "王小明的新公司");
  EXPECT_EQ(info->GetUserProfile("UserID=3", "Base", "TZESaleName"), "上海青禾商贸有限公司");
  EXPECT_EQ(Number("SELECT COUNT(*) FROM t_UserProfile WHERE FUserID=2 AND FKey='TZESaleName'"), 1);

  update->SaveUserProfile("UserID=2", "1030002BillSet", "DoNotResetPrice", 1);
  EXPECT_EQ(info->GetUserProfile("UserID=2", "1030002BillSet", "DoNotResetPrice"), "1");
  // Without a user nothing is written for everyone.
  EXPECT_THROW(update->SaveUserProfile("UserName=x", "Base", "TZESaleName", "x"), vb::Error);
  EXPECT_EQ(info->GetUserProfile("UserID=3", "Base", "TZESaleName"), "上海青禾商贸有限公司");
}

// --- data access
// -----------------------------------------------------------------------------------

TEST_F(ComponentsTest, QueriesReturnTheFirstResultSetAndUpdatesAreAllOrNothing) {
  auto info = Make<host::IClassInfo>(host::progid::kClassInfo);
  auto rs = info->Getdata(Props(), "SELECT FNumber FROM t_Stock WHERE FItemID=601; SELECT 1 AS X");
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Value("FNumber"), Variant("CK01"));
  EXPECT_TRUE(
      info->Getdata(Props(), "UPDATE t_Stock SET FAddress=FAddress WHERE FItemID=601")->Eof());

  auto update = Make<host::IClassUpdate>(host::progid::kClassUpdate);
  EXPECT_THROW(update->UpdateBatch(Props(),
                                   "UPDATE t_Stock SET FName='X' WHERE FItemID=601\n"
                                   "INSERT INTO t_NoSuchTable (FID) VALUES (1)"),
               vb::Error);
  EXPECT_EQ(Scalar("SELECT FName FROM t_Stock WHERE FItemID=601"), Variant("主仓库"));
  update->UpdateBatch(Props(), "UPDATE t_Stock SET FName='总仓' WHERE FItemID=601");
  EXPECT_EQ(Scalar("SELECT FName FROM t_Stock WHERE FItemID=601"), Variant("总仓"));

  auto app = Make<host::IAppConnection>(host::progid::kAppConnection);
  EXPECT_EQ(app->Execute("demo.db", "SELECT FName FROM t_ICItem WHERE FItemID=101")->RecordCount(),
            1);
}

// --- credit
// ------------------------------------------------------------------------------------------

TEST_F(ComponentsTest, CreditIsExceededOnlyPastTheLimit) {
  auto sys = Make<host::IPublicSysInfo>(host::progid::kPublicSysInfo);
  std::string message;
  // C002: balance 48,500.00 against a limit of 50,000.00.
  EXPECT_FALSE(
      sys->CheckCredit(Props(), Rec({{"CustOrSupplyID", 1002}, {"AllAmount", 1500}}), message));
  EXPECT_EQ(message, "");
  EXPECT_TRUE(sys->CheckCredit(Props(), Rec({{"CustOrSupplyID", 1002}, {"AllAmount", "1500.01"}}),
                               message));
  EXPECT_THAT(message, HasSubstr("信用额度为50,000.00"));
  EXPECT_THAT(message, HasSubstr("超出信用额度0.01"));
  EXPECT_FALSE(sys->CheckCredit(Props(), Rec({{"CustOrSupplyID", 1003}, {"AllAmount", 1e9}}),
                                message));  // no limit
  EXPECT_FALSE(
      sys->CheckCredit(Props(), Rec({{"CustOrSupplyID", 0}, {"AllAmount", 1e9}}), message));
  EXPECT_THROW(
      sys->CheckCredit(Props(), Rec({{"CustOrSupplyID", 1002}, {"AllAmount", "abc"}}), message),
      vb::Error);

  // The question lets the user go on.
  auto stock = Make<host::IStockInfo>(host::progid::kStockInfo);
  ui_->Queue({"Yes", "No"});
  EXPECT_TRUE(stock->CreditSelectOK("超出信用额度0.01。"));
  EXPECT_FALSE(stock->UnCheckAmountOutOfDateSelectOK("逾期"));
  ASSERT_EQ(ui_->messages().size(), 2u);
  EXPECT_EQ(ui_->messages()[0].text, "超出信用额度0.01。\r\n是否继续？");
  EXPECT_EQ(ui_->messages()[0].buttons, host::vbYesNo | host::vbQuestion);
}

TEST_F(ComponentsTest, OverdueReceivablesAreAuditedSalesBillsDueBeforeToday) {
  auto sys = Make<host::IPublicSysInfo>(host::progid::kPublicSysInfo);
  std::string message;
  Sql("INSERT INTO t_cc_stockbill (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FDate, "
      "FCustID, FSettleLimitDate, "
      "FUnCheckAmount) VALUES (90, 'XSD000090', 1030002, 3001, 1, '2026-11-01', 1003, "
      "'2026-12-04', 100)");
  EXPECT_TRUE(sys->CheckUnCheckAmountOutOfDate(Props(), Rec({{"CustOrSupplyID", 1003}}), message));
  EXPECT_THAT(message, HasSubstr("单据XSD000090，收款日期2026-12-04，未收金额100.00"));
  Sql("UPDATE t_cc_stockbill SET FSettleLimitDate='2026-12-05' WHERE FID=90");  // due today: not
                                                                                // yet overdue
  EXPECT_FALSE(sys->CheckUnCheckAmountOutOfDate(Props(), Rec({{"CustOrSupplyID", 1003}}), message));
  Sql("UPDATE t_cc_stockbill SET FSettleLimitDate='2026-12-01', FStatus=0 WHERE FID=90");  // not a
                                                                                           // receivable
                                                                                           // yet
  EXPECT_FALSE(sys->CheckUnCheckAmountOutOfDate(Props(), Rec({{"CustOrSupplyID", 1003}}), message));
  Sql("UPDATE t_cc_stockbill SET FStatus=1, FBillTypeID=3002 WHERE FID=90");  // a return is owed to
                                                                              // the customer
  EXPECT_FALSE(sys->CheckUnCheckAmountOutOfDate(Props(), Rec({{"CustOrSupplyID", 1003}}), message));
  EXPECT_EQ(message, "");
}

// --- stock, price limit, audit checks
// ------------------------------------------------------------------

TEST_F(ComponentsTest, StockShortageIsReportedPerItemStockAndBatch) {
  auto stock = Make<host::IStockInfo>(host::progid::kStockInfo);
  auto head = Rec({{"ClassTypeID", 1030002}, {"BillType", 3001}});
  auto row = [](long index, long item, long stockId, const char* batch, double qty) {
    return Rec({{"Index", index},
                {"FItemID", item},
                {"FSCStockID", stockId},
                {"FBatchNo", batch},
                {"FQty", qty}});
  };
  std::string message;
  // I001 has 300 in CK01: two rows of 150 fit, a third row of 1 does not.
  EXPECT_EQ(stock->CheckItemStockNum(Props(), "SAVE", head,
                                     List({row(1, 101, 601, "", 150), row(2, 101, 601, "", 150)}),
                                     message),
            0);
  EXPECT_EQ(
      stock->CheckItemStockNum(Props(), "SAVE", head,
                               List({row(1, 101, 601, "", 150), row(2, 106, 601, "B20261120", 150),
                                     row(3, 101, 601, "", 151), row(4, 106, 601, "B20261101", 21),
                                     row(5, 101, 603, "", 999)}),
                               message),
      -1);
  EXPECT_EQ(
      message,
      "第1、3行商品[I001 不锈钢保温杯]在仓库[主仓库]库存不足，库存数量300，出库数量301。\r\n"
      "第4行商品[I006 原味酸奶]批号[B20261101]在仓库[主仓库]库存不足，库存数量20，出库数量21。");
  // Returns bring goods back: nothing to check.
  EXPECT_EQ(stock->CheckItemStockNum(Props(), "SAVE", Rec({{"BillType", 3002}}),
                                     List({row(1, 101, 601, "", 999)}), message),
            0);
  // The auxiliary attribute narrows the stock: white XL T-shirts are sold out.
  EXPECT_EQ(
      stock->CheckItemStockNum(
          Props(), "SAVE", head,
          List({Rec({{"FItemID", 109}, {"FSCStockID", 601}, {"FAuxPropID", 53}, {"FQty", 1}})}),
          message),
      -1);
  EXPECT_THAT(message, HasSubstr("第1行商品[I009 纯棉T恤]辅助属性[白色 XL码]"));
}

TEST_F(ComponentsTest, PricesBelowTheLowestSalesPriceAreRefused) {
  auto stock = Make<host::IStockInfo>(host::progid::kStockInfo);
  auto bill = Rec({{"ClassTypeID", 1030002}, {"CustOrSupplyID", 1001}});
  auto row = [](long index, long item, long unit, double coefficient, double price,
                long stockId = 601) {
    return Rec({{"Index", index},
                {"ItemID", item},
                {"UnitID", unit},
                {"Coefficient", coefficient},
                {"Price", price},
                {"StockID", stockId}});
  };
  EXPECT_TRUE(stock->CheckLimitPrice(Props(), bill,
                                     List({row(1, 101, 11, 1, 9), row(2, 102, 14, 24, 24)})));
  EXPECT_TRUE(stock->CheckLimitPrice(Props(), bill, List({row(1, 101, 11, 1, 0, 603)})));  // a gift
  EXPECT_TRUE(ui_->messages().empty());

  // I002 in 提 loses its own price row: the floor is the bottle's 1.00 times 6.
  Sql("DELETE FROM t_ItemPrice WHERE FItemID=102 AND FUnitID=13");
  EXPECT_FALSE(stock->CheckLimitPrice(Props(), bill,
                                      List({row(1, 101, 11, 1, 8.5), row(2, 102, 13, 6, 5.99)})));
  ASSERT_EQ(ui_->messages().size(), 1u);
  EXPECT_EQ(ui_->messages()[0].text,
            "第1行商品[I001 不锈钢保温杯]的单价8.5低于最低售价9。\r\n"
            "第2行商品[I002 矿泉水]的单价5.99低于最低售价6。\r\n不允许低于最低售价销售！");
  EXPECT_EQ(ui_->messages()[0].title, "信息提示");
}

TEST_F(ComponentsTest, AuditChecksFollowTheStoredState) {
  auto stock = Make<host::IStockInfo>(host::progid::kStockInfo);
  auto sale = [](long id, const char* no) {
    return Rec({{"ClassTypeID", 1030002},
                {"BillInterID", id},
                {"HeadTableName", "t_CC_StockBill"},
                {"BillNo", no}});
  };
  std::string message;
  EXPECT_EQ(stock->CheckBill(sale(3, "XSD000002"), 1, Props(), message), 1);
  EXPECT_EQ(message, "");
  EXPECT_EQ(stock->CheckBill(sale(2, "XSD000001"), 1, Props(), message), 0);
  EXPECT_EQ(message, "单据[XSD000001]已经审核，不能重复审核。");
  EXPECT_EQ(stock->CheckBill(sale(3, "XSD000002"), -1, Props(), message), 0);
  EXPECT_EQ(message, "单据[XSD000002]尚未审核，不能反审核。");
  // XSD000001 was returned by XSD000004: it stays audited.
  EXPECT_EQ(stock->CheckBill(sale(2, "XSD000001"), -1, Props(), message), 2);
  EXPECT_EQ(message, "单据[XSD000001]已经生成后续单据[XSD000004]，不能反审核。");
  EXPECT_EQ(stock->CheckBill(sale(6, "XSD000004"), -1, Props(), message), 1);
  EXPECT_EQ(stock->CheckBill(sale(999, "XSD000999"), 1, Props(), message), -1);

  // Orders, by their own head table; a closed order is neither audited nor un-audited.
  auto order = Rec({{"ClassTypeID", 1030001},
                    {"BillInterID", 3},
                    {"HeadTableName", "t_XS_Order"},
                    {"BillNo", "XSDD000003"}});
  EXPECT_EQ(stock->CheckBill(order, -1, Props(), message), 0);
  EXPECT_EQ(message, "单据[XSDD000003]已经关闭，不能反审核。");

  // A list hands over its selection: every refused bill is named, the first failure decides.
  auto selection = List({Rec({{"FID", 3}, {"FBillNo", "XSD000002"}}),
                         Rec({{"FID", 2}, {"FBillNo", "XSD000001"}}),
                         Rec({{"FID", 15}, {"FBillNo", "XSD000008"}})});
  EXPECT_EQ(stock->CheckBill(selection, 1, Props(), message), 0);
  EXPECT_EQ(message,
            "单据[XSD000001]已经审核，不能重复审核。\r\n单据[XSD000008]已经审核，不能重复审核。");

  EXPECT_TRUE(ctx_->journal.empty());
  EXPECT_THROW(stock->CheckBill(sale(3, "XSD000002"), 2, Props(), message), vb::Error);
  EXPECT_THROW(
      stock->CheckBill(Rec({{"BillInterID", 3}, {"HeadTableName", "t_User"}}), 1, Props(), message),
      vb::Error);
  EXPECT_EQ(ctx_->journal.size(), 2u);
}

// --- base data
// ---------------------------------------------------------------------------------------

TEST_F(ComponentsTest, ContactsAreUpdatedByIdOrAddedUnderTheNextId) {
  auto contacts = Make<host::IBarCodeUpdate>(host::progid::kBarCodeUpdate);
  // C003 has no contacts yet: the new one becomes its first.
  EXPECT_TRUE(contacts->SaveContactData(Props(), Rec({{"FID", 0},
                                                      {"FItemID", 1003},
                                                      {"FContact", "赵六"},
                                                      {"FIsFirst", 1},
                                                      {"FAddress", "杭州市'西湖'区"},
                                                      {"FPhone", "0571-1"}})));
  EXPECT_EQ(Number("SELECT FID FROM t_Contact WHERE FItemID=1003"), 7);
  EXPECT_EQ(Scalar("SELECT FAddress FROM t_Contact WHERE FID=7"), Variant("杭州市'西湖'区"));

  // 李娜 becomes C001's first contact; 张伟 is no longer.
  EXPECT_TRUE(contacts->SaveContactData(
      Props(), Rec({{"FID", 2}, {"FContact", "李娜"}, {"FPhone", "021-1234"}, {"FIsFirst", 1}})));
  EXPECT_EQ(Scalar("SELECT FPhone FROM t_Contact WHERE FID=2"), Variant("021-1234"));
  EXPECT_EQ(Scalar("SELECT FMobilePhone FROM t_Contact WHERE FID=2"),
            Variant("13900000012"));  // untouched
  EXPECT_EQ(Number("SELECT COUNT(*) FROM t_Contact WHERE FItemID=1001 AND FIsFirst=1"), 1);
  EXPECT_EQ(Number("SELECT FIsFirst FROM t_Contact WHERE FID=1"), 0);

  EXPECT_THROW(contacts->SaveContactData(Props(), Rec({{"FID", 0}, {"FContact", "无主"}})),
               vb::Error);
  EXPECT_THROW(contacts->SaveContactData(Props(), Rec({{"FID", 77}, {"FContact", "无此人"}})),
               vb::Error);
  EXPECT_EQ(Number("SELECT COUNT(*) FROM t_Contact"), 7);
}

TEST_F(ComponentsTest, StocksAndDetailsOfTheItemComponent) {
  auto items = Make<host::IItemInfo>(host::progid::kItemInfo);
  auto numbers = [&](long user) {
    std::vector<std::string> out;
    auto rs = items->GetStockInfo("UserID=" + std::to_string(user));
    for (; !rs->Eof(); rs->MoveNext()) out.push_back(vb::CStr(rs->Value("FNumber")));
    return out;
  };
  EXPECT_THAT(numbers(2),
              ::testing::ElementsAre("CK01", "CK02", "CK04", "CK03"));      // gift stock last
  EXPECT_THAT(numbers(4), ::testing::ElementsAre("CK01", "CK02", "CK03"));  // CK04 is not his
  Sql("INSERT INTO t_UserProfile (FUserID, FSection, FKey, FValue) VALUES (2, 'Base', "
      "'DefaultStock', 'CK02')");
  EXPECT_THAT(numbers(2), ::testing::ElementsAre("CK02", "CK01", "CK04", "CK03"));

  auto customer = items->GetDetail(Props(), 1, 1001);
  EXPECT_EQ(customer->Value("FDeliverAddr"), Variant("上海市浦东新区张杨路500号 收货部"));
  EXPECT_TRUE(items->GetDetail(Props(), 1, 101)->Eof());
  EXPECT_TRUE(items->isBatchManager(Props(), 106));
  EXPECT_FALSE(items->isBatchManager(Props(), 101));
}

TEST_F(ComponentsTest, BatchNumbersContinueAfterTheHighestSerialInUse) {
  auto rules = Make<host::IBatchNoRule>(host::progid::kBatchNoRule);
  const vb::Date date = vb::DateFromParts({2026, 12, 5});
  auto rule = rules->GetBatchNo(Props(), date, 111);  // MB, 3 digits; MB005 is in stock
  EXPECT_EQ(rule->Prefix(), "MB");
  EXPECT_EQ(rule->SerialLen(), 3);
  EXPECT_EQ(rule->CurSerial(), 5);
  Sql("UPDATE t_cc_stockbillentry SET FItemID=111, FBatchNo='MB012' WHERE FEntryID=4");
  EXPECT_EQ(rules->GetBatchNo(Props(), date, 111)->CurSerial(), 12);

  rule = rules->GetBatchNo(Props(), date, 101);  // the rule of every other item
  EXPECT_EQ(rule->Prefix(), "PH");
  EXPECT_EQ(rule->SerialLen(), 6);
  EXPECT_EQ(rule->CurSerial(), 0);

  // Without rules: the bill date, three digits, after the serials already used that day.
  Sql("DELETE FROM t_BatchNoRule");
  Sql("UPDATE t_cc_inventory SET FBatchNo='20261205007' WHERE FID=10");
  Sql("UPDATE t_cc_inventory SET FBatchNo='20261205X9' WHERE FID=11");
  rule = rules->GetBatchNo(Props(), date, 106);
  EXPECT_EQ(rule->Prefix(), "20261205");
  EXPECT_EQ(rule->SerialLen(), 3);
  EXPECT_EQ(rule->CurSerial(), 7);
  EXPECT_EQ(rules->GetBatchNo(Props(), vb::DateFromParts({2026, 12, 6}), 106)->CurSerial(), 0);
}

TEST_F(ComponentsTest, CostIsTheAverageOfOneBaseUnit) {
  auto reader = Make<host::IStockBillReader>(host::progid::kStockBillReader);
  EXPECT_DOUBLE_EQ(reader->GetCost(Props(), 101, 601, ""), 7.5);
  EXPECT_DOUBLE_EQ(reader->GetCost(Props(), 106, 601, "B20261120"), 4);
  EXPECT_DOUBLE_EQ(reader->GetCost(Props(), 107, 0, "LOT'A1"), 70);
  EXPECT_DOUBLE_EQ(reader->GetCost80(Props(), 107, 601, "W2025A"), 60);  // from the opening balance
  // Sold out: the receipts tell the cost.
  Sql("UPDATE t_cc_inventory SET FQty=0, FAmount=0 WHERE FItemID=117");
  EXPECT_DOUBLE_EQ(reader->GetCost(Props(), 117, 601, ""), 2400);
  EXPECT_DOUBLE_EQ(reader->GetCost(Props(), 999, 0, ""), 0);
}

// --- windows
// -------------------------------------------------------------------------------------------

TEST_F(ComponentsTest, ListWindowCutsLinesIntoItsColumns) {
  auto list = Make<host::IDispBuilder>(host::progid::kDispBuilder);
  list->SetCols(1);
  list->SetTitles("提示信息|");
  list->SetColWidth(1, 5000);
  list->Add("单据[A|B]已经审核|");
  list->Add("合计：成功(1张),失败(0张)|");
  list->Show(1);
  ASSERT_EQ(ui_->windows().size(), 1u);
  EXPECT_EQ(LastWindow().kind, "list");
  EXPECT_EQ(LastWindow().caption, "提示信息");
  EXPECT_THAT(LastWindow().lines,
              ::testing::ElementsAre("单据[A|B]已经审核", "合计：成功(1张),失败(0张)"));

  auto grid = Make<host::IDispBuilder>(host::progid::kDispBuilder);
  grid->SetTitles("行号|商品|数量|");
  grid->Add("1|I001|");
  grid->Show(1);
  EXPECT_EQ(LastWindow().caption, "行号|商品|数量");
  EXPECT_THAT(LastWindow().lines,
              ::testing::ElementsAre("1|I001|"));  // the missing cell stays empty

  auto stock = Make<host::IStockInfo>(host::progid::kStockInfo);
  stock->CheckSerialNoCount(Props(), List({Rec({{"FIndex", 2},
                                                {"FNumber", "I008"},
                                                {"FName", "笔记本电脑"},
                                                {"FModel", "14英寸"},
                                                {"FStockID", "主仓库"},
                                                {"FBatchNo", ""}})}));
  EXPECT_THAT(LastWindow().lines,
              ::testing::ElementsAre("2|I008|笔记本电脑|14英寸|主仓库||序列号个数与数量不符"));
  EXPECT_THROW(grid->SetColWidth(0, 100), vb::Error);
}

TEST_F(ComponentsTest, SelectionWindowReturnsTheCheckedItemsOrNothing) {
  auto view = Make<host::IGLView>(host::progid::kGLView);
  auto customers = [&] {
    return Make<host::IClassInfo>(host::progid::kClassInfo)
        ->Getdata(Props(),
                  "SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID=1 AND FDetail=1 "
                  "ORDER BY FNumber");
  };
  ui_->Queue({"C002,C004"});
  auto picked = view->ItemSelect(customers(), {}, "特价单客户", false, 1, "");
  ASSERT_TRUE(picked);
  ASSERT_EQ(picked->CheckPoints(), 2);
  EXPECT_EQ(picked->CheckItems(1), 1002);
  EXPECT_EQ(picked->CheckItems(2), 1004);
  EXPECT_THAT(picked->ShowName(1), HasSubstr("C002"));
  EXPECT_THROW(picked->CheckItems(3), vb::Error);

  ui_->Queue({"Cancel"});
  EXPECT_FALSE(view->ItemSelect(customers(), {1001}, "特价单客户", false, 1, ""));
}

// --- server components of the bills
// ---------------------------------------------------------------------

TEST_F(ComponentsTest, OpeningBillsAreAuditedByTheirServerComponent) {
  auto consign = Make<host::ITempBillUpdate>(host::progid::kTempConsignUpdate);
  std::string message;
  // QCWT000002: dated before the start period, with a customer and a row.
  EXPECT_TRUE(consign->CheckBill(Props(), 9, true, message));
  EXPECT_EQ(Number("SELECT FStatus FROM t_cc_stockbill WHERE FID=9"), 1);
  EXPECT_EQ(Number("SELECT FCheckerID FROM t_cc_stockbill WHERE FID=9"), 1);
  EXPECT_FALSE(consign->CheckBill(Props(), 9, true, message));
  EXPECT_EQ(message, "单据[QCWT000002]已经审核，不能重复审核。");
  EXPECT_TRUE(consign->CheckBill(Props(), 9, false, message));
  EXPECT_EQ(Number("SELECT FStatus FROM t_cc_stockbill WHERE FID=9"), 0);

  Sql("UPDATE t_cc_stockbill SET FDate='2026-11-01' WHERE FID=9");
  EXPECT_FALSE(consign->CheckBill(Props(), 9, true, message));
  EXPECT_EQ(message, "只能录入启用期间以前的单据");
  // A bill of another class is not this component's.
  auto gj = Make<host::ITempBillUpdate>(host::progid::kTempGJUpdate);
  EXPECT_FALSE(gj->CheckBill(Props(), 9, true, message));
  EXPECT_EQ(message, "单据不存在或已被删除。");

  // The list: one record per refusal.
  auto results = Dictionary::New();
  gj->BatchOperate(Props(),
                   List({Rec({{"FID", 10}, {"FBillNo", "QCGH000001"}}),
                         Rec({{"FID", 14}, {"FBillNo", "QCGH000002"}})}),
                   results, 2);
  EXPECT_EQ(Number("SELECT FStatus FROM t_cc_stockbill WHERE FID=10"), 1);
  ASSERT_EQ(results->Count(), 1);
  EXPECT_EQ(results->Item(Variant(1)).ObjectAs<host::IDictionary>()->Item(Variant("Message")),
            Variant("单据[QCGH000002]已经审核，不能重复审核。"));
  EXPECT_THROW(gj->BatchOperate(Props(), List({}), results, 1), vb::Error);
}

TEST_F(ComponentsTest, ColumnTotalsOfABillAndOfTheBillsMadeFromIt) {
  auto consign = Make<host::ITempBillUpdate>(host::progid::kTempConsignUpdate);
  // WTD000001: 50 + 12 shown units; XSD000003 settled 20 of row 1 for 237.30.
  EXPECT_DOUBLE_EQ(consign->GetFieldSumValue(Props(), 4, "FShowQty"), 62);
  EXPECT_DOUBLE_EQ(consign->GetLinkQty(Props(), 4), 20);
  EXPECT_DOUBLE_EQ(consign->GetLinkTaxAmount(Props(), 4), 237.3);
  EXPECT_DOUBLE_EQ(consign->GetLinkQty(Props(), 999), 0);
  EXPECT_THROW(consign->GetFieldSumValue(Props(), 4, "FShowQty) FROM t_User --"), vb::Error);

  // A sales bill delivered straight from GHD000001 row 2 (5 laptops).
  auto gj = Make<host::IGJUpdate>(host::progid::kGJUpdate);
  Sql("UPDATE t_cc_stockbillentry SET FClassID_SRC=1020002, FID_SRC=1, FEntryID_SRC=2 WHERE "
      "FEntryID=7");
  EXPECT_DOUBLE_EQ(gj->GetGHDLinkQty(Props(), 3), 5);
  EXPECT_DOUBLE_EQ(gj->GetGHDLinkTaxAmount(Props(), 3), 23730);
  EXPECT_DOUBLE_EQ(gj->GetFieldSumValue(Props(), 3, "FInTaxAmount"), 5790.12);
}

TEST_F(ComponentsTest, OrdersCloseReopenAndCountWhatIsNotOnPurchaseOrders) {
  auto orders = Make<host::IOrderUpdate>(host::progid::kOrderUpdate);
  orders->CloseBill(Props(), 1, false);
  EXPECT_EQ(Number("SELECT FStatus FROM t_XS_Order WHERE FID=1"), 2);
  orders->CloseBill(Props(), 1, true);
  EXPECT_EQ(Number("SELECT FStatus FROM t_XS_Order WHERE FID=1"), 1);
  orders->CloseBill(Props(), 2, false);  // not audited
  EXPECT_EQ(Number("SELECT FStatus FROM t_XS_Order WHERE FID=2"), 0);
  EXPECT_THAT(Messages(), ::testing::ElementsAre("销售订单[XSDD000002]尚未审核，不能关闭。"));
  EXPECT_THROW(orders->CloseBill(Props(), 99, false), vb::Error);

  // XSDD000002 row 1 (10 bottles): a purchase order takes one box of 6 bottles... and 1 bottle.
  Sql("INSERT INTO t_cg_OrderEntry (FEntryID, FID, FIndex, FItemID, FUnitID, FShowUnitID, "
      "FCoefficient, FShowQty, FQty, "
      "FClassID_SRC, FID_SRC, FEntryID_SRC) VALUES (10, 3, 2, 115, 12, 14, 6, 1, 6, 1030001, 2, "
      "3), "
      "(11, 3, 3, 115, 12, 12, 1, 1, 1, 1030001, 2, 3), (12, 3, 4, 106, 21, 21, 1, 80, 80, "
      "1030001, 2, 4)");
  auto link = Make<host::IPurchaseOrderLink>(host::progid::kPurchaseOrder);
  long id = 2;
  link->updateXSOrderFUnLinkCGQty(id);
  EXPECT_DOUBLE_EQ(Number("SELECT FUnLinkCGQty FROM t_XS_OrderEntry WHERE FEntryID=3"), 3);
  EXPECT_DOUBLE_EQ(Number("SELECT FUnLinkCGQty FROM t_XS_OrderEntry WHERE FEntryID=4"),
                   0);  // more than ordered
}

TEST_F(ComponentsTest, SpecialPriceBillsArePublishedAndEnded) {
  auto cx = Make<host::ICXUpdate>(host::progid::kCXUpdate);
  std::string message;
  Sql("INSERT INTO T_LS_CX_Customer (FBillID, FBillNo, FItemClassID, FItemID, FNumber, FShowName) "
      "VALUES (6, '1001', 1, 1001, 'C001', 'C001-上海联华超市有限公司')");
  EXPECT_TRUE(cx->CheckBill(Props(), Rec({{"FID", 6}, {"FClassTypeID", 1030006}}), message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(Number("SELECT FStatus FROM T_LS_CX WHERE FID=6"), 1);
  EXPECT_EQ(Number("SELECT COUNT(*) FROM t_LS_ItemPrice WHERE FXSBillNo='CX000006'"), 2);
  EXPECT_DOUBLE_EQ(
      Number("SELECT FXSPrice FROM t_LS_ItemPrice WHERE FXSBillNo='CX000006' AND FItemID=101"),
      11.8);
  EXPECT_EQ(
      Number(
          "SELECT FSingleLimitQty FROM t_LS_ItemPrice WHERE FXSBillNo='CX000006' AND FItemID=101"),
      10);
  EXPECT_EQ(Scalar("SELECT FBillNo FROM T_LS_CX_Customer WHERE FBillID=6"), Variant("CX000006"));
  EXPECT_FALSE(cx->CheckBill(Props(), Rec({{"FID", 6}}), message));
  EXPECT_EQ(message, "单据[CX000006]已经审核，不能重复审核。");

  EXPECT_EQ(cx->InvalidBill(
                Props(), Rec({{"FID", 6}, {"FClassTypeID", 1030006}, {"FPriceType", 1}}), message),
            1);
  EXPECT_EQ(Number("SELECT FStatus FROM T_LS_CX WHERE FID=6"), 2);
  EXPECT_EQ(Number("SELECT COUNT(*) FROM t_LS_ItemPrice WHERE FXSBillNo='CX000006' AND "
                   "FXSEndDate='2026-12-04'"),
            2);
  EXPECT_EQ(cx->InvalidBill(Props(), Rec({{"FID", 6}}), message), -1);
  EXPECT_EQ(message, "单据[CX000006]已经失效。");
  EXPECT_FALSE(cx->CheckBill(Props(), Rec({{"FID", 0}}), message));
  EXPECT_EQ(message, "请先保存单据。");
}

TEST_F(ComponentsTest, AnInvoiceIsRecordedAndBookedOnTheSalesBill) {
  auto invoices = Make<host::IInvoiceManage>(host::progid::kInvoiceManage);
  auto entry = Rec({{"ProductName", "不锈钢保温杯"},
                    {"Quantity", 20},
                    {"Price", 12.5},
                    {"TaxRate", 13},
                    {"Amount", 250},
                    {"TaxAmount", 32.5},
                    {"AmountIncTax", 282.5},
                    {"FClassID_SRC", 1030002},
                    {"FID_SRC", 2},
                    {"FEntryID_SRC", 3},
                    {"FBillNo_SRC", "XSD000001"}});
  auto invoice = Rec({{"BuyerID", 1001},
                      {"BuyerName", "上海联华超市有限公司"},
                      {"eType", 3},
                      {"FRemark", "第二次开票"},
                      {"Entries", Variant(List({entry}))}});
  EXPECT_TRUE(invoices->SaleBillMakeTzeInvoice(Props(), invoice));
  EXPECT_EQ(Scalar("SELECT FBillNo FROM t_Invoice WHERE FID=2"), Variant("FP000002"));
  EXPECT_EQ(Number("SELECT FInvoiceType FROM t_Invoice WHERE FID=2"), 2020);
  EXPECT_EQ(Number("SELECT FItemID FROM t_InvoiceEntry WHERE FID=2"), 101);
  EXPECT_DOUBLE_EQ(Number("SELECT FInvoiceAmt FROM t_cc_stockbill WHERE FID=2"), 565);
  EXPECT_EQ(LastWindow().kind, "data");
  EXPECT_EQ(LastWindow().caption, "电子发票 FP000002");

  EXPECT_THROW(invoices->SaleBillMakeTzeInvoice(Props(), Rec({{"BuyerID", 1001}})), vb::Error);
  auto items = invoices->GetICItemInfo(Props(), "116, 101");
  EXPECT_EQ(items->RecordCount(), 2);
  EXPECT_THROW(invoices->GetICItemInfo(Props(), "101;DROP"), vb::Error);
}

TEST_F(ComponentsTest, LogisticsBillsAreMadeForAuditedSalesBillsOnce) {
  auto logistics = Make<host::ILogisticApplication>(host::progid::kLogisticApplication);
  auto info = Make<host::ILogisticInfo>(host::progid::kLogisticInfo);
  EXPECT_TRUE(info->ExistsMakeLogistic(Props(), "XSD000001"));
  EXPECT_FALSE(info->ExistsMakeLogistic(Props(), "XSD000003"));

  Sql("UPDATE t_cc_stockbill SET FCustID=1001 WHERE FID=15");  // XSD000008 goes to C001 as well
  auto records = List({Rec({{"BillNo", "XSD000001"}}), Rec({{"BillNo", "XSD000002"}}),
                       Rec({{"BillNo", "XSD000003"}}), Rec({{"BillNo", "XSD000008"}}),
                       Rec({{"BillNo", "XSD000004"}})});
  auto results = logistics->BatchMakeLogisticDataProc(records, false);
  ASSERT_EQ(results->Count(), 5);
  auto info_of = [&](long i) {
    return vb::CStr(results->Item(Variant(i)).ObjectAs<host::IDictionary>()->Item(Variant("Info")));
  };
  auto ok = [&](long i) {
    return vb::CBool(
        results->Item(Variant(i)).ObjectAs<host::IDictionary>()->Item(Variant("Success")));
  };
  EXPECT_EQ(info_of(1), "单据[XSD000001]已经生成物流单[WL000001]。");
  EXPECT_EQ(info_of(2), "单据[XSD000002]未审核，不能生成物流单。");
  EXPECT_EQ(info_of(3), "单据[XSD000003]生成物流单[WL000002]成功。");
  EXPECT_EQ(info_of(4), "单据[XSD000008]生成物流单[WL000003]成功。");
  EXPECT_EQ(info_of(5), "单据[XSD000004]是退货单，不能生成物流单。");
  EXPECT_FALSE(ok(1));
  EXPECT_TRUE(ok(3));
  EXPECT_EQ(Scalar("SELECT FLogisticNumber FROM t_cc_stockbill WHERE FID=5"), Variant("WL000002"));
  EXPECT_TRUE(info->ExistsMakeLogistic(Props(), "XSD000003"));

  // Many to one: one logistics bill per customer.
  Sql("UPDATE t_cc_stockbill SET FLogisticNumber='' WHERE FID IN (5, 15)");
  Sql("UPDATE t_cc_stockbill SET FCustID=1004 WHERE FID=15");
  logistics->BatchMakeLogisticDataProc(
      List({Rec({{"BillNo", "XSD000003"}}), Rec({{"BillNo", "XSD000008"}})}), true);
  EXPECT_EQ(Scalar("SELECT FLogisticNumber FROM t_cc_stockbill WHERE FID=5"),
            Scalar("SELECT FLogisticNumber FROM t_cc_stockbill WHERE FID=15"));

  logistics->ShowByCondition(Rec({{"BillCode", "XSD000001"}}));
  EXPECT_EQ(LastWindow().caption, "物流单查询");
  EXPECT_THAT(LastWindow().lines, ::testing::Contains(HasSubstr("WL000001")));
}

TEST_F(ComponentsTest, EveryProgIdOfTheContractIsServed) {
  namespace p = host::progid;
  for (const char* progId : {p::kDictionary,
                             p::kStringBuilder,
                             p::kCacheFacade,
                             p::kShareProps,
                             p::kSecurityInfo,
                             p::kSystemProfile,
                             p::kGLSystemProfile,
                             p::kGLData,
                             p::kGLView,
                             p::kClassInfo,
                             p::kClassUpdate,
                             p::kAppConnection,
                             p::kUserProfileInfo,
                             p::kUserProfileUpdate,
                             p::kHelpTip,
                             p::kDispBuilder,
                             p::kRelateBillLookUp,
                             p::kStockInfo,
                             p::kPublicSysInfo,
                             p::kSerialNumMgr,
                             p::kBatchNoRule,
                             p::kItemInfo,
                             p::kBarCodeUpdate,
                             p::kStockBillReader,
                             p::kTempConsignUpdate,
                             p::kTempGJUpdate,
                             p::kGJUpdate,
                             p::kOrderUpdate,
                             p::kPurchaseOrder,
                             p::kCXUpdate,
                             p::kInvoiceManage,
                             p::kInvoiceManageServer,
                             p::kLogisticApplication,
                             p::kLogisticInfo,
                             p::kPriceMgr})
    EXPECT_TRUE(ctx_->CreateObject(progId)) << progId;
  auto sb = Make<host::IStringBuilder>(host::progid::kStringBuilder);
  sb->Append("a");
  sb->Append("b");
  EXPECT_EQ(sb->StringValue(), "ab");
  auto serials = Make<host::ISerialNumMgr>(host::progid::kSerialNumMgr);
  EXPECT_EQ(serials->GetBillSerials(Props(), 1020002, 1)->RecordCount(), 6);
  EXPECT_TRUE(ctx_->journal.empty());
}

}  // namespace
}  // namespace zov::sim
