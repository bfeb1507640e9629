#include "server.h"

#include <httplib.h>

#include "session/data_connection.h"
#include "static_files.h"
#include "zov/vb/convert.h"

namespace zov::web {

namespace {

constexpr const char* kCookie = "zov_session";
constexpr const char* kJsonType = "application/json; charset=utf-8";

void Reply(httplib::Response& res, const Json& body, int status = 200) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(body.dump(-1, ' ', false, Json::error_handler_t::replace), kJsonType);
}

void Fail(httplib::Response& res, int status, const std::string& message) {
  Reply(res, Json{{"error", message}}, status);
}

Json Body(const httplib::Request& req) {
  if (req.body.empty()) return Json::object();
  Json body = Json::parse(req.body, nullptr, false);
  return body.is_discarded() ? Json() : body;
}

std::string TokenOf(const httplib::Request& req) {
  const std::string cookies = req.get_header_value("Cookie");
  const std::string key = std::string(kCookie) + "=";
  for (std::size_t at = 0; at < cookies.size();) {
    std::size_t end = cookies.find(';', at);
    if (end == std::string::npos) end = cookies.size();
    std::size_t start = at;
    while (start < end && cookies[start] == ' ') ++start;
    if (cookies.compare(start, key.size(), key) == 0)
      return cookies.substr(start + key.size(), end - start - key.size());
    at = end + 1;
  }
  return {};
}

}  // namespace

WebServer::WebServer(ServerSetup setup)
    : sessions_(std::move(setup)),
      directory_(sim::ConnectToDatabase(sessions_.setup().database)),
      http_(std::make_unique<httplib::Server>()) {
  // A request of a window may wait while that window runs; many may be open at once.
  http_->new_task_queue = [] { return new httplib::ThreadPool(32); };
  Routes();
}

WebServer::~WebServer() { sessions_.Clear(); }

int WebServer::Bind(int port) {
  if (port == 0) return http_->bind_to_any_port("127.0.0.1");
  return http_->bind_to_port("127.0.0.1", port) ? port : -1;
}

void WebServer::Listen() { http_->listen_after_bind(); }

void WebServer::Stop() { http_->stop(); }

