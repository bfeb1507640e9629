#include "server.h"

#include <httplib.h>

#include <algorithm>
#include <iostream>

#include "components/user_login.h"
#include "request.h"
#include "session/data_connection.h"
#include "static_files.h"
#include "zov/vb/convert.h"

namespace zov::web {

namespace {

constexpr const char* kCookie = "zov_session";
constexpr const char* kJsonType = "application/json; charset=utf-8";
constexpr std::size_t kMaxBody = 256 * 1024;
constexpr const char* kLoginFirst = "请先登录。";

void Reply(httplib::Response& res, const Json& body, int status = 200) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_header("X-Content-Type-Options", "nosniff");
  res.set_content(body.dump(-1, ' ', false, Json::error_handler_t::replace), kJsonType);
}

void Fail(httplib::Response& res, int status, const std::string& message) {
  Reply(res, Json{{"error", message}}, status);
}

// An outcome of a window: 400 when the request did not fit, with the window's view all the same.
void ReplyOutcome(httplib::Response& res, Json outcome) {
  const bool bad = outcome.value("badRequest", false);
  if (bad && outcome.contains("result")) outcome["error"] = outcome["result"].value("error", "");
  Reply(res, outcome, bad ? 400 : 200);
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

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

WebServer::WebServer(ServerSetup setup)
    : sessions_(std::move(setup)),
      directory_(sim::ConnectToDatabase(sessions_.setup().database)),
      http_(std::make_unique<httplib::Server>()) {
  // A request of a window may wait while that window runs; many may be open at once.
  http_->new_task_queue = [] { return new httplib::ThreadPool(32); };
  http_->set_payload_max_length(kMaxBody);
  Routes();
}

WebServer::~WebServer() { sessions_.Clear(); }

int WebServer::Bind(int port) {
  port_ = port == 0 ? http_->bind_to_any_port("127.0.0.1")
                    : (http_->bind_to_port("127.0.0.1", port) ? port : -1);
  return port_;
}

void WebServer::Listen() { http_->listen_after_bind(); }

void WebServer::Stop() { http_->stop(); }

std::string WebServer::Refusal(const std::string& method, const std::string& host,
                               const std::string& origin, const std::string& contentType) const {
  // The server answers for its own address only: a page of another name that resolves here (a
  // rebound name) gets nothing.
  const std::string port = std::to_string(port_);
  if (host != "127.0.0.1:" + port && host != "localhost:" + port) return "主机名不正确。";
  if (method == "GET" || method == "HEAD") return {};
  // What changes anything comes from the host's own pages, as JSON (which a page of another
  // origin cannot send without asking first, and is never allowed to).
  if (!origin.empty() && origin != "http://" + host) return "不接受来自其他网站的请求。";
  if (!StartsWith(contentType, "application/json")) return "请求的内容应为 JSON。";
  return {};
}

void WebServer::Routes() {
  auto& http = *http_;

  http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const std::string refused =
        Refusal(req.method, req.get_header_value("Host"), req.get_header_value("Origin"),
                req.get_header_value("Content-Type"));
    if (refused.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Fail(res, 403, refused);
    return httplib::Server::HandlerResponse::Handled;
  });

  // Whatever a handler raises ends in an answer: a request that does not fit gets 400 with its
  // reason; anything else is the server's fault, journaled here, and the person learns only that.
  http.set_exception_handler([](const httplib::Request& req, httplib::Response& res,
                                std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const BadRequest& e) {
      return Fail(res, 400, e.what());
    } catch (const Json::exception&) {
      return Fail(res, 400, "请求的内容不正确。");
    } catch (const sim::LoginRefused& e) {
      return Fail(res, 403, e.what());
    } catch (const LoginThrottled& e) {
      return Fail(res, 429, e.what());
    } catch (const ServerFull& e) {
      return Fail(res, 503, e.what());
    } catch (const FormThread::Busy& e) {
      return Fail(res, 409, e.what());
    } catch (const std::exception& e) {
      std::cerr << "zov-web: " << req.method << " " << req.path << ": " << e.what() << std::endl;
    } catch (...) {
      std::cerr << "zov-web: " << req.method << " " << req.path << ": unknown error" << std::endl;
    }
    Fail(res, 500, "服务器内部错误，详细情况已记入服务器日志。");
  });
  // What httplib answers by itself gets a message too.
  http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    if (res.status == 413) return Fail(res, 413, "请求的内容太长。");
    if (res.status == 404) return Fail(res, 404, "没有这个接口。");
    Fail(res, res.status, res.status < 500 ? "请求的格式不正确。" : "服务器内部错误。");
  });

  http.Get("/api/bills", [this](const httplib::Request& req, httplib::Response& res) {
    if (!sessions_.Find(TokenOf(req))) return Fail(res, 401, kLoginFirst);
    std::lock_guard hold(directoryMutex_);
    const auto sets = directory_->Execute(
        "SELECT FClassTypeID, FName, FProgID FROM t_BillClassType WHERE FProgID LIKE "
        "'ZOV_XS_PlugIns.%' "
        "ORDER BY FClassTypeID");
    Json bills = Json::array();
    if (!sets.empty())
      for (const auto& r : sets[0].rows) {
        const long id = vb::CLng(r[0]);
        const auto tmpl = sessions_.setup().templates->find(id);
        if (tmpl == sessions_.setup().templates->end()) continue;  // a class without a form
        // The kinds of the class with a list of their own.
        Json lists = Json::array();
        for (const auto& k : tmpl->second->listKinds)
          lists.push_back(Json{{"billType", k.billType}, {"caption", k.caption}});
        bills.push_back(Json{{"classTypeId", id},
                             {"name", vb::CStr(r[1])},
                             {"plugin", vb::CStr(r[2])},
                             {"lists", std::move(lists)}});
      }
    Reply(res, bills);
  });

  http.Post("/api/login", [this](const httplib::Request& req, httplib::Response& res) {
    const Json body = ParseRequest(req.body);
    const std::string user = TextIn(body, "user", "", 50);
    const std::string password = TextIn(body, "password", "", 200);
    if (user.empty()) return Fail(res, 400, "请输入用户名。");
    if (password.empty()) return Fail(res, 400, "请输入密码。");
    const std::string token = sessions_.Login(user, password);
    sessions_.Logout(TokenOf(req));
    auto session = sessions_.Find(token);
    if (!session) return Fail(res, 503, "服务器的会话已满，请稍后再登录。");
    res.set_header("Set-Cookie",
                   std::string(kCookie) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict");
    Reply(res, Json{{"user", session->userNumber()}, {"name", session->userName()}});
  });

  http.Post("/api/logout", [this](const httplib::Request& req, httplib::Response& res) {
    sessions_.Logout(TokenOf(req));
    res.set_header("Set-Cookie",
                   std::string(kCookie) + "=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict");
    Reply(res, Json{{"ok", true}});
  });

  http.Get("/api/me", [this](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, kLoginFirst);
    Reply(res, Json{{"user", session->userNumber()}, {"name", session->userName()}});
  });

  http.Get("/api/journal", [this](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, kLoginFirst);
    Reply(res, JournalJson(session->host().journal().entries(), 500));
  });

  // A list's operation may ask for a bill form (new, copied or stored): it opens here, once the
  // list's own operation is over, and the browser goes to it.
  auto follow = [](WebSession& session, Window& window, Json& outcome) {
    auto request = window.TakeOpenRequest();
    if (!request) return;
    auto bill = session.NewBillWindow();
    Json opened = bill->Open(request->classTypeId, request->billId, request->copy, request->edit,
                             false, request->billType);
    if (opened.contains("result") && opened["result"].contains("error")) {
      session.CloseWindow(bill->id());
      outcome["openError"] = opened["result"]["error"];
      return;
    }
    outcome["opened"] = bill->id();
  };

  http.Post("/api/windows", [this](const httplib::Request& req, httplib::Response& res) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, kLoginFirst);
    const Json body = ParseRequest(req.body);
    const std::string kind = TextIn(body, "kind", "bill", 10);
    if (kind != "bill" && kind != "list")
      throw BadRequest("窗口只有单据（bill）和列表（list）两种。");
    const long classTypeId = IntIn(body, "classTypeId", 0);
    const long billId = IntIn(body, "billId", 0);
    const auto tmpl = sessions_.setup().templates->find(classTypeId);
    if (tmpl == sessions_.setup().templates->end()) return Fail(res, 404, "没有这种单据。");
    // A list of one kind is one the class offers.
    const long billType = kind == "list" ? IntIn(body, "billType", 0) : 0;
    if (billType != 0 &&
        std::none_of(tmpl->second->listKinds.begin(), tmpl->second->listKinds.end(),
                     [&](const sim::ListKind& k) { return k.billType == billType; }))
      throw BadRequest("这种单据没有这样的列表。");
    std::shared_ptr<Window> window;
    Json outcome;
    if (kind == "list") {
      auto list = session->NewListWindow();
      window = list;
      outcome = list->Open(classTypeId, billType);
    } else {
      auto bill = session->NewBillWindow();
      window = bill;
      outcome = bill->Open(classTypeId, billId, {}, false, false);
    }
    if (outcome.contains("result") && outcome["result"].contains("error")) {
      session->CloseWindow(window->id());
      const bool bad = outcome.value("badRequest", false);
      outcome["error"] = outcome["result"]["error"];
      return Reply(res, outcome, bad ? 400 : 422);
    }
    Reply(res, outcome);
  });

  // The calls of one window.
  auto withWindow = [this](const httplib::Request& req, httplib::Response& res,
                           const std::function<void(WebSession&, Window&)>& call) {
    auto session = sessions_.Find(TokenOf(req));
    if (!session) return Fail(res, 401, kLoginFirst);
    auto window = session->Find(WindowNumber(req.matches[1].str()));
    if (!window) return Fail(res, 404, "窗口已关闭。");
    call(*session, *window);
  };

  http.Get(
      R"(/api/windows/(\d+))", [withWindow](const httplib::Request& req, httplib::Response& res) {
        withWindow(req, res, [&](WebSession&, Window& window) { Reply(res, window.Current()); });
      });

  // How far a window's running operation got; asked while the operation runs, so it never waits
  // for the window's thread.
  http.Get(R"(/api/windows/(\d+)/progress)",
           [withWindow](const httplib::Request& req, httplib::Response& res) {
             withWindow(req, res, [&](WebSession&, Window& window) {
               Reply(res, Json{{"progress", window.Progress()}});
             });
           });

  http.Post(R"(/api/windows/(\d+)/op)",
            [withWindow, follow](const httplib::Request& req, httplib::Response& res) {
              withWindow(req, res, [&](WebSession& session, Window& window) {
                const Json body = ParseRequest(req.body);
                if (!body.contains("op")) throw BadRequest("请求缺少“op”。");
                Json outcome = window.Perform(body);
                if (!outcome.contains("dialog")) follow(session, window, outcome);
                ReplyOutcome(res, std::move(outcome));
              });
            });

  http.Post(R"(/api/windows/(\d+)/answer)",
            [withWindow, follow](const httplib::Request& req, httplib::Response& res) {
              withWindow(req, res, [&](WebSession& session, Window& window) {
                Json outcome = window.Answer(ParseRequest(req.body));
                if (!outcome.contains("dialog")) follow(session, window, outcome);
                ReplyOutcome(res, std::move(outcome));
              });
            });

  http.Post(R"(/api/windows/(\d+)/close)",
            [this](const httplib::Request& req, httplib::Response& res) {
              auto session = sessions_.Find(TokenOf(req));
              if (!session) return Fail(res, 401, kLoginFirst);
              session->CloseWindow(WindowNumber(req.matches[1].str()));
              Reply(res, Json{{"ok", true}});
            });

  // The front end; after the API, which the pattern would swallow.
  http.Get(R"(/(.*))", [](const httplib::Request& req, httplib::Response& res) {
    std::string path = req.path;
    if (path.rfind("/api/", 0) == 0) return Fail(res, 404, "没有这个接口。");
    if (path == "/") path = "/index.html";
    auto file = FindStatic(path);
    if (!file) return Fail(res, 404, "没有这个文件。");
    res.set_header("Cache-Control", "no-cache");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("X-Frame-Options", "DENY");
    res.set_content(std::move(file->body), file->type);
  });
}

}  // namespace zov::web
