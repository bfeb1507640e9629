// The browser host's front end (src/web/static), built into the program so that it runs from
// wherever it is installed. ZOV_WEB_STATIC in the environment names a folder to serve instead,
// for working on the front end without rebuilding.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zov::web {

struct StaticFile {
  std::string body;
  std::string type;  // the Content-Type
};

// The file at `path` ("/index.html", "/js/bill.js"), or nothing. Only files below the front
// end's folder are served, however the path is spelled.
std::optional<StaticFile> FindStatic(std::string_view path);
// `path` as a path below the front end's folder ("js/bill.js"), or nothing when it would lead
// elsewhere ("//etc/passwd", "/js/../../x", "/C:/x").
std::optional<std::filesystem::path> StaticRelativePath(std::string_view path);

}  // namespace zov::web
