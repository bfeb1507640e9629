// The library's services on a small host: login properties, SQL literals, messages, the log
// file, the reject-note dialog, the tool scheme and the options kept per user.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bill/tool_bar.h"
#include "fake_host.h"
#include "frame/menu.h"
#include "frame/reject_note_form.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using plugins::PluginContext;

// The login cache in outer-login mode holds every key, but serves only the login value keys.
class OuterCache final : public vb::Implements<host::ICacheFacade> {
 public:
  std::string TypeName() const override { return "CacheFacade"; }
  Variant GetItem(long, std::string_view key) override {
    if (key == "IsOuterLogin") return 1;
    if (key == "UserName") return "王晓明";
    return "held";
  }
};

class DispBuilder final : public vb::Implements<host::IDispBuilder> {
 public:
  std::string TypeName() const override { return "DispBuilder"; }
  void SetCols(long n) override { cols = n; }
  void SetTitles(std::string_view t) override { titles = t; }
  void SetColWidth(long, long w) override { width = w; }
  void Add(std::string_view line) override { lines.emplace_back(line); }
  void Show(long) override { shown = true; }
  long cols = 0, width = 0;
  std::string titles;
  std::vector<std::string> lines;
  bool shown = false;
};

class Profiles final : public vb::Implements<host::IUserProfileInfo, host::IUserProfileUpdate> {
 public:
  std::string TypeName() const override { return "UserProfile"; }
  std::string GetUserProfile(std::string_view, std::string_view section,
                             std::string_view key) override {
    auto it = values.find(std::string(section) + "/" + std::string(key));
    return it == values.end() ? std::string() : it->second;
  }
  void SaveUserProfile(std::string_view, std::string_view section, std::string_view key,
                       const Variant& v) override {
    values[std::string(section) + "/" + std::string(key)] = vb::CStr(v);
  }
  std::map<std::string, std::string> values;
};

class Services : public ::testing::Test {
 protected:
  Services() : host_(Ref<FakeHost>::Adopt(new FakeHost)), ctx_(PluginContext::For(host_)) {}
  Ref<FakeHost> host_;
  Ref<PluginContext> ctx_;
};

TEST_F(Services, PropertiesStringIsParsedAsTheHostWritesIt) {
  auto& ctx = *ctx_;
  plugins::services::ParseProperties(ctx, "a=1;b={x;y=z};c=3");
  EXPECT_EQ(ctx.parsedProperties.size(), 3u);
  EXPECT_EQ(ctx.parsedProperties["b"], "x;y=z");
  EXPECT_EQ(ctx.parsedProperties["c"], "3");

  // Text after the closing brace up to the next ";" is dropped; the last pair needs no ";".
  plugins::services::ParseProperties(ctx, " UserID = 16394 ;ConnectString={demo;x}junk; AcctID=7");
  EXPECT_EQ(plugins::services::Property(ctx, "UserID"), "16394");
  EXPECT_EQ(plugins::services::Property(ctx, "ConnectString"), "demo;x");
  EXPECT_EQ(plugins::services::Property(ctx, "AcctID"), "7");

  // A key that repeats ends the parse; what was read before it stays.
  plugins::services::ParseProperties(ctx, "a=1;b=2;a=3;c=4");
  EXPECT_EQ(ctx.parsedProperties.size(), 2u);
  EXPECT_THROW(plugins::services::Property(ctx, "c"), vb::Error);

  EXPECT_EQ(plugins::services::ConnectionString(ctx), "demo.db");
  EXPECT_EQ(plugins::services::CurrentUserID(ctx), 16394);
}

TEST_F(Services, OuterLoginServesOnlyTheLoginValueKeys) {
  host_->components[host::progid::kCacheFacade] = [] {
    return vb::MakeRef<vb::IObject, OuterCache>();
  };
  EXPECT_EQ(plugins::services::LoginValue(*ctx_, "UserName"), Variant("王晓明"));
  EXPECT_TRUE(plugins::services::LoginValue(*ctx_, "ConnectString").IsEmpty());
  // An unknown component leaves the login value empty rather than failing.
  host_->components[host::progid::kCacheFacade] = []() -> Ref<vb::IObject> {
    throw vb::Error(429, "no");
  };
  EXPECT_TRUE(plugins::services::LoginValue(*ctx_, "UserName").IsEmpty());
}

