#include "static_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zov::web {

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
  if (path.find("..") != std::string_view::npos) return std::nullopt;
  if (const char* dir = std::getenv("ZOV_WEB_STATIC"); dir && *dir) {
    std::ifstream in(std::filesystem::path(dir) / std::string(path.substr(1)), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream body;
    body << in.rdbuf();
    return StaticFile{body.str(), TypeOf(path)};
  }
  for (const EmbeddedFile* f = kEmbeddedFiles; !f->path.empty(); ++f)
    if (f->path == path) return StaticFile{std::string(f->body), TypeOf(path)};
  return std::nullopt;
}

}  // namespace zov::web
