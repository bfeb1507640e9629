// The form's menu and tool bar: bands ("mnuFile", "mnuEdit", "mnuRelate", "mnuOption",
// "mnuView", "BandToolBar") holding tools; one tool object may stand in several bands.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "zov/host/toolbar.h"

namespace zov::sim {

using vb::Ref;
using vb::Variant;

class Tool final : public vb::Implements<host::ITool> {
 public:
  explicit Tool(std::string name) : name_(std::move(name)) {}
  std::string TypeName() const override { return "Tool"; }
  std::string Name() const override { return name_; }
  std::string Caption() const override { return caption_; }
  void SetCaption(std::string_view c) override { caption_ = c; }
  std::string ToolTipText() const override { return toolTip_; }
  void SetToolTipText(std::string_view t) override { toolTip_ = t; }
  std::string Description() const override { return description_; }
  void SetDescription(std::string_view d) override { description_ = d; }
  std::string Category() const override { return category_; }
  void SetCategory(std::string_view c) override { category_ = c; }
  bool Visible() const override { return visible_; }
  void SetVisible(bool v) override { visible_ = v; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool e) override { enabled_ = e; }
  bool Checked() const override { return checked_; }
  void SetChecked(bool c) override { checked_ = c; }
  int Style() const override { return style_; }
  void SetStyle(int s) override { style_ = s; }
  std::string Picture() const override { return picture_; }
  void SetPicture(std::string_view name, std::uint32_t) override { picture_ = name; }
  Variant Property(std::string_view name) const override;
  void SetProperty(std::string_view name, const Variant& value) override;

 private:
  std::string name_, caption_, toolTip_, description_, category_, picture_;
  bool visible_ = true, enabled_ = true, checked_ = false;
  int style_ = 0;
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

 private:
  ActiveBar() = default;
  std::map<std::string, Ref<Tool>, std::less<>> tools_;
  std::vector<Ref<sim::Band>> bands_;
  int layouts_ = 0;
};

class Band final : public vb::Implements<host::IBand, host::IBandTools> {
 public:
  explicit Band(std::string name) : name_(std::move(name)) {}
  std::string TypeName() const override { return "Band"; }
  std::string Name() const override { return name_; }
  Ref<host::IBandTools> Tools() override { return Ref<host::IBandTools>(this); }

  long Count() const override { return static_cast<long>(tools_.size()); }
  Ref<host::ITool> Item(long index) const override;
  long IndexOf(std::string_view name) const override;
  void Insert(long index, const Ref<host::ITool>& tool) override;
  void Remove(long index) override;

  const std::vector<Ref<host::ITool>>& tools() const { return tools_; }
  void Append(const Ref<host::ITool>& tool) { tools_.push_back(tool); }

 private:
  std::string name_;
  std::vector<Ref<host::ITool>> tools_;
};

}  // namespace zov::sim
