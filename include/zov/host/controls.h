// Controls of the host form (grids, edit controls, buttons, picture boxes), reached late-bound
// by property and method name as the form's own code reaches them.
#pragma once

#include <string>
#include <vector>

#include "zov/vb/variant.h"

namespace zov::host {

using vb::Guid;
using vb::Ref;
using vb::Variant;

class IControlEvents;

class IControl : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D30}");
  // TypeName() is the control's class ("fpSpread", "EditPlus", "CommandButton", "PictureBox").
  virtual std::string Name() const = 0;
  // The control's index in its control array (0 when it is not in one).
  virtual long Index() const = 0;
  // A property by name ("Tag", "Visible", "Caption", "Left", "Top", "Width", "Height",
  // "Postfix", "MaxCols", ...; any letter case); raises Error 438 for one the control lacks.
  virtual Variant Property(std::string_view name) const = 0;
  virtual void SetProperty(std::string_view name, const Variant& value) = 0;
  // Calls a method ("SetFocus", "ZOrder", "SetImportDataFlag", "ColWidth", "Print", ...);
  // arguments may be written back (by-reference parameters); raises Error 438 for an unknown one.
  virtual Variant Invoke(std::string_view method, std::vector<Variant>& args) = 0;
  // Connects `sink` to the control's events; returns a cookie for Unadvise.
  virtual long Advise(const Ref<IControlEvents>& sink) = 0;
  virtual void Unadvise(long cookie) = 0;

 protected:
  ~IControl() = default;
};

// Events of a control: "Click", "Paint", and the generic "ObjectEvent" of the host's edit
// controls, whose parameters (a key code for "KeyPress") may be changed by the handler.
class IControlEvents : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D31}");
  virtual void OnEvent(const Ref<IControl>& source, std::string_view event,
                       std::vector<Variant>& params) = 0;

 protected:
  ~IControlEvents() = default;
};

class IControls : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D32}");
  virtual long Count() const = 0;
  // The control at 0-based `index`; raises Error 9 when out of range.
  virtual Ref<IControl> Item(long index) const = 0;
  // The first control named `name` (any letter case), or empty.
  virtual Ref<IControl> Find(std::string_view name) const = 0;
  // Adds a control of the class `progId` ("VB.CommandButton", "VB.PictureBox") named `name`;
  // raises Error 727 when a control of that name exists.
  virtual Ref<IControl> Add(std::string_view progId, std::string_view name) = 0;

 protected:
  ~IControls() = default;
};

}  // namespace zov::host