TEST_F(Services, TextValuesAreQuotedAndBlankStatementsNeverReachTheHost) {
  using plugins::services::SqlLiteral;
  EXPECT_EQ(SqlLiteral("O'Neil"), "'O''Neil'");
  EXPECT_EQ(SqlLiteral("", true, true), "Null");
  EXPECT_EQ(SqlLiteral("  ", true, true, true), "Null");
  EXPECT_EQ(SqlLiteral("  ", true, true, false), "'  '");
  EXPECT_EQ(SqlLiteral("a'b", false), "a''b");

  const auto asked = host_->created.size();
  EXPECT_FALSE(plugins::services::OpenRecordsetWithProps(*ctx_, "   ", ""));
  EXPECT_EQ(host_->created.size(), asked);
  // A failing data component gives the empty text.
  EXPECT_EQ(plugins::services::FirstValue(*ctx_, "select 1"), "");
}

TEST_F(Services, MessagesGoToABoxOrToTheListWindow) {
  auto list = Ref<DispBuilder>::Adopt(new DispBuilder);
  host_->components[host::progid::kDispBuilder] = [&] { return Ref<vb::IObject>(list); };

  plugins::services::ShowMessageList(*ctx_, std::vector<std::string>{});
  plugins::services::ShowMessageList(*ctx_, {"第1行商品需要录入批号"});
  EXPECT_EQ(host_->ui->messages, std::vector<std::string>{"第1行商品需要录入批号"});
  EXPECT_FALSE(list->shown);

  plugins::services::ShowMessageList(*ctx_, {"单据XSD000001已审核", "单据XSD000002已审核"});
  EXPECT_TRUE(list->shown);
  EXPECT_EQ(list->cols, 1);
  EXPECT_EQ(list->titles, "提示信息|");
  EXPECT_EQ(list->width, 5000);
  EXPECT_THAT(list->lines, ::testing::ElementsAre("单据XSD000001已审核|", "单据XSD000002已审核|"));

  EXPECT_EQ(plugins::services::SingleLineText("a\r\nb\nc\rd", false), "abcd");
  EXPECT_EQ(plugins::services::SingleLineText("  a\r\n ", true), "a");
}

TEST_F(Services, LogFileIsNamedByTheTerminalSessionAndWrittenLineByLine) {
  // The fake host's system directory is /tmp; a process ID of 0 has session 0.
  EXPECT_EQ(plugins::services::LogFilePath(*ctx_), "/tmp/LUMTradeLog_1.log");
  host_->processId = 0;
  EXPECT_EQ(plugins::services::LogFilePath(*ctx_), "/tmp/LUMTradeLog_0.log");

  plugins::services::WriteLog(*ctx_, "GetSaleBillMakeTzeInvoiceDict - BEG", true);
  plugins::services::WriteLog(*ctx_, "GetSaleBillMakeTzeInvoiceDict - END");
  std::ifstream in("/tmp/LUMTradeLog_0.log", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "GetSaleBillMakeTzeInvoiceDict - BEG\r\nGetSaleBillMakeTzeInvoiceDict - END\r\n");
  std::filesystem::remove("/tmp/LUMTradeLog_0.log");
}

TEST(RejectNote, OkNeedsTextAndCancelKeepsThePreviousNote) {
  plugins::RejectNoteForm form;
  form.SetNote("");
  form.Load();
  EXPECT_FALSE(form.OkEnabled());
  form.TextChanged("   ");
  EXPECT_FALSE(form.OkEnabled());
  form.ClickOk();  // a disabled button takes no click
  EXPECT_FALSE(form.Confirmed());
  form.TextChanged("  价格有误 ");
  EXPECT_TRUE(form.OkEnabled());
  form.ClickOk();
  EXPECT_TRUE(form.Confirmed());
  EXPECT_EQ(form.Note(), "  价格有误 ");

  plugins::RejectNoteForm again;
  again.SetNote("数量有误");
  again.Load();
  EXPECT_EQ(again.Text(), "数量有误");
  EXPECT_TRUE(again.OkEnabled());
  again.TextChanged("改了");
  again.ClickCancel();
  EXPECT_FALSE(again.Confirmed());
  EXPECT_EQ(again.Note(), "数量有误");
  EXPECT_FALSE(again.Visible());
}

