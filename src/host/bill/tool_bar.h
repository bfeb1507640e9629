// The form's menu and tool bar: bands ("mnuFile", "mnuEdit", "mnuRelate", "mnuOption",
// "mnuView", "BandToolBar") holding tools; one tool object may stand in several bands.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "zov/host/toolbar.h"

namespace zov::sim {

using vb::Ref;
using vb::Variant;

// Counts the changes of a bar's tools and bands, so that a view sends the bar only when the
// count moved. Shared by the bar and everything in it (a plug-in may keep a tool past its bar).
using BarChanges = std::shared_ptr<std::uint64_t>;

class Tool final : public vb::Implements<host::ITool> {
 public:
  Tool(std::string name, BarChanges changes)
      : name_(std::move(name)), changes_(std::move(changes)) {}
  std::string TypeName() const override { return "Tool"; }
  std::string Name() const override { return name_; }
  std::string Caption() const override { return caption_; }
  void SetCaption(std::string_view c) override { Assign(caption_, std::string(c)); }
  std::string ToolTipText() const override { return toolTip_; }
  void SetToolTipText(std::string_view t) override { Assign(toolTip_, std::string(t)); }
  std::string Description() const override { return description_; }
  void SetDescription(std::string_view d) override { Assign(description_, std::string(d)); }
  std::string Category() const override { return category_; }
  void SetCategory(std::string_view c) override { Assign(category_, std::string(c)); }
  bool Visible() const override { return visible_; }
  void SetVisible(bool v) override { Assign(visible_, v); }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool e) override { Assign(enabled_, e); }
  bool Checked() const override { return checked_; }
  void SetChecked(bool c) override { Assign(checked_, c); }
  int Style() const override { return style_; }
  void SetStyle(int s) override { Assign(style_, s); }
  std::string Picture() const override { return picture_; }
  void SetPicture(std::string_view name, std::uint32_t) override {
    Assign(picture_, std::string(name));
  }
  Variant Property(std::string_view name) const override;
  void SetProperty(std::string_view name, const Variant& value) override;

 private:
  template <class T>
  void Assign(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    ++*changes_;
  }
  std::string name_, caption_, toolTip_, description_, category_, picture_;
  bool visible_ = true, enabled_ = true, checked_ = false;
  int style_ = 0;
  BarChanges changes_;
};

class Band;

class ActiveBar final : public vb::Implements<host::IActiveBar> {
 public:
  static Ref<ActiveBar> New() { return Ref<ActiveBar>::Adopt(new ActiveBar); }
  std::string TypeName() const override { return "ActiveBar"; }
  Ref<host::ITools> Tools() override;
  Ref<host::IBand> Band(std::string_view name) override;
  void RecalcLayout() override { ++layouts_; }

  // The band `name`, created when absent (the host builds its bands from the template).
  Ref<sim::Band> EnsureBand(std::string_view name);
  // The tool `name`, created when absent; "" always creates a new (separator) tool.
  Ref<Tool> EnsureTool(std::string_view name);
  Ref<Tool> FindTool(std::string_view name) const;
  const std::vector<Ref<sim::Band>>& bands() const { return bands_; }
  int layouts() const { return layouts_; }
  // How often a tool or a band changed so far.
  std::uint64_t changes() const { return *changes_; }

 private:
  ActiveBar() = default;
  BarChanges changes_ = std::make_shared<std::uint64_t>(0);
  std::map<std::string, Ref<Tool>, std::less<>> tools_;
  std::vector<Ref<sim::Band>> bands_;
  int layouts_ = 0;
};

class Band final : public vb::Implements<host::IBand, host::IBandTools> {
 public:
  Band(std::string name, BarChanges changes)
      : name_(std::move(name)), changes_(std::move(changes)) {}
  std::string TypeName() const override { return "Band"; }
  std::string Name() const override { return name_; }
  Ref<host::IBandTools> Tools() override { return Ref<host::IBandTools>(this); }

  long Count() const override { return static_cast<long>(tools_.size()); }
  Ref<host::ITool> Item(long index) const override;
  long IndexOf(std::string_view name) const override;
  void Insert(long index, const Ref<host::ITool>& tool) override;
  void Remove(long index) override;

  const std::vector<Ref<host::ITool>>& tools() const { return tools_; }
  void Append(const Ref<host::ITool>& tool) {
    tools_.push_back(tool);
    ++*changes_;
  }

 private:
  std::string name_;
  std::vector<Ref<host::ITool>> tools_;
  BarChanges changes_;
};

}  // namespace zov::sim
