#include "request.h"

#include <charconv>

namespace zov::web {

namespace {

// The nesting depth of a JSON text, counting brackets outside strings; stops early once past
// `limit`.
int DepthOf(std::string_view text, int limit) {
  int depth = 0, deepest = 0;
  bool inString = false, escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      deepest = std::max(deepest, ++depth);
      if (deepest > limit) return deepest;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return deepest;
}

std::string Quoted(const char* key) { return std::string("“") + key + "”"; }

}  // namespace

Json ParseRequest(std::string_view body) {
  if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) return Json::object();
  if (DepthOf(body, kMaxRequestDepth) > kMaxRequestDepth) throw BadRequest("请求的内容嵌套过深。");
  Json parsed = Json::parse(body, nullptr, false);
  if (parsed.is_discarded()) throw BadRequest("请求的内容不是有效的 JSON。");
  if (!parsed.is_object()) throw BadRequest("请求的内容应为一个 JSON 对象。");
  return parsed;
}

long long NumberIn(const Json& request, const char* key, long long otherwise, long long min,
                   long long max) {
  if (!request.is_object() || !request.contains(key) || request[key].is_null()) return otherwise;
  const Json& v = request[key];
  long long n = 0;
  bool ok = false;
  if (v.is_number_integer()) {
    ok = v.is_number_unsigned()
             ? v.get<unsigned long long>() <= static_cast<unsigned long long>(max)
             : true;
    if (ok)
      n = v.is_number_unsigned() ? static_cast<long long>(v.get<unsigned long long>())
                                 : v.get<long long>();
  } else if (v.is_number_float()) {
    const double d = v.get<double>();
    ok = d == static_cast<double>(static_cast<long long>(d)) && d >= static_cast<double>(min) &&
         d <= static_cast<double>(max);
    if (ok) n = static_cast<long long>(d);
  } else if (v.is_string()) {
    const std::string& s = v.get_ref<const std::string&>();
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), n);
    ok = error == std::errc() && end == s.data() + s.size();
  }
  if (!ok || n < min || n > max)
    throw BadRequest(Quoted(key) + "应为 " + std::to_string(min) + " 到 " + std::to_string(max) +
                     " 之间的整数。");
  return n;
}

std::string TextIn(const Json& request, const char* key, const char* otherwise,
                   std::size_t maxBytes) {
  if (!request.is_object() || !request.contains(key) || request[key].is_null()) {
    if (!otherwise) throw BadRequest("请求缺少" + Quoted(key) + "。");
    return otherwise;
  }
  const Json& v = request[key];
  if (!v.is_string()) throw BadRequest(Quoted(key) + "应为文字。");
  const std::string& s = v.get_ref<const std::string&>();
  if (s.size() > maxBytes) throw BadRequest(Quoted(key) + "太长。");
  return s;
}

bool FlagIn(const Json& request, const char* key, bool otherwise) {
  if (!request.is_object() || !request.contains(key) || request[key].is_null()) return otherwise;
  const Json& v = request[key];
  if (v.is_boolean()) return v.get<bool>();
  if (v.is_number_integer()) return v.get<long long>() != 0;
  throw BadRequest(Quoted(key) + "应为 true 或 false。");
}

int WindowNumber(std::string_view text) {
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size() || n <= 0)
    throw BadRequest("窗口编号不正确。");
  return n;
}

}  // namespace zov::web