TEST_F(Services, ToolsArePlacedByAnchorAndOptionsKeptPerBillClassAndUser) {
  auto bar = sim::ActiveBar::New();
  auto relate = bar->EnsureBand("mnuRelate");
  for (const char* key : {"mnuRelateViewVoucher", "mnuRelateViewList"})
    relate->Append(bar->EnsureTool(key));
  bar->EnsureBand("mnuOption");
  Ref<host::IActiveBar> menu(bar);

  plugins::AddTool(
      menu, {"mnuQueryPayIn", "查询收款记录", "mnuRelate", "", "mnuRelateViewVoucher", "", 0, ""});
  plugins::AddTool(menu,
                   {"mnuQuerySale", "查询发货记录", "mnuRelate", "mnuQueryPayIn", "", "", 0, ""});
  plugins::AddSeparator(menu, "mnuRelate", "mnuQuerySale");
  std::vector<std::string> order;
  for (long i = 0; i < relate->Count(); ++i) order.push_back(relate->Item(i)->Name());
  EXPECT_THAT(order, ::testing::ElementsAre("mnuQueryPayIn", "mnuQuerySale", "",
                                            "mnuRelateViewVoucher", "mnuRelateViewList"));
  EXPECT_EQ(relate->Item(2)->Style(), host::kToolStyleSeparator);
  EXPECT_EQ(bar->FindTool("mnuQuerySale")->Description(), "查询发货记录");
  EXPECT_THROW(plugins::AddTool(menu, {"mnuX", "x", "mnuNoSuchBand", "", "", "", 0, ""}),
               vb::Error);

  auto profiles = Ref<Profiles>::Adopt(new Profiles);
  host_->components[host::progid::kUserProfileInfo] = [&] {
    return Ref<vb::IObject>(profiles.As<host::IUserProfileInfo>());
  };
  host_->components[host::progid::kUserProfileUpdate] = [&] {
    return Ref<vb::IObject>(profiles.As<host::IUserProfileInfo>());
  };
  profiles->values["1030002BillSet/DoNotResetPrice"] = "1";
  plugins::AddOptionTool(*ctx_, menu, 1030002, "mnuDoNotResetPrice", "修改客户不重新取价",
                         "DoNotResetPrice");
  plugins::AddOptionTool(*ctx_, menu, 1030002, "mnuCheckDuplicateItem", "录入时检查重复商品",
                         "CheckDuplicateItem");
  auto option = bar->FindTool("mnuDoNotResetPrice");
  EXPECT_TRUE(option->Checked());
  EXPECT_FALSE(bar->FindTool("mnuCheckDuplicateItem")->Checked());

  plugins::ToggleOption(*ctx_, option, 1030002, "DoNotResetPrice");
  plugins::ToggleOption(*ctx_, option, 1030002, "DoNotResetPrice");
  plugins::ToggleOption(*ctx_, option, 1030002, "DoNotResetPrice");
  EXPECT_FALSE(option->Checked());
  EXPECT_EQ(profiles->values["1030002BillSet/DoNotResetPrice"], "0");
  plugins::ToggleOption(*ctx_, bar->FindTool("mnuCheckDuplicateItem"), 1030002,
                        "CheckDuplicateItem");
  EXPECT_EQ(profiles->values["Base/CheckDuplicateItem"], "1");
}

TEST_F(Services, BagDefaultsAndStockRights) {
  EXPECT_EQ(plugins::services::AppType(*ctx_), 2);
  EXPECT_EQ(plugins::services::IndustryType(*ctx_), 0);
  EXPECT_TRUE(plugins::services::InitClosed(*ctx_));
  plugins::services::SetBagValue(*ctx_, "AppType", 4);  // no bag: nothing is stored
  EXPECT_EQ(plugins::services::AppType(*ctx_), 2);

  host_->bag = NewDictionary();
  host_->bag->SetItem("AppType", 1);
  host_->bag->SetItem("AuthrizeItemClassList", "15");
  host_->security->needAuthorization = true;  // asked once, then kept in the bag
  EXPECT_EQ(plugins::services::AppType(*ctx_), 1);
  EXPECT_TRUE(plugins::services::StockRightsApply(*ctx_));
  EXPECT_EQ(host_->bag->Item("NeedAuthrize"), Variant(true));
  host_->bag->SetItem("AuthrizeItemClassList", "1,2");
  EXPECT_FALSE(plugins::services::StockRightsApply(*ctx_));
}

}  // namespace
}  // namespace zov::testing
