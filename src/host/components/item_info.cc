// Base data: "ZOVEBSGLItem.ItemInfo" (item flags, the stocks a user may use, one base-data
// record) and "ZOVEBSGLItem.clsBarCodeUpdate" (a customer's contacts).
#include <algorithm>
#include <array>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr long kGiftStockType = 502;

// The table holding the details of base-data class `itemClassId`; "" for the classes that only
// t_Item describes.
std::string DetailTable(long itemClassId) {
  switch (itemClassId) {
    case 1:
      return "t_Organization";
    case 2:
      return "t_Department";
    case 3:
      return "t_Emp";
    case 4:
      return "t_ICItem";
    case 5:
      return "t_Stock";
    case 7:
      return "t_MeasureUnit";
    case 8:
      return "t_Supplier";
    default:
      return {};
  }
}

class ItemInfo final : public vb::Implements<host::IItemInfo> {
 public:
  explicit ItemInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ItemInfo"; }

  bool isBatchManager(std::string_view, long itemId) override {
    const Rows rows = Query(
        ctx_, kSource, "SELECT FISBatchManager FROM t_ICItem WHERE FItemID=" + SqlNumber(itemId));
    return !rows.empty() && rows.Flag(0, "FISBatchManager");
  }

  // The stocks in use, narrowed to those the user may see when stock-level data authorisation
  // applies to him; his default stock (user profile "Base" / "DefaultStock", a number or an ID)
  // first, gift stocks last.
  Ref<host::IRecordset> GetStockInfo(std::string_view props) override {
    const long user = UserOf(ctx_, props);
    std::string sql = "SELECT FItemID, FNumber, FName, FTypeID FROM t_Stock WHERE FDeleted=0";
    if (StockRightsApply(user))
      sql += " AND CHARINDEX(" + SqlText("," + std::to_string(user) + ",") + ", FRightUserID)>0";
    sql += " ORDER BY FNumber";
    Rows rows = Query(ctx_, kSource, sql);
    const std::string preferred = DefaultStock(user);
    auto rank = [&](std::size_t i) {
      if (!preferred.empty() &&
          (rows.Text(i, "FNumber") == preferred || rows.Text(i, "FItemID") == preferred))
        return 0;
      return rows.Long(i, "FTypeID") == kGiftStockType ? 2 : 1;
    };
    RecordData& data = rows.data();
    std::vector<std::pair<int, std::size_t>> order;
    for (std::size_t i = 0; i < rows.size(); ++i) order.emplace_back(rank(i), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::vector<Variant>> sorted;
    for (const auto& [r, i] : order) sorted.push_back(data.rows[i]);
    data.rows = std::move(sorted);
    return Recordset::New(std::move(data));
  }

  Ref<host::IRecordset> GetDetail(std::string_view, long itemClassId, long itemId) override {
    const std::string table = DetailTable(itemClassId);
    const std::string sql =
        table.empty() ? "SELECT * FROM t_Item WHERE FItemClassID=" + SqlNumber(itemClassId) +
                            " AND FItemID=" + SqlNumber(itemId)
                      : "SELECT * FROM " + table + " WHERE FItemID=" + SqlNumber(itemId);
    Rows rows = Query(ctx_, kSource, sql);
    return Recordset::New(std::move(rows.data()));
  }

 private:
  static constexpr const char* kSource = host::progid::kItemInfo;

  // Data authorisation on for the user, with stocks (class 5) among its classes.
  bool StockRightsApply(long user) {
    const Rows rows = Query(
        ctx_, kSource,
        "SELECT FNeedAuthorize, FAuthItemClassList FROM t_User WHERE FUserID=" + SqlNumber(user));
    if (rows.empty() || !rows.Flag(0, "FNeedAuthorize")) return false;
    for (const auto& cls : vb::Split(rows.Text(0, "FAuthItemClassList"), ","))
      if (vb::Trim(cls) == "5") return true;
    return false;
  }

  std::string DefaultStock(long user) {
    const Rows rows = Query(ctx_, kSource,
                            "SELECT FValue FROM t_UserProfile WHERE FSection='Base' AND "
                            "FKey='DefaultStock' AND (FUserID=" +
                                SqlNumber(user) + " OR FUserID=0) ORDER BY FUserID DESC");
    return rows.empty() ? std::string() : vb::Trim(rows.Text(0, "FValue"));
  }

  SessionContext& ctx_;
};

// The contact columns a record may set.
constexpr std::array<const char*, 10> kContactTexts = {
    "FContact", "FAddress", "FPhone",    "FMobilePhone", "FFax",
    "FEmail",   "FQQNum",   "FPosition", "FDeptName",    "FPhoto"};

class BarCodeUpdate final : public vb::Implements<host::IBarCodeUpdate> {
 public:
  explicit BarCodeUpdate(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "clsBarCodeUpdate"; }

