// The list interface: the host object behind the list of stored bills of one bill class.
#pragma once

#include <string>
#include <vector>

#include "zov/host/dictionary.h"
#include "zov/host/events.h"
#include "zov/host/toolbar.h"

namespace zov::host {

class IListInterface : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{62329319-4371-409A-AB48-2DE87E284D8F}");

  // The bill class type the list shows ("1030002").
  virtual long FID() = 0;
  // The list's bill type within the class (the sales order list's kind; 0 when the list shows
  // every kind).
  virtual long BillTypeID() = 0;
  // The internal IDs ("FID") of the selected bills, in selection order.
  virtual std::vector<long> SelectedBillIDs() = 0;
  // One dictionary per selected bill, keyed 1 .. n: its header fields ("FID", "FBillNo",
  // "FBillTypeID", "FStatus", "FCustID", ...) with their stored values.
  virtual Ref<IDictionary> GetSelectedBillInfo() = 0;
  // A tool property ("Visible", "Enabled", "Caption", "ToolTipText", "Description",
  // "Checked"); an unknown tool is ignored.
  virtual void SetToolProperty(std::string_view toolKey, std::string_view property,
                               const Variant& value) = 0;
  virtual Ref<IActiveBar> ToolBar() = 0;
  // Reloads the list from the database.
  virtual void Refresh() = 0;

  virtual long Advise(const Ref<IListEventSink>& sink) = 0;
  virtual void Unadvise(long cookie) = 0;

 protected:
  ~IListInterface() = default;
};

}  // namespace zov::host
