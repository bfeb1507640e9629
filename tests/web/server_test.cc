// The browser host's server over loopback, as a careless user and an attacker would meet it:
// logins with passwords, requests of every wrong shape, requests from other origins, paths out of
// the front end's folder, and the limits on sessions and windows.
#include "server.h"

#include <gmock/gmock.h>
#include <httplib.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "../host/host_fixture.h"
#include "api_client.h"
#include "components/user_login.h"
#include "session/data_connection.h"
#include "static_files.h"
#include "zov/vb/convert.h"

namespace zov::web {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr long kPurchase = 1020002;
constexpr long kSale = 1030002;

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(Limits{}); }
  void TearDown() override {
    Stop();
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path_ + suffix, ec);
  }

  void Start(Limits limits) {
    if (path_.empty()) {
      path_ = zov::testing::TestDatabases().freshCopy("demo");
      auto db = sim::ConnectToDatabase(path_);
      sim::SetPassword(*db, "admin", "Admin@2026");
      sim::SetPassword(*db, "wangxm", "Wangxm@2026");
    }
    ServerSetup setup;
    setup.database = path_;
    setup.systemDirectory = (fs::temp_directory_path() / "zov-web-test-system").string();
    setup.templates = zov::testing::TestDatabases().templates;
    setup.limits = limits;
    server_ = std::make_unique<WebServer>(setup);
    port_ = server_->Bind(0);
    ASSERT_GT(port_, 0);
    listening_ = std::thread([this] { server_->Listen(); });
    client_ = std::make_unique<testing::ApiClient>(port_);
    for (int i = 0; i < 200 && client_->Get("/api/me").status == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  void Stop() {
    if (!server_) return;
    server_->Stop();
    listening_.join();
    server_.reset();
  }

  using Answer = testing::ApiClient::Reply;
  Answer Send(const std::string& method, const std::string& path, const std::string& body,
              httplib::Headers headers = {}, const std::string& type = "application/json") {
    return client_->Send(method, path, body, std::move(headers), type);
  }
  Answer Post(const std::string& path, const Json& body) { return client_->Post(path, body); }
  Answer Get(const std::string& path) { return client_->Get(path); }
  Answer Login(const std::string& user, const std::string& password) {
    return client_->Login(user, password);
  }
  int OpenWindow(long classTypeId, const char* kind = "bill") {
    const int id = client_->Open(classTypeId, kind);
    EXPECT_GT(id, 0);
    return id;
  }
  Answer Op(int window, const Json& body) { return client_->Op(window, body); }
  std::string& token() { return client_->token(); }

  std::string path_;
  std::unique_ptr<WebServer> server_;
  std::thread listening_;
  int port_ = 0;
  std::unique_ptr<testing::ApiClient> client_;
};

TEST_F(ServerTest, ALoginNeedsTheUsersPasswordAndFailuresMakeTheNextOnesWait) {
  Stop();
  Limits limits;
  limits.freeLoginFailures = 2;
  limits.loginWait = std::chrono::milliseconds(300);
  Start(limits);

  EXPECT_EQ(Post("/api/login", {{"user", "admin"}}).status, 400) << "no password";
  EXPECT_EQ(Post("/api/login", {{"user", "admin"}, {"password", 12}}).status, 400);
  Answer a = Login("admin", "admin");
  EXPECT_EQ(a.status, 403);
  EXPECT_EQ(a.body["error"], "用户名或密码不正确。");
  EXPECT_TRUE(a.cookie.empty());
  EXPECT_EQ(Login("Admin", "Admin@2026").status, 403) << "the name as stored, exactly";
  EXPECT_EQ(Login("lili", "Lili@2026").status, 403) << "a user without a password";

  a = Login("admin", "Admin@2026");
  ASSERT_EQ(a.status, 200) << a.text;
  EXPECT_EQ(a.body["user"], "admin");
  EXPECT_THAT(a.cookie, HasSubstr("HttpOnly"));
  EXPECT_THAT(a.cookie, HasSubstr("SameSite=Strict"));
  EXPECT_EQ(token().size(), 64u);
  EXPECT_EQ(token().find_first_not_of("0123456789abcdef"), std::string::npos);
  const std::string first = token();
  EXPECT_EQ(Get("/api/me").status, 200);
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  EXPECT_NE(token(), first);

  // Past the free failures each wrong password makes the next attempt wait, right or wrong.
  EXPECT_EQ(Login("wangxm", "guess 1").status, 403);
  EXPECT_EQ(Login("wangxm", "guess 2").status, 403);
  EXPECT_EQ(Login("wangxm", "guess 3").status, 403);
  a = Login("wangxm", "Wangxm@2026");
  EXPECT_EQ(a.status, 429);
  EXPECT_THAT(a.body["error"].get<std::string>(), HasSubstr("登录失败次数过多"));
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  EXPECT_EQ(Login("wangxm", "Wangxm@2026").status, 200);

  // A forbidden user stays out, and logging out ends the session.
  auto db = sim::ConnectToDatabase(path_);
  db->Execute("UPDATE t_User SET FForbidden=1 WHERE FNumber='admin'");
  EXPECT_EQ(Login("admin", "Admin@2026").status, 403);
  ASSERT_EQ(Login("wangxm", "Wangxm@2026").status, 200);
  EXPECT_EQ(Post("/api/logout", Json::object()).status, 200);
  EXPECT_EQ(Get("/api/me").status, 401);
}

TEST_F(ServerTest, EveryBadRequestGets400AndTheWindowGoesOn) {
  // Deep nesting is refused before it is parsed.
  std::string deep = "{\"user\":" + std::string(10000, '[') + std::string(10000, ']') + "}";
  Answer a = Send("POST", "/api/login", deep);
  EXPECT_EQ(a.status, 400);
  EXPECT_THAT(a.body["error"].get<std::string>(), HasSubstr("嵌套过深"));
  EXPECT_EQ(Send("POST", "/api/login", "not json").status, 400);
  EXPECT_EQ(Send("POST", "/api/login", "[\"admin\"]").status, 400);
  EXPECT_EQ(Send("POST", "/api/login", std::string(300 * 1024, ' ')).status, 413);

  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  EXPECT_EQ(Post("/api/windows", {{"kind", 5}, {"classTypeId", kPurchase}}).status, 400);
  EXPECT_EQ(Post("/api/windows", {{"kind", "grid"}, {"classTypeId", kPurchase}}).status, 400);
  EXPECT_EQ(Post("/api/windows", {{"classTypeId", "abc"}}).status, 400);
  EXPECT_EQ(Post("/api/windows", {{"classTypeId", 1e300}}).status, 400);
  EXPECT_EQ(Post("/api/windows", {{"classTypeId", kPurchase}, {"billId", -4}}).status, 400);
  EXPECT_EQ(Get("/api/windows/99999999999").status, 400);
  EXPECT_EQ(Get("/api/windows/4294967297").status, 400);
  EXPECT_EQ(Get("/api/windows/12345").status, 404);
  a = Post("/api/nothing", Json::object());
  EXPECT_EQ(a.status, 404);
  EXPECT_TRUE(a.body.contains("error")) << a.text;

  const int bill = OpenWindow(kPurchase);
  const Json bad[] = {
      {{"op", 5}},
      {{"op", "fly"}},
      {{"op", "edit"}, {"key", "FDate"}, {"value", 2958466}},
      {{"op", "edit"}, {"key", "FShowQty"}, {"row", 4294967296LL}, {"value", 1}},
      {{"op", "edit"}, {"key", "FShowQty"}, {"row", 7}, {"value", 1}},
      {{"op", "edit"}, {"key", "FShowQty"}, {"row", 1}, {"value", {{"a", 1}}}},
      {{"op", "edit"}, {"key", "FShowQty"}, {"row", "x"}, {"value", 1}},
      {{"op", "edit"}, {"key", 7}, {"value", 1}},
      {{"op", "edit"}, {"key", "FStatus"}, {"value", 1}},
      {{"op", "tool"}},
      {{"op", "deleteRow"}, {"row", -1}},
      {{"op", "addRow"}, {"grid", 3}},
      {{"op", "pick"}, {"key", "FSupplyID"}, {"q", 123}},
      {{"op", "pick"}, {"key", "FShowQty"}},
  };
  for (const Json& request : bad) {
    a = Op(bill, request);
    EXPECT_EQ(a.status, 400) << request.dump() << " " << a.text;
    EXPECT_TRUE(a.body.contains("error")) << request.dump();
  }
  EXPECT_EQ(Post("/api/windows/" + std::to_string(bill) + "/answer", {{"result", 1}}).status, 409)
      << "no question is waiting";

  // A text that is no date is the host's question to the person, and the bill goes on.
  a = Op(bill, {{"op", "edit"}, {"key", "FDate"}, {"value", "2958466"}});
  ASSERT_EQ(a.status, 200) << a.text;
  ASSERT_TRUE(a.body.contains("dialog")) << a.text;
  EXPECT_THAT(a.body["dialog"]["text"].get<std::string>(), HasSubstr("不是有效的日期"));
  a = Post("/api/windows/" + std::to_string(bill) + "/answer", {{"result", 1}});
  EXPECT_EQ(a.body["result"]["ok"], false);
  a = Op(bill, {{"op", "edit"}, {"key", "FSupplyID"}, {"value", "S001"}});
  EXPECT_EQ(a.status, 200);
  EXPECT_EQ(a.body["result"]["ok"], true) << a.text;
  EXPECT_EQ(Get("/api/windows/" + std::to_string(bill)).status, 200);

  const int list = OpenWindow(kPurchase, "list");
  EXPECT_EQ(Op(list, {{"op", "tool"}, {"key", "mnuEditCheck"}, {"selected", "x"}}).status, 400);
  EXPECT_EQ(Op(list, {{"op", "tool"}, {"key", "mnuEditCheck"}, {"selected", {1e20}}}).status, 400);
  EXPECT_EQ(Op(list, {{"op", "openBill"}, {"billId", 99999}}).status, 400);
  EXPECT_EQ(Op(list, {{"op", "refresh"}}).status, 200);
}

TEST_F(ServerTest, OnlyTheHostsOwnPagesChangeAnything) {
  const std::string self = "127.0.0.1:" + std::to_string(port_);
  const std::string login = Json{{"user", "admin"}, {"password", "Admin@2026"}}.dump();
  // A page of another port of the same address, a form post, a rebound name.
  Answer a = Send("POST", "/api/login", login, {{"Origin", "http://127.0.0.1:1"}});
  EXPECT_EQ(a.status, 403);
  EXPECT_TRUE(a.cookie.empty());
  EXPECT_EQ(Send("POST", "/api/login", login, {}, "text/plain").status, 403);
  EXPECT_EQ(Send("POST", "/api/login", login, {}, "application/x-www-form-urlencoded").status, 403);
  EXPECT_EQ(
      Send("POST", "/api/login", login, {{"Host", "evil.example:" + std::to_string(port_)}}).status,
      403);
  EXPECT_EQ(Send("GET", "/", "", {{"Host", "evil.example"}}).status, 403);
  EXPECT_EQ(Send("POST", "/api/login", login, {{"Origin", "http://" + self}}).status, 200);
  EXPECT_EQ(
      Send("POST", "/api/login", login, {{"Host", "localhost:" + std::to_string(port_)}}).status,
      200);

  // Logged in, a request of another origin still changes nothing.
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  a = Send("POST", "/api/windows", Json{{"classTypeId", kPurchase}}.dump(),
           {{"Origin", "http://127.0.0.1:1"}});
  EXPECT_EQ(a.status, 403);
  EXPECT_EQ(Send("POST", "/api/logout", "{}", {{"Origin", "null"}}).status, 403);
  EXPECT_EQ(Get("/api/me").status, 200);
}

TEST_F(ServerTest, StaticFilesComeOnlyFromTheirFolder) {
  const fs::path root = fs::temp_directory_path() / ("zov-static-" + std::to_string(::getpid()));
  fs::create_directories(root / "site" / "js");
  std::ofstream(root / "site" / "index.html") << "<p>front end</p>";
  std::ofstream(root / "site" / "js" / "a.js") << "export {};";
  std::ofstream(root / "secret.txt") << "not for the browser";
  fs::create_symlink(root / "secret.txt", root / "site" / "link.txt");
  ::setenv("ZOV_WEB_STATIC", (root / "site").c_str(), 1);

  EXPECT_EQ(Get("/").text, "<p>front end</p>");
  EXPECT_EQ(Get("/js/a.js").status, 200);
  for (const char* path : {"//etc/passwd", "/../secret.txt", "/js/../../secret.txt",
                           "/%2e%2e/secret.txt", "/..%2fsecret.txt", "/%2fetc%2fpasswd",
                           "/link.txt", "/js/", "/js%5c..%5c..%5csecret.txt"}) {
    const Answer a = Get(path);
    EXPECT_EQ(a.status, 404) << path;
    EXPECT_EQ(a.text.find("not for the browser"), std::string::npos) << path;
    EXPECT_EQ(a.text.find("root:"), std::string::npos) << path;
  }
  EXPECT_FALSE(StaticRelativePath("//etc/passwd"));
  EXPECT_FALSE(StaticRelativePath("/a/../../b"));
  EXPECT_EQ(StaticRelativePath("/js/a.js")->generic_string(), "js/a.js");

  ::unsetenv("ZOV_WEB_STATIC");
  fs::remove_all(root);
  EXPECT_EQ(Get("/").status, 200) << "the built-in front end again";
  EXPECT_EQ(Get("//etc/passwd").status, 404);
}

TEST_F(ServerTest, SessionsAndWindowsEndWhenIdleOrCrowdedOut) {
  Stop();
  Limits limits;
  limits.sessionsPerUser = 2;
  limits.sessionIdle = std::chrono::hours(1);
  limits.windowIdle = std::chrono::minutes(1);
  limits.windowsPerSession = 3;
  Start(limits);

  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  const std::string oldest = token();
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  const std::string second = token();
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  EXPECT_EQ(server_->sessions().SessionCount(), 2u);
  token() = oldest;
  EXPECT_EQ(Get("/api/me").status, 401) << "the least used session made room";
  token() = second;
  EXPECT_EQ(Get("/api/me").status, 200);

  // At most three windows: a fourth closes the oldest.
  const int first = OpenWindow(kPurchase);
  OpenWindow(kPurchase, "list");
  OpenWindow(kSale, "list");
  const int fourth = OpenWindow(kPurchase);
  EXPECT_EQ(Get("/api/windows/" + std::to_string(first)).status, 404);
  EXPECT_EQ(Get("/api/windows/" + std::to_string(fourth)).status, 200);

  // Windows a closed browser left behind close when idle; idle sessions end.
  const auto now = Clock::now();
  server_->sessions().Reap(now + std::chrono::minutes(2));
  EXPECT_EQ(server_->sessions().SessionCount(), 2u);
  EXPECT_EQ(Get("/api/windows/" + std::to_string(fourth)).status, 404);
  server_->sessions().Reap(now + std::chrono::hours(2));
  EXPECT_EQ(server_->sessions().SessionCount(), 0u);
  EXPECT_EQ(Get("/api/me").status, 401);
}

TEST_F(ServerTest, WhatFailedStaysOnTheServer) {
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  const int bill = OpenWindow(kPurchase);
  Op(bill, {{"op", "edit"}, {"key", "FSupplyID"}, {"value", "S001"}});
  Op(bill, {{"op", "edit"}, {"key", "FItemID"}, {"row", 1}, {"value", "I001"}});
  Op(bill, {{"op", "edit"}, {"key", "FBillNo"}, {"value", "XSD000001"}});
  // The head table refuses the number: the save fails inside the host.
  auto db = sim::ConnectToDatabase(path_);
  db->Execute("CREATE UNIQUE INDEX ux_guard ON t_cc_stockbill (FBillNo)");
  Answer a = Op(bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  ASSERT_TRUE(a.body.contains("dialog")) << a.text;
  EXPECT_EQ(a.body["dialog"]["text"], "保存失败，单据没有保存。");
  a = Post("/api/windows/" + std::to_string(bill) + "/answer", {{"result", 1}});
  EXPECT_GE(a.body["journal"]["count"].get<int>(), 1);
  const std::string journal = Get("/api/journal").text;
  for (const std::string& text : {a.text, journal}) {
    EXPECT_EQ(text.find("INSERT"), std::string::npos) << text;
    EXPECT_EQ(text.find("UNIQUE"), std::string::npos) << text;
    EXPECT_EQ(text.find("t_cc_stockbill"), std::string::npos) << text;
  }
}

TEST_F(ServerTest, AListActsOnlyOnBillsOfItsClassWhateverTheBrowserSends) {
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  auto db = sim::ConnectToDatabase(path_);
  auto state = [&](const char* billNo) {
    return db
        ->Execute(std::string("SELECT FID, FStatus FROM t_cc_stockbill WHERE FBillNo='") + billNo +
                  "'")[0]
        .rows[0];
  };
  // An opening consignment bill and an opening supplier bill, in the sales bills' head table.
  const long consignment = vb::CLng(state("QCWT000001")[0]);
  const long supplier = vb::CLng(state("QCGH000001")[0]);
  const long consignmentStatus = vb::CLng(state("QCWT000001")[1]);
  const long supplierStatus = vb::CLng(state("QCGH000001")[1]);
  const int list = OpenWindow(kSale, "list");
  for (const char* tool : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditDelete"}) {
    Answer a = Op(list, {{"op", "tool"}, {"key", tool}, {"selected", {consignment, supplier}}});
    ASSERT_EQ(a.status, 200) << a.text;
    ASSERT_TRUE(a.body.contains("dialog")) << tool << " " << a.text;
    EXPECT_EQ(a.body["dialog"]["text"], "请先选择单据。") << tool;
    Post("/api/windows/" + std::to_string(list) + "/answer", {{"result", 1}});
  }
  EXPECT_EQ(Op(list, {{"op", "openBill"}, {"billId", consignment}}).status, 400);
  EXPECT_EQ(vb::CLng(state("QCWT000001")[1]), consignmentStatus);
  EXPECT_EQ(vb::CLng(state("QCGH000001")[1]), supplierStatus);
}

// A bill opened from a list of one kind pages through the bills of that kind only; from the
// class's whole list, through all of them.
TEST_F(ServerTest, PreviousAndNextKeepToTheKindOfTheListTheBillCameFrom) {
  ASSERT_EQ(Login("admin", "Admin@2026").status, 200);
  constexpr long kOrder = 1030001;
  auto db = sim::ConnectToDatabase(path_);
  auto idOf = [&](const char* billNo) {
    return vb::CLng(
        db->Execute(std::string("SELECT FID FROM t_XS_Order WHERE FBillNo='") + billNo + "'")[0]
            .rows[0][0]);
  };
  const long online = idOf("XSDD000005"), ordinary = idOf("XSDD000004");
  auto previousFrom = [&](long billType) {
    Answer a =
        Post("/api/windows", {{"kind", "list"}, {"classTypeId", kOrder}, {"billType", billType}});
    EXPECT_EQ(a.status, 200) << a.text;
    const int list = a.body["window"]["id"].get<int>();
    a = Op(list, {{"op", "openBill"}, {"billId", online}});
    EXPECT_TRUE(a.body.contains("opened")) << a.text;
    const int bill = a.body.value("opened", 0);
    return Op(bill, {{"op", "tool"}, {"key", "mnuDataPre2"}});
  };
  Answer a = previousFrom(3032);
  ASSERT_TRUE(a.body.contains("dialog")) << a.text;
  EXPECT_EQ(a.body["dialog"]["text"], "已经是第一张单据。");
  a = previousFrom(0);
  EXPECT_EQ(a.body["view"]["billId"], ordinary) << a.text;
}

}  // namespace
}  // namespace zov::web
