// How the host loads a plug-in library and creates its classes: the Linux face of the four
// in-process server entry points, the class factory, the host's component registry, and the
// public interfaces of the plug-in classes.
#pragma once

#include <cstdint>
#include <string>

#include "zov/host/bill.h"
#include "zov/host/host.h"

namespace zov::host {

// Result codes of the entry points and factories (COM's HRESULT values).
enum HResult : std::int32_t {
  kS_OK = 0,
  kS_FALSE = 1,
  kE_NOINTERFACE = static_cast<std::int32_t>(0x80004002u),
  kE_POINTER = static_cast<std::int32_t>(0x80004003u),
  kE_FAIL = static_cast<std::int32_t>(0x80004005u),
  kCLASS_E_CLASSNOTAVAILABLE = static_cast<std::int32_t>(0x80040111u),
  kSELFREG_E_CLASS = static_cast<std::int32_t>(0x80040201u),
};

// Creates the objects of one plug-in class.
class IClassFactory : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{00000001-0000-0000-C000-000000000046}");
  // A new object of the class for the session `host`; never empty.
  virtual Ref<vb::IObject> CreateInstance(const Ref<IHost>& host) = 0;
  // Keeps the library loaded while `lock` holds (counted).
  virtual void LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The host's component registry, which registration writes into.
class IComponentRegistry : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D70}");
  // Records that `progId` names the class `clsid` served by the library at `libraryPath`.
  virtual void RegisterClass(const Guid& clsid, std::string_view progId,
                             std::string_view libraryPath, std::string_view description) = 0;
  // Removes what RegisterClass recorded for `clsid` and `progId`.
  virtual void UnregisterClass(const Guid& clsid, std::string_view progId) = 0;

 protected:
  ~IComponentRegistry() = default;
};

// --- the plug-in classes' public interfaces ---------------------------------------------------

// Every plug-in class: the one entry through which the host hands over a bill or list object.
class IBillPlugin : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D80}");
  // Binds `obj`: a "BillEvent" object (any letter case) as the bill interface, anything else as
  // the list interface. A failed cast raises Error 13 to the caller.
  virtual void Show(const Variant& obj) = 0;

 protected:
  ~IBillPlugin() = default;
};

// Per-user settings kept by the host (sales bill, second sales bill type, order, consignment).
class IUserProfileAccess : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D81}");
  // The user's value of (section, key), "" when none.
  virtual std::string GetUserProfile(std::string_view section, std::string_view key) = 0;
  // Stores the user's value of (section, key).
  virtual void SaveUserProfileItem(std::string_view section, std::string_view key,
                                   const Variant& value) = 0;

 protected:
  ~IUserProfileAccess() = default;
};

// Checks of stored sales bills that other components call (sales bill and its twin).
class ISaleBillChecks : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D82}");
  // Serial-number check of a bill made from an online order; `result` true when errors were
  // reported.
  virtual void checkBillSNErr(const Variant& bill, Variant& result) = 0;
  // Serial-number counts of the stored, unaudited sales bill `billId`; `result` as VB's.
  virtual void checkXSDBillSNErr(long billId, Variant& result) = 0;
  // A batch-managed row of the stored sales bill `billId` without batch number.
  virtual void checkXSDBillBatchNoErr(long billId, Variant& result) = 0;
  // The sale price of an item for the invoicing component; `found` tells whether a source
  // applied.
  virtual double GetSalePriceForTZE(long itemId, long unitId, long customerId, long stockId,
                                    std::string_view batchNo, bool& found) = 0;

 protected:
  ~ISaleBillChecks() = default;
};

// The opening-balance consignment bill's stock test.
class IVirtualStockCheck : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D83}");
  // `result` true when `stockId` is a virtual (type 502) stock.
  virtual void IsIsVirtualStock(long stockId, Variant& result) = 0;

 protected:
  ~IVirtualStockCheck() = default;
};

// The special-price bill's row price check.
class IPriceValidate : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D84}");
  // Checks and fills the regular price of `row`; `result` true when the row may stand.
  virtual void ChkPriceValidate(const Ref<IBillInterface>& bill, long row, long priceType,
                                Variant& result) = 0;

 protected:
  ~IPriceValidate() = default;
};

}  // namespace zov::host

// The library's exported entry points (C linkage, resolved with dlsym).
extern "C" {
// The class factory of `clsid` as interface `iid` (IClassFactory), with one reference added.
std::int32_t DllGetClassObject(const zov::vb::Guid* clsid, const zov::vb::Guid* iid, void** out);
// kS_OK when no object or factory of the library is alive and no lock is held, else kS_FALSE.
std::int32_t DllCanUnloadNow();
// Writes every class's CLSID and ProgID into `registry`.
std::int32_t DllRegisterServer(zov::host::IComponentRegistry* registry);
// Removes what DllRegisterServer wrote.
std::int32_t DllUnregisterServer(zov::host::IComponentRegistry* registry);
}

namespace zov::host {
// Entry point signatures, for the host's dlsym.
using DllGetClassObjectFn = std::int32_t (*)(const vb::Guid*, const vb::Guid*, void**);
using DllCanUnloadNowFn = std::int32_t (*)();
using DllRegisterServerFn = std::int32_t (*)(IComponentRegistry*);
using DllUnregisterServerFn = std::int32_t (*)(IComponentRegistry*);
}  // namespace zov::host
