#include "sql_logic_runner.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "zov/vb/datetime.h"

namespace zov::data::testing {

namespace {

std::string Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return std::string(s);
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == '|') {
      cells.push_back(Trim(std::string_view(line).substr(start, i - start)));
      start = i + 1;
    }
  }
  return cells;
}

char KindLetter(vb::VarType t) {
  switch (t) {
    case vb::VarType::Long:
      return 'I';
    case vb::VarType::Double:
      return 'R';
    case vb::VarType::Currency:
      return 'C';
    case vb::VarType::Date:
      return 'D';
    case vb::VarType::String:
      return 'T';
    case vb::VarType::Boolean:
      return 'B';
    default:
      return '!';
  }
}

std::string JoinCells(const std::vector<std::string>& cells) {
  std::string s;
  for (std::size_t i = 0; i < cells.size(); ++i) s += (i ? " | " : "") + cells[i];
  return s;
}

struct Record {
  int line = 0;
  std::string condition;  // "onlyif <engine>" or "skipif <engine>", or ""
  std::string header;
  std::string sql;
  std::vector<std::string> expected;  // lines after "----"
};

}  // namespace

std::string RenderValue(const vb::Variant& v) {
  switch (v.Type()) {
    case vb::VarType::Null:
      return "NULL";
    case vb::VarType::Empty:
      return "EMPTY";
    case vb::VarType::Boolean:
      return v.AsBool() ? "true" : "false";
    case vb::VarType::Long:
      return std::to_string(v.AsLong());
    case vb::VarType::Double:
      return fmt::format("{}", v.AsDouble());
    case vb::VarType::Currency: {
      const std::int64_t s = v.AsCurrency().scaled;
      const std::int64_t a = s < 0 ? -s : s;
      return fmt::format("{}{}.{:04}", s < 0 ? "-" : "", a / 10000, a % 10000);
    }
    case vb::VarType::Date: {
      const double serial = v.AsDate().serial;
      const double whole = std::floor(serial);
      long long ms = std::llround((serial - whole) * 86400000.0);
      double day = whole;
      if (ms >= 86400000) {
        ms -= 86400000;
        day += 1;
      }
      const vb::DateParts p = vb::PartsOfDate(vb::Date{day});
      return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}.{:03}", p.year, p.month, p.day,
                         ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    }
    case vb::VarType::String: {
      const std::string& s = v.AsString();
      if (s.empty()) return "(empty)";
      if (s.front() == ' ' || s.back() == ' ') return "'" + s + "'";
      return s;
    }
    default:
      return "?";
  }
}

