#include "bill/bill_template.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "zov/vb/strings.h"
#include "zov/vb/text_compare.h"

namespace zov::sim {

using nlohmann::json;

namespace {
// A key as written, else as a Text compare matches it (a plug-in may write "FQTY" for "FQty").
const FieldDef* Lookup(const std::map<std::string, const FieldDef*, std::less<>>& fields,
                       const std::map<std::string, const FieldDef*, std::less<>>& folded,
                       std::string_view key) {
  if (auto it = fields.find(key); it != fields.end()) return it->second;
  if (auto it = folded.find(vb::FoldText(key)); it != folded.end()) return it->second;
  return nullptr;
}

// The folded keys of `fields`; where two keys fold alike, the first in order of the keys.
std::map<std::string, const FieldDef*, std::less<>> Folded(
    const std::map<std::string, const FieldDef*, std::less<>>& fields) {
  std::map<std::string, const FieldDef*, std::less<>> folded;
  for (const auto& [k, field] : fields) folded.emplace(vb::FoldText(k), field);
  return folded;
}
}  // namespace

const FieldDef* BillTemplate::Find(std::string_view key) const {
  return Lookup(byKey, foldedByKey, key);
}

const FieldDef* BillTemplate::FindAt(std::string_view key, long row) const {
  if (row >= 1)
    if (const FieldDef* f = Lookup(rowByKey, foldedRowByKey, key)) return f;
  return Lookup(byKey, foldedByKey, key);
}

std::vector<const FieldDef*> BillTemplate::AllFields() const {
  std::vector<const FieldDef*> all;
  for (const auto& f : head) all.push_back(&f);
  for (const auto& grid : grids)
    for (const auto& f : grid) all.push_back(&f);
  return all;
}

namespace {

[[noreturn]] void Bad(std::string_view origin, const std::string& what) {
  throw std::runtime_error(std::string(origin) + ": " + what);
}

vb::Variant ValueOf(const json& j) {
  if (j.is_null()) return {};
  if (j.is_boolean()) return j.get<bool>();
  if (j.is_number_integer()) return j.get<long long>();
  if (j.is_number()) return j.get<double>();
  if (j.is_string()) return j.get<std::string>();
  return {};
}

FieldType TypeOf(const std::string& type, std::string_view origin, const std::string& key) {
  if (type == "text") return FieldType::Text;
  if (type == "number") return FieldType::Number;
  if (type == "date") return FieldType::Date;
  if (type == "time") return FieldType::Time;
  if (type == "base") return FieldType::Base;
  if (type == "check") return FieldType::Check;
  Bad(origin, "field " + key + ": unknown type \"" + type + "\"");
}

FieldDef ParseField(const json& j, int page, int grid, std::string_view origin) {
  FieldDef f;
  if (!j.contains("key") || !j["key"].is_string()) Bad(origin, "a field without \"key\"");
  f.key = j["key"].get<std::string>();
  f.caption = j.value("caption", f.key);
  f.type = TypeOf(j.value("type", std::string("text")), origin, f.key);
  f.column = j.value("column", std::string());
  f.decimals = j.value("decimals", -1);
  if (j.contains("default")) f.defaultValue = ValueOf(j["default"]);
  f.visible = j.value("visible", static_cast<int>(kVisibleView | kVisibleNew | kVisibleEdit));
  f.locked = j.value("locked", false);
  f.required = j.value("required", false);
  f.copied = j.value("copy", true);
  if (j.contains("right")) {
    const auto right =
        j["right"].is_string() ? ParseValueRight(j["right"].get<std::string>()) : std::nullopt;
    if (!right) Bad(origin, "field " + f.key + ": \"right\" is \"price\", \"cost\" or \"\"");
    f.right = *right;
  }
  f.page = page;
  f.grid = grid;
  f.control = j.value("control", std::string(f.type == FieldType::Base ? "EditPlus" : "TextBox"));
  if (f.control != "EditPlus" && f.control != "TextBox")
    Bad(origin, "field " + f.key + ": unknown control \"" + f.control + "\"");
  f.controlName = j.value("controlName", std::string());
  f.records = j.value("records", std::string());
  if (!f.records.empty() && f.records != "receiveAddress")
    Bad(origin, "field " + f.key + ": unknown records \"" + f.records + "\"");
  if ((!f.controlName.empty() || !f.records.empty()) && (f.control != "EditPlus" || grid != 0))
    Bad(origin,
        "field " + f.key + ": only a header field's EditPlus control has a name or records");
  if (f.type == FieldType::Base) {
    if (!j.contains("base")) Bad(origin, "base field " + f.key + " without \"base\"");
    const json& b = j["base"];
    f.base.table = b.value("table", std::string());
    if (f.base.table.empty()) Bad(origin, "base field " + f.key + " without a table");
    f.base.id = b.value("id", f.base.id);
    f.base.number = b.value("number", f.base.number);
    f.base.name = b.value("name", f.base.name);
    f.base.where = b.value("where", std::string());
    if (b.contains("props"))
      for (const auto& p : b["props"]) f.base.props.push_back(p.get<std::string>());
    if (b.contains("fill"))
      for (const auto& [target, column] : b["fill"].items())
        f.base.fill.emplace_back(target, column.get<std::string>());
  }
  if (j.contains("actions"))
    for (const auto& a : j["actions"]) {
      FieldAction action;
      action.kind = a.value("kind", std::string("FAction"));
      action.name = a.value("name", std::string());
      action.parameter = a.value("parameter", std::string());
      if (action.name != "Calculate" && action.name != "LockField")
        Bad(origin, "field " + f.key + ": unknown action \"" + action.name + "\"");
      try {
        if (action.name == "Calculate")
          action.formula = std::make_shared<Formula>(CompileFormula(action.parameter));
        else
          action.lock = std::make_shared<LockRule>(CompileLockRule(action.parameter));
      } catch (const std::runtime_error& e) {
        Bad(origin, "field " + f.key + ": " + e.what());
      }
      f.actions.push_back(std::move(action));
    }
  return f;
}

}  // namespace

std::shared_ptr<const BillTemplate> ParseTemplate(std::string_view text, std::string_view origin) {
  json j;
  try {
    j = json::parse(text);
  } catch (const json::exception& e) {
    Bad(origin, std::string("not valid JSON: ") + e.what());
  }
  try {
    auto t = std::make_shared<BillTemplate>();
    t->classTypeId = j.at("classTypeId").get<long>();
    t->title = j.value("title", std::string());
    t->plugin = j.value("plugin", std::string());
    const json& tables = j.at("tables");
    t->headTable = tables.at("head").get<std::string>();
    t->entryTable = tables.value("entry", std::string());
    t->entry2Table = tables.value("entry2", std::string());
    t->classColumn = tables.value("classColumn", t->classColumn);
    t->gridColumn = tables.value("gridColumn", std::string());
    if (j.contains("billNo")) t->billNoPrefix = j["billNo"].value("prefix", std::string());
    t->amountCalcPrice = j.value("amountCalcPrice", false);
    t->auditByComponent = j.value("auditByComponent", false);
    for (const auto& f : j.at("head")) t->head.push_back(ParseField(f, 1, 0, origin));
    if (j.contains("grids")) {
      int index = 0;
      for (const auto& g : j["grids"]) {
        ++index;
        std::vector<FieldDef> fields;
        for (const auto& f : g.at("fields"))
          fields.push_back(ParseField(f, index + 1, index, origin));
        t->grids.push_back(std::move(fields));
      }
    }
    if (j.contains("tools"))
      for (const auto& tool : j["tools"])
        t->tools.push_back({tool.value("band", std::string()), tool.value("key", std::string()),
                            tool.value("caption", std::string()), tool.value("toolbar", false),
                            tool.value("picture", std::string()), tool.value("style", 0)});
    if (j.contains("sources"))
      for (const auto& s : j["sources"]) {
        SourceDef src;
        src.tool = s.at("tool").get<std::string>();
        src.classTypeId = s.at("classTypeId").get<long>();
        src.openQty = s.value("openQty", std::string());
        for (const auto& f : s.value("headFields", json::array()))
          src.headFields.push_back(f.get<std::string>());
        for (const auto& f : s.value("entryFields", json::array()))
          src.entryFields.push_back(f.get<std::string>());
        const json entryFrom = s.value("entryFrom", json::object());
        for (const auto& [key, from] : entryFrom.items())
          src.entryFrom.emplace_back(key, from.get<std::string>());
        t->sources.push_back(std::move(src));
      }
    if (j.contains("list")) {
      for (const auto& c : j["list"].value("columns", json::array()))
        t->listColumns.push_back(c.get<std::string>());
      for (const auto& k : j["list"].value("kinds", json::array()))
        t->listKinds.push_back({k.at("billType").get<long>(), k.at("caption").get<std::string>()});
    }

    // A key may stand once in the header and once among the rows (the header's source bill and
    // each row's); within the header or within the rows it is unique.
    for (const auto& f : t->head)
      if (!t->byKey.emplace(f.key, &f).second)
        Bad(origin, "field " + f.key + " appears twice in the header");
    for (const auto& grid : t->grids)
      for (const auto& f : grid) {
        if (!t->rowByKey.emplace(f.key, &f).second)
          Bad(origin, "field " + f.key + " appears twice among the rows");
        t->byKey.emplace(f.key, &f);
      }
    t->foldedByKey = Folded(t->byKey);
    t->foldedRowByKey = Folded(t->rowByKey);
    for (const auto* f : t->AllFields())
      for (const auto& [target, column] : f->base.fill) {
        const FieldDef* to = t->FindAt(target, f->grid == 0 ? -1 : 1);
        if (!to || to->grid != f->grid)
          Bad(origin, "field " + f->key + " fills " + target + ", which is not beside it");
      }
    // Fields saved in one column share a cell.
    auto layOut = [](std::vector<FieldDef>& fields) {
      auto layout = std::make_shared<CellLayout>();
      for (auto& f : fields) {
        auto [it, added] =
            layout->slotOf.emplace(f.internalKey(), static_cast<int>(layout->keys.size()));
        if (added) layout->keys.push_back(f.internalKey());
        f.slot = it->second;
      }
      return layout;
    };
    t->layouts.push_back(layOut(t->head));
    for (auto& grid : t->grids) t->layouts.push_back(layOut(grid));
    return t;
  } catch (const json::exception& e) {
    Bad(origin, e.what());
  }
}

std::map<long, std::shared_ptr<const BillTemplate>> LoadTemplates(const std::string& directory) {
  std::map<long, std::shared_ptr<const BillTemplate>> templates;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (entry.path().extension() != ".json") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    auto t = ParseTemplate(text.str(), entry.path().filename().string());
    templates[t->classTypeId] = std::move(t);
  }
  return templates;
}

}  // namespace zov::sim
