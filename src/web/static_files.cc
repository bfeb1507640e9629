#include "static_files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zov::web {

namespace fs = std::filesystem;

struct EmbeddedFile {
  std::string_view path;
  std::string_view body;
};
extern const EmbeddedFile kEmbeddedFiles[];

namespace {

std::string TypeOf(std::string_view path) {
  auto ends = [&](std::string_view suffix) {
    return path.size() >= suffix.size() && path.substr(path.size() - suffix.size()) == suffix;
  };
  if (ends(".html")) return "text/html; charset=utf-8";
  if (ends(".css")) return "text/css; charset=utf-8";
  if (ends(".js")) return "text/javascript; charset=utf-8";
  if (ends(".svg")) return "image/svg+xml";
  if (ends(".png")) return "image/png";
  if (ends(".json")) return "application/json; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace

std::optional<StaticFile> FindStatic(std::string_view path) {
  const auto relative = StaticRelativePath(path);
  if (!relative) return std::nullopt;
  if (const char* dir = std::getenv("ZOV_WEB_STATIC"); dir && *dir) {
    // The folder's own files only: the real path of the file must lie inside the real folder
    // (a link out of it is not followed out).
    std::error_code ec;
    const fs::path root = fs::canonical(dir, ec);
    if (ec) return std::nullopt;
    const fs::path file = fs::canonical(root / *relative, ec);
    if (ec || !fs::is_regular_file(file, ec)) return std::nullopt;
    const auto [inRoot, inFile] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    if (inRoot != root.end()) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream body;
    body << in.rdbuf();
    return StaticFile{body.str(), TypeOf(file.string())};
  }
  const std::string wanted = "/" + relative->generic_string();
  for (const EmbeddedFile* f = kEmbeddedFiles; !f->path.empty(); ++f)
    if (f->path == wanted) return StaticFile{std::string(f->body), TypeOf(wanted)};
  return std::nullopt;
}

std::optional<fs::path> StaticRelativePath(std::string_view path) {
  // The request's path is already decoded; whatever it spells, it must name a file below the
  // folder: no absolute part, no "..", no control characters, no backslashes.
  if (path.empty() || path.front() != '/' || path.size() > 200) return std::nullopt;
  for (unsigned char c : path)
    if (c < 0x20 || c == 0x7f || c == '\\' || c == ':') return std::nullopt;
  const fs::path relative = fs::path(std::string(path.substr(1))).lexically_normal();
  if (relative.empty() || relative.is_absolute() || relative.has_root_path()) return std::nullopt;
  for (const auto& part : relative)
    if (part == ".." || part == "." || part.empty()) return std::nullopt;
  return relative;
}

}  // namespace zov::web