void WebServer::Routes() {
  auto& http = *http_;

  http.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
        std::string what = "internal error";
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        Fail(res, 500, what);
      });

  // Who may log in, and the bills they may open; read from the account set itself.
  http.Get("/api/users", [this](const httplib::Request&, httplib::Response& res) {
    std::lock_guard hold(directoryMutex_);
    const auto sets = directory_->Execute(
        "SELECT FNumber, FName FROM t_User WHERE FForbidden = 0 OR FForbidden IS NULL ORDER BY "
        "FUserID");
    Json users = Json::array();
    if (!sets.empty())
      for (const auto& r : sets[0].rows)
        users.push_back(
            Json{{"number", vb::CStr(r[0])}, {"name", r[1].IsNull() ? "" : vb::CStr(r[1])}});
    Reply(res, users);
  });

  http.Get("/api/bills", [this](const httplib::Request& req, httplib::Response& res) {
    if (!sessions_.Find(TokenOf(req))) return Fail(res, 401, "请先登录。");
    std::lock_guard hold(directoryMutex_);
    const auto sets = directory_->Execute(
        "SELECT FClassTypeID, FName, FProgID FROM t_BillClassType WHERE FProgID LIKE "
        "'ZOV_XS_PlugIns.%' "
        "ORDER BY FClassTypeID");
    Json bills = Json::array();
    if (!sets.empty())
      for (const auto& r : sets[0].rows) {
        const long id = vb::CLng(r[0]);
        if (!sessions_.setup().templates->count(id)) continue;  // a class without a form
        bills.push_back(
            Json{{"classTypeId", id}, {"name", vb::CStr(r[1])}, {"plugin", vb::CStr(r[2])}});
      }
    Reply(res, bills);
  });

  http.Post("/api/login", [this](const httplib::Request& req, httplib::Response& res) {
    const Json body = Body(req);
    const std::string user = body.is_object() ? body.value("user", std::string()) : std::string();
    if (user.empty()) return Fail(res, 400, "请选择用户。");
    std::string token;
    try {
      token = sessions_.Login(user);
    } catch (const std::exception& e) {
      return Fail(res, 403, e.what());
    }
    sessions_.Logout(TokenOf(req));
    auto session = sessions_.Find(token);
    res.set_header("Set-Cookie",
                   std::string(kCookie) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict");
    Reply(res, Json{{"user", session->userNumber()}, {"name", session->userName()}});
  });

  http.Post("/api/logout", [this](const httplib::Request& req, httplib::Response& res) {
    sessions_.Logout(TokenOf(req));
    res.set_header("Set-Cookie", std::string(kCookie) + "=; Path=/; Max-Age=0");
    Reply(res, Json{{"ok", true}});
  });

  http.Get("/api/me", [this](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, "请先登录。");
    Reply(res, Json{{"user", session->userNumber()}, {"name", session->userName()}});
  });

  http.Get("/api/journal", [this](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, "请先登录。");
    Reply(res, JournalJson(session->host().journal().entries(), 500));
  });

  // A list's operation may ask for a bill form (new, copied or stored): it opens here, once the
  // list's own operation is over, and the browser goes to it.
  auto follow = [](WebSession& session, Window& window, Json& outcome) {
    auto request = window.TakeOpenRequest();
    if (!request) return;
    auto bill = session.NewBillWindow();
    Json opened = bill->Open(request->classTypeId, request->billId, request->copy, request->edit);
    if (opened.contains("result") && opened["result"].contains("error")) {
      session.CloseWindow(bill->id());
      outcome["openError"] = opened["result"]["error"];
      return;
    }
    outcome["opened"] = bill->id();
  };

  http.Post("/api/windows", [this, follow](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, "请先登录。");
    const Json body = Body(req);
    if (!body.is_object()) return Fail(res, 400, "bad request");
    const std::string kind = body.value("kind", std::string("bill"));
    const long classTypeId = body.value("classTypeId", 0L);
    if (!sessions_.setup().templates->count(classTypeId)) return Fail(res, 404, "没有这种单据。");
    std::shared_ptr<Window> window;
    Json outcome;
    if (kind == "list") {
      auto list = session->NewListWindow();
      window = list;
      outcome = list->Open(classTypeId);
    } else {
      auto bill = session->NewBillWindow();
      window = bill;
      outcome = bill->Open(classTypeId, body.value("billId", 0L), {});
    }
    if (outcome.contains("result") && outcome["result"].contains("error")) {
      session->CloseWindow(window->id());
      return Reply(res, outcome, 422);
    }
    Reply(res, outcome);
  });

  // The calls of one window.
  auto withWindow = [this](const httplib::Request& req, httplib::Response& res,
                           const std::function<void(WebSession&, Window&)>& call) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, "请先登录。");
    auto window = session->Find(std::stoi(req.matches[1]));
    if (!window) return Fail(res, 404, "窗口已关闭。");
    try {
      call(*session, *window);
    } catch (const FormThread::Busy& e) {
      Fail(res, 409, e.what());
    }
  };

  http.Get(
      R"(/api/windows/(\d+))", [withWindow](const httplib::Request& req, httplib::Response& res) {
        withWindow(req, res, [&](WebSession&, Window& window) { Reply(res, window.Current()); });
      });

  http.Post(R"(/api/windows/(\d+)/op)",
            [withWindow, follow](const httplib::Request& req, httplib::Response& res) {
              withWindow(req, res, [&](WebSession& session, Window& window) {
                const Json body = Body(req);
                if (!body.is_object() || !body.contains("op")) return Fail(res, 400, "bad request");
                Json outcome = window.Perform(body);
                if (!outcome.contains("dialog")) follow(session, window, outcome);
                Reply(res, outcome);
              });
            });

  http.Post(R"(/api/windows/(\d+)/answer)",
            [withWindow, follow](const httplib::Request& req, httplib::Response& res) {
              withWindow(req, res, [&](WebSession& session, Window& window) {
                Json outcome = window.Answer(Body(req));
                if (!outcome.contains("dialog")) follow(session, window, outcome);
                Reply(res, outcome);
              });
            });

  http.Post(R"(/api/windows/(\d+)/close)",
            [this](const httplib::Request& req, httplib::Response& res) {
              auto session = sessions_.Find(TokenOf(req));
              if (!session) return Fail(res, 401, "请先登录。");
              session->CloseWindow(std::stoi(req.matches[1]));
              Reply(res, Json{{"ok", true}});
            });

  // The front end; after the API, which the pattern would swallow.
  http.Get(R"(/(.*))", [](const httplib::Request& req, httplib::Response& res) {
    std::string path = req.path;
    if (path.rfind("/api/", 0) == 0) return Fail(res, 404, "no such call");
    if (path == "/") path = "/index.html";
    auto file = FindStatic(path);
    if (!file) return Fail(res, 404, "not found");
    res.set_header("Cache-Control", "no-cache");
    res.set_content(std::move(file->body), file->type);
  });
}

}  // namespace zov::web
