// Sessions of the substitute host: each user sees his own rights, bag and profile, also when two
// sessions work at the same time; a ProgID reaches a host component or the plug-in library.
#include <gmock/gmock.h>

#include <thread>

#include "host_fixture.h"
#include "list/bill_list.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::testing {
namespace {

using vb::Variant;

bool PriceRight(sim::Session& s) {
  auto security = s.CreateObject(host::progid::kSecurityInfo).As<host::ISecurityInfo>();
  return security->AccessCheck(s.PropsString(), 15, 2010, 32, true,
                               "ZOV_XS_PlugIns.BillEvent_Sale");
}

class SessionTest : public HostTest {};

TEST_F(SessionTest, TwoUsersSeeTheirOwnRightsBagAndProfile) {
  sim::SessionOptions salesOptions;
  salesOptions.bag["IndustryType"] = 1;
  auto admin = Open("admin");
  auto sales = Open("wangxm", nullptr, salesOptions);
  EXPECT_NE(admin->ProcessId(), sales->ProcessId());
  EXPECT_NE(admin->UserId(), sales->UserId());

  auto adminProfile =
      admin->CreateObject(host::progid::kUserProfileUpdate).As<host::IUserProfileUpdate>();
  adminProfile->SaveUserProfile(admin->PropsString(), "1030002BillSet", "DoNotResetPrice", 1);

  // Both sessions at once, each on its own thread, as two people of one web server.
  bool adminRight = false, salesRight = true;
  std::string adminOption, salesOption;
  Variant adminIndustry, salesIndustry;
  std::thread a([&] {
    for (int i = 0; i < 20; ++i) adminRight = PriceRight(*admin);
    adminOption = admin->CreateObject(host::progid::kUserProfileInfo)
                      .As<host::IUserProfileInfo>()
                      ->GetUserProfile(admin->PropsString(), "1030002BillSet", "DoNotResetPrice");
    adminIndustry = admin->Bag()->Item("IndustryType");
  });
  std::thread b([&] {
    for (int i = 0; i < 20; ++i) salesRight = PriceRight(*sales);
    salesOption = sales->CreateObject(host::progid::kUserProfileInfo)
                      .As<host::IUserProfileInfo>()
                      ->GetUserProfile(sales->PropsString(), "1030002BillSet", "DoNotResetPrice");
    salesIndustry = sales->Bag()->Item("IndustryType");
  });
  a.join();
  b.join();
  EXPECT_TRUE(adminRight);
  EXPECT_FALSE(salesRight);
  EXPECT_EQ(adminOption, "1");
  EXPECT_EQ(salesOption, "");
  EXPECT_TRUE(adminIndustry.IsEmpty());
  EXPECT_EQ(salesIndustry, Variant(1));
  EXPECT_TRUE(admin->journal().empty());
  EXPECT_TRUE(sales->journal().empty());
}

TEST_F(SessionTest, ProgIdsReachComponentsAndThePlugInLibrary) {
  auto s = Open("admin");
  EXPECT_TRUE(s->CreateObject("QBX.Dictionary").As<host::IDictionary>());
  auto plugin = s->CreateObject("ZOV_XS_PlugIns.BillEvent_Sale");
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin->TypeName(), "BillEvent_Sale");
  try {
    s->CreateObject("No.Such.Component");
    ADD_FAILURE() << "an unknown ProgID was created";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.number(), 429);
  }
  EXPECT_THROW(Open("nobody"), std::runtime_error);
}

TEST_F(SessionTest, TheSalesBillFormIsBoundToItsPlugIn) {
  auto s = Open("admin");
  auto open = s->OpenBill(1030002);
  ASSERT_TRUE(open.plugin);
  open.form->NewBill();
  // The plug-in put its own tools on the form's bar when the host built the menus.
  EXPECT_TRUE(open.form->bar()->FindTool("mnuQueryPayIn"));
  EXPECT_TRUE(open.form->bar()->FindTool("mnuDoNotResetPrice"));
  auto list = s->OpenList(1030002);
  ASSERT_TRUE(list.plugin);
  EXPECT_TRUE(list.list->bar()->FindTool("mnuEditCheck")->Visible());
  EXPECT_TRUE(s->journal().empty());
}

TEST_F(SessionTest, AFailedStatementIsJournaledAndItsCallerGetsTheMessageAlone) {
  auto s = Open();
  std::string raised;
  try {
    s->Run("SELECT FPrice FROM t_NoSuchTable WHERE FSecret=1234.56");
  } catch (const std::exception& e) {
    raised = e.what();
  }
  EXPECT_THAT(raised, ::testing::HasSubstr("t_NoSuchTable"));
  EXPECT_EQ(raised.find("1234.56"), std::string::npos) << "the statement stays on the server";
  ASSERT_EQ(s->journal().entries().size(), 1u);
  EXPECT_EQ(s->journal().entries()[0].text,
            "SELECT FPrice FROM t_NoSuchTable WHERE FSecret=1234.56");
  s->journal().Clear();
}

}  // namespace
}  // namespace zov::testing
