#include "bill/tool_bar.h"

#include <algorithm>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrNoSuchProperty = 438;
constexpr int kErrSubscript = 9;
constexpr int kErrElementNotFound = 35601;

bool Is(std::string_view a, std::string_view b) {
  return vb::StrComp(a, b, vb::CompareMethod::Text) == 0;
}

class Tools final : public vb::Implements<host::ITools> {
 public:
  explicit Tools(Ref<ActiveBar> bar) : bar_(std::move(bar)) {}
  std::string TypeName() const override { return "Tools"; }
  Ref<host::ITool> Find(std::string_view name) const override { return bar_->FindTool(name); }
  Ref<host::ITool> Item(std::string_view name) const override {
    auto tool = bar_->FindTool(name);
    if (!tool) throw vb::Error(kErrElementNotFound, "Element not found", "ActiveBar");
    return tool;
  }
  Ref<host::ITool> Add(std::string_view name) override { return bar_->EnsureTool(name); }
  long Count() const override { return 0; }

 private:
  Ref<ActiveBar> bar_;
};

}  // namespace

Variant Tool::Property(std::string_view name) const {
  if (Is(name, "Visible")) return visible_;
  if (Is(name, "Enabled")) return enabled_;
  if (Is(name, "Checked")) return checked_;
  if (Is(name, "Caption")) return caption_;
  if (Is(name, "ToolTipText")) return toolTip_;
  if (Is(name, "Description")) return description_;
  if (Is(name, "Category")) return category_;
  if (Is(name, "Style")) return style_;
  if (Is(name, "Name")) return name_;
  throw vb::Error(kErrNoSuchProperty, "Object doesn't support this property or method",
                  "ActiveBar");
}

void Tool::SetProperty(std::string_view name, const Variant& value) {
  if (Is(name, "Visible"))
    SetVisible(vb::CBool(value));
  else if (Is(name, "Enabled"))
    SetEnabled(vb::CBool(value));
  else if (Is(name, "Checked"))
    SetChecked(vb::CBool(value));
  else if (Is(name, "Caption"))
    SetCaption(vb::CStr(value));
  else if (Is(name, "ToolTipText"))
    SetToolTipText(vb::CStr(value));
  else if (Is(name, "Description"))
    SetDescription(vb::CStr(value));
  else if (Is(name, "Category"))
    SetCategory(vb::CStr(value));
  else if (Is(name, "Style"))
    SetStyle(static_cast<int>(vb::CLng(value)));
  else
    throw vb::Error(kErrNoSuchProperty, "Object doesn't support this property or method",
                    "ActiveBar");
}

Ref<host::ITools> ActiveBar::Tools() {
  return vb::MakeRef<host::ITools, sim::Tools>(Ref<ActiveBar>(this));
}

Ref<host::IBand> ActiveBar::Band(std::string_view name) {
  for (const auto& band : bands_)
    if (Is(band->Name(), name)) return band;
  return {};
}

Ref<sim::Band> ActiveBar::EnsureBand(std::string_view name) {
  for (const auto& band : bands_)
    if (Is(band->Name(), name)) return band;
  bands_.push_back(Ref<sim::Band>::Adopt(new sim::Band(std::string(name), changes_)));
  ++*changes_;
  return bands_.back();
}

Ref<Tool> ActiveBar::EnsureTool(std::string_view name) {
  if (name.empty()) return Ref<Tool>::Adopt(new Tool("", changes_));
  if (auto tool = FindTool(name)) return tool;
  auto tool = Ref<Tool>::Adopt(new Tool(std::string(name), changes_));
  tools_.emplace(std::string(name), tool);
  return tool;
}

Ref<Tool> ActiveBar::FindTool(std::string_view name) const {
  if (name.empty()) return {};
  if (auto it = tools_.find(name); it != tools_.end()) return it->second;
  for (const auto& [key, tool] : tools_)
    if (Is(key, name)) return tool;
  return {};
}

Ref<host::ITool> Band::Item(long index) const {
  if (index < 0 || index >= Count())
    throw vb::Error(kErrSubscript, "Subscript out of range", "ActiveBar");
  return tools_[static_cast<std::size_t>(index)];
}

long Band::IndexOf(std::string_view name) const {
  if (name.empty()) return -1;
  for (std::size_t i = 0; i < tools_.size(); ++i)
    if (Is(tools_[i]->Name(), name)) return static_cast<long>(i);
  return -1;
}

void Band::Insert(long index, const Ref<host::ITool>& tool) {
  if (!tool)
    throw vb::Error(vb::kErrObjectVariableNotSet, "Object variable or With block variable not set",
                    "ActiveBar");
  index = std::clamp<long>(index, 0, Count());
  tools_.insert(tools_.begin() + index, tool);
  ++*changes_;
}

void Band::Remove(long index) {
  if (index < 0 || index >= Count())
    throw vb::Error(kErrSubscript, "Subscript out of range", "ActiveBar");
  tools_.erase(tools_.begin() + index);
  ++*changes_;
}

}  // namespace zov::sim