std::vector<std::string> RunSqlLogicFile(const std::filesystem::path& file,
                                         const std::string& location) {
  std::vector<std::string> failures;
  std::ifstream in(file);
  if (!in) return {fmt::format("cannot read {}", file.string())};
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }

  // Split into records.
  std::vector<Record> records;
  for (std::size_t i = 0; i < lines.size();) {
    const std::string t = Trim(lines[i]);
    if (t.empty() || t[0] == '#') {
      ++i;
      continue;
    }
    Record r;
    r.line = static_cast<int>(i) + 1;
    r.header = t;
    ++i;
    if ((t.rfind("onlyif ", 0) == 0 || t.rfind("skipif ", 0) == 0) && i < lines.size()) {
      r.condition = t;
      r.header = Trim(lines[i]);
      ++i;
    }
    bool results = false;
    for (; i < lines.size() && !Trim(lines[i]).empty(); ++i) {
      if (!results && Trim(lines[i]) == "----") {
        results = true;
        continue;
      }
      if (results)
        r.expected.push_back(lines[i]);
      else
        r.sql += (r.sql.empty() ? "" : "\n") + lines[i];
    }
    records.push_back(std::move(r));
  }

  std::shared_ptr<Database> db = Database::Open(location);
  const std::string engine = IsServerLocation(location) ? "postgresql" : "sqlite";
  std::map<std::string, std::unique_ptr<Session>> sessions;
  std::string current = "default";
  auto session = [&]() -> Session& {
    auto& s = sessions[current];
    if (!s) s = db->NewSession();
    return *s;
  };

  for (const Record& r : records) {
    const std::vector<std::string> words = Words(r.header);
    const std::string& kind = words[0];
    auto fail = [&](const std::string& what) {
      failures.push_back(
          fmt::format("{}:{}: {}\n  {}", file.filename().string(), r.line, what, r.sql));
    };
    const bool atomic = std::find(words.begin(), words.end(), "atomic") != words.end();
    const bool script = std::find(words.begin(), words.end(), "script") != words.end();
    auto run = [&]() {
      const Atomic a = atomic ? Atomic::Yes : Atomic::No;
      return script ? session().ExecuteScript(r.sql, a) : session().Execute(r.sql, a);
    };
    if (!r.condition.empty()) {
      const std::vector<std::string> c = Words(r.condition);
      const bool named = c.size() > 1 && c[1] == engine;
      if ((c[0] == "onlyif") != named) continue;
    }
    if (kind == "session") {
      current = words.size() > 1 ? words[1] : "default";
      continue;
    }
    if (kind == "reopen") {
      sessions.clear();
      db.reset();
      db = Database::Open(location);
      continue;
    }
    if (kind == "statement") {
      const std::string mode = words.size() > 1 ? words[1] : "";
      if (mode == "error") {
        try {
          run();
          fail("expected an error, the batch succeeded");
        } catch (const SqlError& e) {
          std::string expected;
          for (const std::string& l : r.expected) expected += (expected.empty() ? "" : "\n") + l;
          if (!expected.empty() && e.message().find(expected) == std::string::npos)
            fail(fmt::format("error message\n    {}\n  does not contain\n    {}", e.message(),
                             expected));
        }
        continue;
      }
      try {
        BatchResult result = run();
        if (mode == "count") {
          const long long want = words.size() > 2 ? std::stoll(words[2]) : -1;
          if (result.rowsAffected != want)
            fail(fmt::format("rows affected {}, expected {}", result.rowsAffected, want));
        } else if (mode != "ok") {
          fail("unknown statement mode " + mode);
        }
      } catch (const SqlError& e) {
        fail(fmt::format("unexpected error: {}", e.message()));
      }
      continue;
    }
    if (kind == "query") {
      const std::string types = words.size() > 1 ? words[1] : "";
      const bool rowsort = std::find(words.begin(), words.end(), "rowsort") != words.end();
      const bool names = std::find(words.begin(), words.end(), "names") != words.end();
      BatchResult result;
      try {
        result = run();
      } catch (const SqlError& e) {
        fail(fmt::format("unexpected error: {}", e.message()));
        continue;
      }
      std::vector<std::string> setTypes;
      std::size_t start = 0;
      for (std::size_t i = 0; i <= types.size(); ++i)
        if (i == types.size() || types[i] == ',') {
          setTypes.push_back(types.substr(start, i - start));
          start = i + 1;
        }
      std::vector<std::vector<std::string>> expectedSets(1);
      for (const std::string& l : r.expected) {
        if (Trim(l) == "====")
          expectedSets.emplace_back();
        else
          expectedSets.back().push_back(l);
      }
      if (result.resultSets.size() != setTypes.size()) {
        fail(fmt::format("{} result sets, expected {}", result.resultSets.size(), setTypes.size()));
        continue;
      }
      if (expectedSets.size() != setTypes.size()) {
        fail("the expected rows do not list one block per result set");
        continue;
      }
      for (std::size_t s = 0; s < setTypes.size(); ++s) {
        const ResultSet& rs = result.resultSets[s];
        const std::string& want = setTypes[s];
        std::string got;
        for (const Column& c : rs.columns) got += KindLetter(c.type);
        bool typesOk = want.size() == got.size();
        for (std::size_t i = 0; typesOk && i < want.size(); ++i)
          if (want[i] != '?' && want[i] != got[i]) typesOk = false;
        if (!typesOk)
          fail(fmt::format("result set {}: column kinds {}, expected {}", s + 1, got, want));
        std::vector<std::string> actual;
        std::vector<std::string> expected = expectedSets[s];
        if (names) {
          std::vector<std::string> header;
          for (const Column& c : rs.columns) header.push_back(c.name.empty() ? "(none)" : c.name);
          const std::string h = JoinCells(header);
          const std::string e = expected.empty() ? "" : JoinCells(Cells(expected.front()));
          if (h != e)
            fail(fmt::format("result set {}: column names\n    {}\n  expected\n    {}", s + 1, h,
                             e));
          if (!expected.empty()) expected.erase(expected.begin());
        }
        for (const auto& row : rs.rows) {
          std::vector<std::string> cells;
          for (const vb::Variant& v : row) cells.push_back(RenderValue(v));
          actual.push_back(JoinCells(cells));
        }
        for (std::string& e : expected) e = JoinCells(Cells(e));
        if (rowsort) {
          std::sort(actual.begin(), actual.end());
          std::sort(expected.begin(), expected.end());
        }
        if (actual != expected) {
          std::string a, e;
          for (const auto& x : actual) a += "\n    " + x;
          for (const auto& x : expected) e += "\n    " + x;
          fail(fmt::format("result set {} differs; got:{}\n  expected:{}", s + 1,
                           a.empty() ? "\n    (no rows)" : a, e.empty() ? "\n    (no rows)" : e));
        }
      }
      continue;
    }
    fail("unknown record " + kind);
  }
  return failures;
}

}  // namespace zov::data::testing
