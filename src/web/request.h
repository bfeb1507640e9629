// What a request of the browser may hold, checked before anything acts on it. A request that
// does not fit (not JSON, nested too deep, a value of the wrong kind or out of range) raises
// BadRequest with a message for the person; the server answers it with 400.
#pragma once

#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zov::web {

using Json = nlohmann::json;

struct BadRequest : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

// The deepest nesting of arrays and objects a request may have.
inline constexpr int kMaxRequestDepth = 16;

// The body of a request: a JSON object (an empty body is an empty object). Its nesting is
// measured before it is parsed, so no text can take the parser deeper than kMaxRequestDepth.
Json ParseRequest(std::string_view body);

// The number under `key` (a JSON integer, or a text of one), within [min, max]; `otherwise` when
// the key is missing or null.
long long NumberIn(const Json& request, const char* key, long long otherwise, long long min,
                   long long max);
inline long IntIn(const Json& request, const char* key, long otherwise, long min = 0,
                  long max = std::numeric_limits<int>::max()) {
  return static_cast<long>(NumberIn(request, key, otherwise, min, max));
}
// The text under `key`, at most `maxBytes` long; `otherwise` when missing (required when
// `otherwise` is null).
std::string TextIn(const Json& request, const char* key, const char* otherwise = nullptr,
                   std::size_t maxBytes = 200);
// The flag under `key`; `otherwise` when missing.
bool FlagIn(const Json& request, const char* key, bool otherwise);

// A window number from a path, or BadRequest.
int WindowNumber(std::string_view text);

}  // namespace zov::web
