// A person's end of the browser host's JSON API over loopback, for the server tests: one
// session cookie, JSON in and out.
#pragma once

#include <httplib.h>

#include <nlohmann/json.hpp>
#include <string>

namespace zov::web::testing {

using Json = nlohmann::json;

class ApiClient {
 public:
  struct Reply {
    int status = 0;  // 0 when no answer came (the server is gone)
    Json body;
    std::string text, cookie;
  };

  explicit ApiClient(int port) : port_(port), http_("127.0.0.1", port) {
    http_.set_read_timeout(60, 0);
  }

  Reply Send(const std::string& method, const std::string& path, const std::string& body,
             httplib::Headers headers = {}, const std::string& type = "application/json") {
    if (!token_.empty()) headers.emplace("Cookie", "zov_session=" + token_);
    auto res = method == "GET" ? http_.Get(path, headers) : http_.Post(path, headers, body, type);
    Reply a;
    if (!res) return a;
    a.status = res->status;
    a.text = res->body;
    a.body = Json::parse(res->body, nullptr, false);
    a.cookie = res->get_header_value("Set-Cookie");
    return a;
  }
  Reply Post(const std::string& path, const Json& body) { return Send("POST", path, body.dump()); }
  Reply Get(const std::string& path) { return Send("GET", path, ""); }

  // Logs in; on success the session's token is the client's from now on.
  Reply Login(const std::string& user, const std::string& password) {
    token_.clear();
    Reply a = Post("/api/login", {{"user", user}, {"password", password}});
    const std::string key = "zov_session=";
    if (a.status == 200 && a.cookie.rfind(key, 0) == 0)
      token_ = a.cookie.substr(key.size(), a.cookie.find(';') - key.size());
    return a;
  }
  // Opens a window of kind "bill" or "list"; its number, or 0.
  int Open(long classTypeId, const char* kind = "bill") {
    Reply a = Post("/api/windows", {{"kind", kind}, {"classTypeId", classTypeId}});
    return a.status == 200 ? a.body["window"]["id"].get<int>() : 0;
  }
  Reply Op(int window, const Json& body) {
    return Post("/api/windows/" + std::to_string(window) + "/op", body);
  }
  Reply Answer(int window, const Json& body) {
    return Post("/api/windows/" + std::to_string(window) + "/answer", body);
  }
  Reply Edit(int window, const std::string& key, long row, const Json& value) {
    return Op(window, {{"op", "edit"}, {"key", key}, {"row", row}, {"value", value}});
  }

  int port() const { return port_; }
  std::string& token() { return token_; }

 private:
  int port_;
  httplib::Client http_;
  std::string token_;
};

// The text of the header field `key` in a window's view, or "".
inline std::string HeadText(const Json& view, const std::string& key) {
  if (!view.is_object() || !view.contains("head")) return {};
  for (const auto& f : view["head"])
    if (f.value("key", "") == key) return f.value("text", "");
  return {};
}

}  // namespace zov::web::testing