  // Updates contact "FID", or adds a contact of customer "FItemID" (or "FCustID") under the next
  // FID when "FID" is 0. A contact marked first ("FIsFirst") becomes the customer's only first
  // contact.
  bool SaveContactData(std::string_view, const Ref<IDictionary>& contact) override {
    if (!contact)
      Fail(ctx_, kSource, "SaveContactData", "SaveContactData: no contact", vb::kErrObjectRequired);
    long id = ToLong(Field(contact, {"FID"}));
    long customer = ToLong(Field(contact, {"FItemID", "FCustID", "CustID"}));
    const bool setsFirst = HasField(contact, {"FIsFirst"});
    const bool first = setsFirst && ToLong(Field(contact, {"FIsFirst"})) != 0;

    std::vector<std::pair<std::string, std::string>> values;  // column, SQL value
    for (const char* column : kContactTexts)
      if (HasField(contact, {column}))
        values.emplace_back(column, SqlText(ToText(Field(contact, {column}))));
    if (setsFirst) values.emplace_back("FIsFirst", first ? "1" : "0");

    if (id > 0) {
      const Rows stored =
          Query(ctx_, kSource, "SELECT FItemID FROM t_Contact WHERE FID=" + SqlNumber(id));
      if (stored.empty())
        Fail(ctx_, kSource, "SaveContactData",
             "SaveContactData: there is no contact " + std::to_string(id));
      customer = stored.Long(0, "FItemID");
    } else {
      if (customer <= 0)
        Fail(ctx_, kSource, "SaveContactData",
             "SaveContactData: a new contact needs its customer (FItemID)");
      if (vb::Trim(ToText(Field(contact, {"FContact"}))).empty())
        Fail(ctx_, kSource, "SaveContactData",
             "SaveContactData: a new contact needs a name (FContact)");
    }

    InTransaction(ctx_, [&] {
      if (id > 0) {
        if (!values.empty()) {
          std::vector<std::string> sets;
          for (const auto& [column, value] : values) sets.push_back(column + "=" + value);
          Execute(ctx_, kSource,
                  "UPDATE t_Contact SET " + vb::Join(sets, ", ") + " WHERE FID=" + SqlNumber(id));
        }
      } else {
        id = NextId(ctx_, kSource, "t_Contact");
        std::string columns = "FID, FItemID";
        std::string list = SqlNumber(id) + ", " + SqlNumber(customer);
        for (const auto& [column, value] : values) {
          columns += ", " + column;
          list += ", " + value;
        }
        Execute(ctx_, kSource, "INSERT INTO t_Contact (" + columns + ") VALUES (" + list + ")");
      }
      if (first)
        Execute(ctx_, kSource,
                "UPDATE t_Contact SET FIsFirst=0 WHERE FItemID=" + SqlNumber(customer) +
                    " AND FID<>" + SqlNumber(id));
    });
    return true;
  }

 private:
  static constexpr const char* kSource = host::progid::kBarCodeUpdate;
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewItemInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, ItemInfo>(ctx);
}
Ref<vb::IObject> NewBarCodeUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, BarCodeUpdate>(ctx);
}

}  // namespace zov::sim::components
