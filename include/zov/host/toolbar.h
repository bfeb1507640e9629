// The form's menu and tool bar: one control whose bands are the menus ("mnuRelate", "mnuEdit",
// "mnuOption", "mnuView") and the tool bar ("BandToolBar"). A tool is one object that may stand
// in several bands (a menu and the tool bar) with one state.
#pragma once

#include <string>

#include "zov/vb/variant.h"

namespace zov::host {

using vb::Guid;
using vb::Ref;
using vb::Variant;

// Tool styles the library uses.
enum ToolStyle : int { kToolStyleNormal = 0, kToolStyleSeparator = 5 };

class ITool : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D10}");
  // The tool key ("mnuQuerySaleOrder"); "" for a separator.
  virtual std::string Name() const = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual std::string ToolTipText() const = 0;
  virtual void SetToolTipText(std::string_view text) = 0;
  virtual std::string Description() const = 0;
  virtual void SetDescription(std::string_view text) = 0;
  virtual std::string Category() const = 0;
  virtual void SetCategory(std::string_view category) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // The checked state of an option tool.
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual int Style() const = 0;
  virtual void SetStyle(int style) = 0;
  // The picture: a bitmap resource name of the plug-in library or an icon of the host's image
  // list; the mask colour is drawn transparent.
  virtual std::string Picture() const = 0;
  virtual void SetPicture(std::string_view name, std::uint32_t maskColor) = 0;
  // A property by its control name ("Visible", "Enabled", "Caption", "ToolTipText",
  // "Description", "Checked", "Style", "Category"; any letter case); raises Error 438 for others.
  virtual Variant Property(std::string_view name) const = 0;
  virtual void SetProperty(std::string_view name, const Variant& value) = 0;

 protected:
  ~ITool() = default;
};

// The tools standing in one band, in display order.
class IBandTools : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D11}");
  virtual long Count() const = 0;
  // The tool at 0-based `index`; raises Error 9 when out of range.
  virtual Ref<ITool> Item(long index) const = 0;
  // The 0-based position of the first tool with key `name`, or -1.
  virtual long IndexOf(std::string_view name) const = 0;
  // Puts `tool` at 0-based `index` (clamped to 0 .. Count()).
  virtual void Insert(long index, const Ref<ITool>& tool) = 0;
  // Takes the tool at `index` out of this band (the tool itself lives on).
  virtual void Remove(long index) = 0;

 protected:
  ~IBandTools() = default;
};

class IBand : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D12}");
  virtual std::string Name() const = 0;
  virtual Ref<IBandTools> Tools() = 0;

 protected:
  ~IBand() = default;
};

// The bar's collection of every tool, by key.
class ITools : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D13}");
  // The tool with key `name`, or empty.
  virtual Ref<ITool> Find(std::string_view name) const = 0;
  // The tool with key `name`; raises Error 35601 ("Element not found") when there is none.
  virtual Ref<ITool> Item(std::string_view name) const = 0;
  // The tool with key `name`, created (hidden from every band) when absent; an empty key always
  // creates a new tool (separators have no key).
  virtual Ref<ITool> Add(std::string_view name) = 0;
  virtual long Count() const = 0;

 protected:
  ~ITools() = default;
};

class IActiveBar : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D14}");
  virtual Ref<ITools> Tools() = 0;
  // The band with key `name`, or empty when the bar has none.
  virtual Ref<IBand> Band(std::string_view name) = 0;
  // Redraws the bar after changes (the layout recalculation of the control).
  virtual void RecalcLayout() = 0;

 protected:
  ~IActiveBar() = default;
};

}  // namespace zov::host
