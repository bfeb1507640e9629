// The bill templates of the host (src/host/templates): every template loads; what it saves lands
// in columns of its tables; its formulas, lock rules, sources and list name fields of the bill;
// the keys and tools the plug-in of the bill relies on are there; and, on the demo account set,
// a bill of every class resolves its base data, saves, loads back and keeps its rows consistent.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "bill/bill_form.h"
#include "host_fixture.h"
#include "session/data_connection.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::testing {
namespace {

using sim::BillTemplate;
using sim::FieldDef;
using sim::FieldType;
using vb::Ref;
using vb::Variant;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The templates, loaded once; a template that does not load leaves the set empty and the message.
struct Loaded {
  std::shared_ptr<sim::TemplateSet> set = std::make_shared<sim::TemplateSet>();
  std::string error;
};

const Loaded& Templates() {
  static const Loaded loaded = [] {
    Loaded l;
    try {
      *l.set = sim::LoadTemplates(ZOV_TEMPLATE_DIR);
    } catch (const std::exception& e) {
      l.error = e.what();
    }
    return l;
  }();
  return loaded;
}

#define REQUIRE_TEMPLATES()                                      \
  do {                                                           \
    if (!Templates().error.empty()) FAIL() << Templates().error; \
  } while (0)

// Tables of schema.sql: lower-cased table -> lower-cased column -> declared type ("decimal").
using Columns = std::map<std::string, std::string>;

const std::map<std::string, Columns>& SchemaTables() {
  static const std::map<std::string, Columns> tables = [] {
    std::map<std::string, Columns> out;
    std::istringstream in(sim::SchemaScript());
    std::string line;
    Columns* table = nullptr;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string a, b, c;
      words >> a >> b >> c;
      if (Lower(a) == "create" && Lower(b) == "table") {
        table = &out[Lower(c.substr(0, c.find('(')))];
      } else if (table && a.rfind(")", 0) == 0) {
        table = nullptr;
      } else if (table && !a.empty() && a.rfind("--", 0) != 0 && Lower(a) != "constraint") {
        (*table)[Lower(a)] = Lower(b.substr(0, b.find('(')));
      }
    }
    return out;
  }();
  return tables;
}

const Columns* TableOf(const std::string& name) {
  auto it = SchemaTables().find(Lower(name));
  return it == SchemaTables().end() ? nullptr : &it->second;
}

const std::string& EntryTableOf(const BillTemplate& t, int grid) {
  return grid == 2 && !t.entry2Table.empty() ? t.entry2Table : t.entryTable;
}

bool TypeFits(FieldType type, const std::string& sql) {
  static const std::set<std::string> numbers = {"int",   "bit",   "decimal", "numeric",
                                                "float", "money", "smallint"};
  static const std::set<std::string> texts = {"varchar", "nvarchar", "char", "nchar"};
  switch (type) {
    case FieldType::Number:
    case FieldType::Base:
    case FieldType::Check:
      return numbers.count(sql) > 0;
    case FieldType::Date:
      return sql == "datetime" || sql == "date";
    case FieldType::Text:
    case FieldType::Time:
      return texts.count(sql) > 0;
  }
  return false;
}

// The names a base reference hands to the actions ("FISBatchManager AS FIsBatchNoManage" gives
// FIsBatchNoManage) and the columns it reads.
std::string PropName(const std::string& prop) {
  const auto as = Lower(prop).find(" as ");
  return vb::Trim(as == std::string::npos ? prop : prop.substr(as + 4));
}
std::string PropColumn(const std::string& prop) {
  const auto as = Lower(prop).find(" as ");
  return vb::Trim(as == std::string::npos ? prop : prop.substr(0, as));
}

// ---------------------------------------------------------------------------------------------
// The files
// ---------------------------------------------------------------------------------------------

TEST(Templates, EveryFileLoadsAndEveryBillClassHasOne) {
  for (const auto& entry : std::filesystem::directory_iterator(ZOV_TEMPLATE_DIR)) {
    if (entry.path().extension() != ".json") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    try {
      sim::ParseTemplate(text.str(), entry.path().filename().string());
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
  }
  REQUIRE_TEMPLATES();
  std::set<long> classes;
  for (const auto& [id, t] : *Templates().set) classes.insert(id);
  EXPECT_THAT(classes, ::testing::IsSupersetOf({1020001L, 1020002L, 1020004L, 1030001L, 1030002L,
                                                1030003L, 1030004L, 1030005L, 1030006L}));
}

// Plug-ins spell keys as they like: a key matches as a Text compare matches it, a row's own
// field first, then the header's.
TEST(Templates, KeysMatchWhateverTheirCaseAndWidth) {
  REQUIRE_TEMPLATES();
  const sim::BillTemplate& t = *Templates().set->at(1030002);
  const sim::FieldDef* qty = t.FindAt("FQty", 1);
  ASSERT_NE(qty, nullptr);
  EXPECT_EQ(t.FindAt("fqty", 1), qty);
  EXPECT_EQ(t.FindAt("ＦＱＴＹ", 1), qty);
  EXPECT_EQ(t.Find("FENTRYID2"), t.Find("FEntryID2"));
  const sim::FieldDef* customer = t.FindAt("fcustid", 1);
  ASSERT_NE(customer, nullptr);
  EXPECT_EQ(customer->grid, 0) << "a header field, from a row too";
  EXPECT_EQ(t.FindAt("FQty ", 1), nullptr);
  EXPECT_EQ(t.FindAt("FQt", 1), nullptr);
}

TEST(Templates, SavedFieldsLandInColumnsOfTheirTables) {
  REQUIRE_TEMPLATES();
  for (const auto& [id, t] : *Templates().set) {
    SCOPED_TRACE(t->title);
    const Columns* head = TableOf(t->headTable);
    ASSERT_NE(head, nullptr) << t->headTable;
    EXPECT_TRUE(head->count(Lower(t->classColumn))) << t->classColumn;
    std::map<std::pair<int, std::string>, std::string> used;  // (grid, column) -> key
    for (const FieldDef* f : t->AllFields()) {
      if (f->column.empty()) continue;
      const std::string& tableName = f->grid == 0 ? t->headTable : EntryTableOf(*t, f->grid);
      const Columns* table = TableOf(tableName);
      ASSERT_NE(table, nullptr) << tableName;
      auto column = table->find(Lower(f->column));
      if (column == table->end()) {
        ADD_FAILURE() << f->key << ": no column " << f->column << " in " << tableName;
        continue;
      }
      EXPECT_TRUE(TypeFits(f->type, column->second))
          << f->key << " is saved in " << column->second << " column " << f->column;
      // Two fields of one row in one column would name it twice in the INSERT.
      auto [at, fresh] = used.emplace(std::make_pair(f->grid, Lower(f->column)), f->key);
      EXPECT_TRUE(fresh) << f->key << " and " << at->second << " both save into " << f->column;
    }
    if (!t->gridColumn.empty()) {
      EXPECT_TRUE(TableOf(t->entryTable)->count(Lower(t->gridColumn)));
    }
    // The host records the maker of every new bill.
    EXPECT_TRUE(head->count("fbillerid")) << t->headTable << " has no FBillerID";
  }
}

TEST(Templates, EveryPriceAndCostFieldNamesTheRightItNeeds) {
  // The host withholds a value by its field's right; a money field without one would show to
  // everybody, whatever plug-in the bill has.
  REQUIRE_TEMPLATES();
  for (const auto& [id, t] : *Templates().set)
    for (const FieldDef* f : t->AllFields()) {
      if (f->type != FieldType::Number) continue;
      const sim::ValueRight byName = sim::RightOfName(f->key);
      if (byName == sim::ValueRight::None) continue;
      EXPECT_EQ(f->right, byName) << t->title << " " << f->key << " needs \""
                                  << sim::ValueRightName(byName) << "\"";
    }
  try {
    sim::ParseTemplate(R"({"classTypeId": 1, "tables": {"head": "t"}, "grids": [],
                           "head": [{"key": "FPrice", "type": "number", "right": "gold"}]})",
                       "test");
    ADD_FAILURE() << "an unknown right was taken";
  } catch (const std::runtime_error& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr("\"right\""));
  }
}

TEST(Templates, BaseDataComesFromColumnsThatExist) {
  REQUIRE_TEMPLATES();
  for (const auto& [id, t] : *Templates().set) {
    for (const FieldDef* f : t->AllFields()) {
      if (f->type != FieldType::Base) continue;
      SCOPED_TRACE(t->title + " " + f->key);
      const Columns* table = TableOf(f->base.table);
      ASSERT_NE(table, nullptr) << f->base.table;
      for (const std::string& c : {f->base.id, f->base.number, f->base.name})
        EXPECT_TRUE(table->count(Lower(c))) << c;
      for (const std::string& p : f->base.props)
        EXPECT_TRUE(table->count(Lower(PropColumn(p)))) << p;
      for (const auto& [target, column] : f->base.fill)
        EXPECT_TRUE(table->count(Lower(column))) << target;
      // The words of the pick-list condition that name columns.
      std::string word;
      for (char ch : f->base.where + " ") {
        if (std::isalnum(static_cast<unsigned char>(ch)) || ch == '_') {
          word += ch;
          continue;
        }
        if (!word.empty() && word[0] == 'F') {
          EXPECT_TRUE(table->count(Lower(word))) << f->base.where;
        }
        word.clear();
      }
    }
  }
}

TEST(Templates, AFieldFillsOnlyFieldsBesideIt) {
  constexpr const char* kBad = R"({
    "classTypeId": 1, "tables": { "head": "t_cc_stockbill", "entry": "t_cc_stockbillentry" },
    "head": [ { "key": "FNote" } ],
    "grids": [ { "fields": [
      { "key": "FItemID", "type": "base", "column": "FItemID",
        "base": { "table": "t_ICItem", "fill": { "FNote": "FUnitID" } } } ] } ]
  })";
  EXPECT_THROW(sim::ParseTemplate(kBad, "bad.json"), std::runtime_error);
}

TEST(Templates, ActionsNameFieldsOfTheirOwnRow) {
  REQUIRE_TEMPLATES();
  for (const auto& [id, t] : *Templates().set) {
    for (const FieldDef* f : t->AllFields()) {
      for (const auto& action : f->actions) {
        SCOPED_TRACE(t->title + " " + f->key + ": " + action.parameter);
        // The only kinds the host runs after an edit: a second grid's actions tell their grid.
        EXPECT_EQ(action.kind, f->grid == 2 ? "FAction01" : "FAction");
        // A formula of a row reads and writes its own row or the header: a key of the other
        // grid would be read at the same row number of that grid.
        auto sameRow = [&](const std::string& key) {
          auto it = t->byKey.find(key);
          if (it == t->byKey.end())
            return ::testing::AssertionFailure() << key << " is no field (keys are exact)";
          if (it->second->grid != 0 && it->second->grid != f->grid)
            return ::testing::AssertionFailure() << key << " is in grid " << it->second->grid;
          return ::testing::AssertionSuccess();
        };
        if (action.formula) {
          for (const auto& a : action.formula->assignments) {
            EXPECT_TRUE(sameRow(a.target));
            if (auto it = t->byKey.find(a.target); it != t->byKey.end()) {
              EXPECT_EQ(it->second->type, FieldType::Number) << a.target;
            }
            for (const auto& input : a.inputs) EXPECT_TRUE(sameRow(input));
          }
        }
        if (action.lock) {
          EXPECT_TRUE(sameRow(action.lock->target));
          for (const std::string& side : {action.lock->left, action.lock->right}) {
            if (Lower(side).rfind("me.", 0) != 0) continue;
            std::set<std::string> props;
            for (const auto& p : f->base.props) props.insert(PropName(p));
            EXPECT_TRUE(props.count(side.substr(3)))
                << side << " is not a property of the chosen record";
          }
        }
      }
    }
  }
}

TEST(Templates, SourcesListAndToolsFitTogether) {
  REQUIRE_TEMPLATES();
  const auto& set = *Templates().set;
  for (const auto& [id, t] : set) {
    SCOPED_TRACE(t->title);
    std::set<std::string> tools;
    for (const auto& tool : t->tools)
      EXPECT_TRUE(tools.insert(tool.key).second) << tool.key << " twice";
    for (const auto& s : t->sources) {
      EXPECT_TRUE(tools.count(s.tool)) << s.tool;
      EXPECT_EQ(s.tool, "mnuRelate_" + std::to_string(s.classTypeId));
      ASSERT_TRUE(set.count(s.classTypeId)) << "no template of source class " << s.classTypeId;
      const BillTemplate& source = *set.at(s.classTypeId);
      EXPECT_TRUE(TableOf(source.entryTable)->count(Lower(s.openQty))) << s.openQty;
      for (const auto& key : s.headFields) {
        EXPECT_TRUE(t->byKey.count(key) && t->byKey.at(key)->grid == 0) << key;
        EXPECT_TRUE(source.byKey.count(key) && source.byKey.at(key)->grid == 0)
            << key << " in the source";
      }
      for (const auto& key : s.entryFields) {
        EXPECT_TRUE(t->byKey.count(key) && t->byKey.at(key)->grid == 1) << key;
        EXPECT_TRUE(source.byKey.count(key) && source.byKey.at(key)->grid == 1)
            << key << " in the source";
      }
    }
    // A selection tool without a source would open a window that can fill nothing.
    for (const auto& key : tools) {
      if (key.rfind("mnuRelate_", 0) != 0) continue;
      EXPECT_TRUE(std::any_of(t->sources.begin(), t->sources.end(), [&](const auto& s) {
        return s.tool == key;
      })) << key;
    }
    for (const auto& key : t->listColumns)
      EXPECT_TRUE(t->byKey.count(key)) << "list column " << key;
  }
}

// ---------------------------------------------------------------------------------------------
// What the plug-ins rely on
// ---------------------------------------------------------------------------------------------

std::vector<std::string> Split(std::string_view keys) {
  std::vector<std::string> out;
  for (const auto& k : vb::Split(keys, ",")) out.push_back(vb::Trim(k));
  return out;
}

struct Needs {
  std::string head, grid1, grid2, tools;
};

// Keys a bill's rules cannot do without (spelled as the rules spell them; case matters), and
// the host tools they show, hide, relabel or answer.
const std::map<long, Needs>& NeedsByClass() {
  static const std::string rowFamily =
      "FItemID,FUnitID,FShowUnitID,FCoefficient,FShowQty,FQty,FSecUnitID,FSecQty,FSecCoefficient,"
      "FsecCoefficient,"
      "FDisplayQty,FDisplayWeight,FCalTypeID,FBasePrice,FPrice,FSecPrice,FDisplayPrice,"
      "FBasePriceDiscount,"
      "FPriceDiscount,FSecPriceDiscount,FBaseTaxPrice,FTaxPrice,FSecTaxPrice,FTaxRate,"
      "FDiscountRate,FAmount,"
      "FTaxAmount,FInTaxAmount,FAuxPropID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FEntryID2";
  static const std::string billTools =
      "mnuFileNew,mnuEditFileSave,mnuEditCheck,mnuEditUnCheck,mnuEditCopy,mnuEditFileDelete,"
      "mnuFilePrint,"
      "mnuFilePreview,mnuFileExit,mnuDataPre2,mnuDataNext2,mnuRelateViewVoucher,mnuRelateViewList";
  static const std::string saleHead =
      "FBillNo,FDate,FBillTypeID,FStatus,FCheckerID,FCustID,FEmpID,FDeptID,FSettleLimitDate,"
      "FInvoiceType,"
      "FInvoiceNO,FExplanation,FNote,FClassID_SRC,FID_SRC,FRejected,FRejectedNote,FRejectedTime,"
      "FCurPayAmount,"
      "FCurPayID,FBalanceStyle,FAcctNo,FMultiAccount,FDiscountAcctID,FCurCheckAmount,"
      "FNeutralizeAmount,FAllAmount,"
      "FCheckAmount,FUnCheckAmount,FInvoiceAmt,FNoInvoiceAmt,FContact,FReceiveAddr,FAddress,FPhone,"
      "FMobilePhone,"
      "FFax,FTextColor,FTranspotationCosts,FLogisticNumber";
  static const std::string saleTools =
      billTools +
      ",mnuKddPrint,mnuEditCheckInfo,mnuEditAutoSumAmt,mnuImportGoods,mnuBarCode,mnuSerialNum,"
      "mnuEditAddRow,mnuCopyRow,mnuEditClose,mnuEditUnClose,mnuShareByQty,mnuShareByAmt,"
      "mnuRelate_1030001,mnuRelate_1030002,mnuRelate_1030003,mnuRelatePushBill_1050001,"
      "mnuRelatePushBill_1030002,mnuOptionPriceCalcDiscount,mnuOptionAmountCalcPrice";
  static const std::map<long, Needs> needs = {
      {1030002,
       {saleHead,
        rowFamily +
            ",FSCStockID,FIncludeTaxPrice,FNoDiscAmount,FDiscountAmount,FCostPrice,FCostAmount,"
            "FOrderQty,"
            "FBaseOrderQty,FRejectQty,FBaseRejectQty,FRejectAuxQty,FUnRejectQty,FBaseUnRejectQty,"
            "FUnRejectAuxQty,FIsBatchNoManage,FBatchNoIndex,FSerialNo,FIndex2,FBaseProperty3,"
            "FBaseProperty4,FClientItemID,FBarcode,FComplexQtyDis,FTranspotationCharges,FEntryID_"
            "SRC,"
            "FBillNo_SRC,lClassTypeID",
        "", saleTools}},
      {1030005,
       {saleHead,
        rowFamily + ",FSCStockID,FIncludeTaxPrice,FNoDiscAmount,FDiscountAmount,FCostPrice,"
                    "FCostAmount,FSerialNo,"
                    "FClientItemID,FBarcode,FOrderQty,FEntryID_SRC,FBillNo_SRC,FIsBatchNoManage,"
                    "FBatchNoIndex",
        "FItemID01,FUnitID01,FShowUnitID01,FCoefficient01,FShowQty01,FQty01,FSecUnitID01,FSecQty01,"
        "FSecCoefficient01,FsecCoefficient01,FDisplayQty01,FDisplayWeight01,FCalTypeID01,"
        "FBasePrice01,FPrice01,"
        "FIncludeTaxPrice01,FSecPrice01,FDisplayPrice01,FTaxRate01,FTaxPrice01,FBaseTaxPrice01,"
        "FSecTaxPrice01,"
        "FPriceDiscount01,FBasePriceDiscount01,FSecPriceDiscount01,FDiscountRate01,"
        "FDiscountAmount01,"
        "FNoDiscAmount01,FAmount01,FTaxAmount01,FInTaxAmount01,FCostPrice01,FCostAmount01,"
        "FSCStockID01,FBatchNo01,"
        "FBatchNoIndex01,FAuxPropID01,FKFDate01,FKFPeriod01,FPeriodDate01,FSerialNo01,"
        "FClientItemID01,FOrderQty01,"
        "FEntryID_SRC01,FBarcode01,FDiscountAcctId01,FTranspotationCharges01",
        saleTools}},
      {1030001,
       {"FBillNo,FDate,FBillTypeID,FStatus,FCustID,FEmpID,FDeptID,FFetchDate,FFetchStyle,FContact,"
        "FPhone,"
        "FMobilePhone,FFax,FAddress,FReceiveAddr,FAllAmount,FXSDeposit,FRejected,FRejectedNote,"
        "FRejectedTime,"
        "FUserDefine1,FUserDefine2,FUserDefine3,FUserDefine4,FUserDefine5,FUserDefine6,FWebTradeID,"
        "FWebshopID,"
        "FWebBillAmount,FWebBillDiscountAmount,FWebBillTransAmount,FWebBillReceAmount,"
        "FReceiverCity",
        rowFamily +
            ",FIncludeTaxPrice,FNoDiscAmount,FDiscountAmount,FClientItemID,FBarcode,FComplexQtyDis,"
            "FSendQty,FBaseSendQty,FUnSendQty,FUnSendAuxQty,FTotalQty,FCgOrderQty,FXsOrderQty,"
            "FInTotalQty,"
            "FBaseTotalQty,FBaseCgOrderQty,FBaseXsOrderQty,FBaseInTotalQty,lClassTypeID",
        "",
        // The order's form names its new tool mnuEditFileNew: the order hides it for an online
        // order.
        "mnuEditFileNew" + billTools.substr(billTools.find(',')) +
            ",mnuEditClose,mnuEditUnClose,mnuImportGoods,mnuBarCode,mnuRelatePushBill_1030003,"
            "mnuRelatePushBill_1030002,mnuRelatePushBill_1020001,mnuRelatePushBill_1050001,"
            "mnuOptionPriceCalcDiscount,mnuOptionAmountCalcPrice"}},
      {1030003,
       {"FBillNo,FDate,FBillTypeID,FStatus,FCheckerID,FCustID,FEmpID,FDeptID,FExplanation,FClassID_"
        "SRC,FID_SRC,"
        "FAddress,FAllAmount,FTextColor,FTranspotationCosts,FTotaladvanceCosts,"
        "FTotalProcurementCosts",
        rowFamily +
            ",FSCStockID,FCostPrice,FCostAmount,FOrderQty,FRejectQty,FSettleQty,FRejectAuxQty,"
            "FSettleAuxQty,"
            "FUnRejectQty,FUnSettleQty,FUnRejectAuxQty,FUnSettleAuxQty,FTranspotationCharges,"
            "FSerialNo,"
            "FClientItemID,FBarcode,FComplexQtyDis,FEntryID_SRC,FIsBatchNoManage,FBatchNoIndex",
        "",
        billTools +
            ",mnuImportGoods,mnuBarCode,mnuShareByQty,mnuShareByAmt,mnuRelate_1030001,mnuRelate_"
            "1030003,"
            "mnuRelatePushBill_1030003,mnuRelatePushBill_1030002,mnuEditClose,mnuEditUnClose"}},
      {1030004,
       {"FBillNo,FDate,FBillTypeID,FStatus,FCheckerID,FCustID,FEmpID,FDeptID,FAllAmount,"
        "FTranspotationCosts",
        rowFamily + ",FSCStockID,FCostPrice,FCostAmount,FUnRejectQty,FUnRejectAuxQty,FUnSettleQty,"
                    "FUnSettleAuxQty,"
                    "FTranspotationCharges,FBarcode",
        "", billTools + ",mnuShareByQty,mnuShareByAmt,mnuEditClose,mnuEditUnClose"}},
      {1020004,
       {"FBillNo,FDate,FBillTypeID,FStatus,FCheckerID,FSupplyID,FEmpID,FDeptID,FAllAmount,"
        "FTranspotationCosts,"
        "FTotaladvanceCosts",
        rowFamily +
            ",FDCStockID,FUnSettleQty,FUnSettleAuxQty,FTranspotationCharges,FNote,FBillUserText1,"
            "FBillUserText2,FBillUserText3,FBarcode",
        "", billTools + ",mnuShareByQty,mnuShareByAmt,mnuEditAddRow,mnuCopyRow,mnuDataViewPrice"}},
      {1030006,
       {"FID,FClassTypeID,FBillNo,FDate,FBeginDate,FEndDate,FBeginTime,FEndTime,FStatus,FPriceType,"
        "FEmpId,FDeptID,"
        "FCustomer",
        "FItemID,FShowUnitID,FOldPrice,FNewPrice,FDifferPrice,FDiscountRate,FXSPrice,FBarCode,"
        "FTotalLimitQty,"
        "FSingleLimitQty",
        "", billTools + ",mnuCopyRow,mnuBatchFillField,mnuDiscountRate,mnuOptionAmountCalcPrice"}},
  };
  return needs;
}

TEST(Templates, KeysAndToolsThePlugInsRelyOn) {
  REQUIRE_TEMPLATES();
  // Tools the plug-ins add themselves: a template copy would appear twice in its menu.
  const auto added = Split(
      "mnuReject,mnuQueryPayIn,mnuQuerySaleReject,mnuQuerySale,mnuQueryConsign,"
      "mnuQueryConsignReject,"
      "mnuQueryConsignBal,mnuQuerySaleOrder,mnuQueryGH,mnuQueryConsignAccount,mnuQueryConsignSale,"
      "mnuExecuteProcess,"
      "mnuQueryGHOrder,mnuRelatePushBill_2000001,mnuRelatePushBill_3000001,mnuQueryLogisticList,"
      "mnuCheckDuplicateItem,mnuDoNotResetPrice,mnuDoNotGetSalePriceWhenGiftStock,mnuInvalidBill");
  for (const auto& [id, needs] : NeedsByClass()) {
    ASSERT_TRUE(Templates().set->count(id)) << id;
    const BillTemplate& t = *Templates().set->at(id);
    SCOPED_TRACE(t.title);
    auto expectIn = [&](const std::string& keys, int grid) {
      for (const auto& key : Split(keys)) {
        if (key.empty()) continue;
        auto it = t.byKey.find(key);
        if (it == t.byKey.end()) {
          ADD_FAILURE() << "no field " << key;
          continue;
        }
        EXPECT_EQ(it->second->grid, grid) << key;
      }
    };
    expectIn(needs.head, 0);
    expectIn(needs.grid1, 1);
    expectIn(needs.grid2, 2);
    std::set<std::string> tools;
    for (const auto& tool : t.tools) tools.insert(tool.key);
    for (const auto& key : Split(needs.tools)) EXPECT_TRUE(tools.count(key)) << "no tool " << key;
    for (const auto& key : added)
      EXPECT_FALSE(tools.count(key)) << key << " is the plug-in's own tool";
    EXPECT_EQ(t.plugin.rfind("ZOV_XS_PlugIns.BillEvent_", 0), 0u) << t.plugin;
  }
}

// ---------------------------------------------------------------------------------------------
// On the demo account set
// ---------------------------------------------------------------------------------------------

class TemplatesOnDemo : public HostTest {
 protected:
  void SetUp() override {
    REQUIRE_TEMPLATES();
    session_ = Open("admin", Templates().set);
  }
  void TearDown() override {
    if (!session_) return;
    for (const auto& e : session_->journal().entries())
      ADD_FAILURE() << e.where << ": " << e.error << "\n" << e.text;
  }
  Ref<sim::BillForm> NewForm(long classTypeId) {
    auto form = sim::BillForm::New(Templates().set->at(classTypeId), *session_);
    form->NewBill();
    return form;
  }
  static double Number(sim::BillForm& form, const std::string& key, long row = 1) {
    const Variant v = form.Value(key, row);
    return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
  }

  std::unique_ptr<sim::Session> session_;
};

// Rounds as the host's formulas do.
double Places(double value, int places) { return vb::FormatToPlaces(value, places).ToDouble(); }

TEST_F(TemplatesOnDemo, BillClassesNameTheirTemplates) {
  const auto rows = session_
                        ->Run(
                            "SELECT FClassTypeID, FHeadTable, FEntryTable, FTemplate, FProgID FROM "
                            "t_BillClassType")[0]
                        .rows;
  for (const auto& [id, t] : *Templates().set) {
    auto row =
        std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return vb::CLng(r[0]) == id; });
    ASSERT_NE(row, rows.end()) << id;
    EXPECT_EQ(Lower(vb::CStr((*row)[1])), Lower(t->headTable)) << id;
    EXPECT_EQ(Lower(vb::CStr((*row)[2])), Lower(t->entryTable)) << id;
    EXPECT_EQ(vb::CStr((*row)[4]), t->plugin) << id;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ZOV_TEMPLATE_DIR) /
                                        (vb::CStr((*row)[3]) + ".json")))
        << vb::CStr((*row)[3]);
  }
}

// A new bill of every class resolves its base-data defaults and every pick list, saves with a
// row and loads back with the same cells.
TEST_F(TemplatesOnDemo, EveryBillSavesAndLoadsBack) {
  for (const auto& [id, t] : *Templates().set) {
    SCOPED_TRACE(t->title);
    auto form = NewForm(id);
    for (const FieldDef* f : t->AllFields()) {
      if (f->type != FieldType::Base) continue;
      std::string sql = "SELECT " + f->base.id + "," + f->base.number + "," + f->base.name;
      for (const auto& p : f->base.props) sql += "," + p;
      sql += " FROM " + f->base.table + " WHERE 1=0";
      if (!f->base.where.empty()) sql += " AND (" + f->base.where + ")";
      EXPECT_NO_THROW(session_->Run(sql)) << f->key;
      if (!f->defaultValue.IsEmpty()) {
        EXPECT_NE(form->Display(f->key, f->grid ? 1 : -1), "") << f->key;
      }
    }
    for (const char* partner : {"FCustID", "FSupplyID"})
      if (t->Find(partner) && t->Find(partner)->grid == 0)
        form->Edit(partner, -1, partner[1] == 'C' ? "C001" : "S001");
    for (std::size_t g = 1; g <= t->grids.size(); ++g) {
      const std::string sfx = g == 2 ? "01" : "";
      ASSERT_TRUE(form->Edit("FItemID" + sfx, 1, "I001"));
      for (const char* key : {"FShowUnitID", "FUnitID"})
        if (t->Find(key + sfx)) form->Edit(key + sfx, 1, "U01");
      for (const auto& [key, value] : std::vector<std::pair<std::string, double>>{
               {"FPrice", 12.5}, {"FShowQty", 3}, {"FNewPrice", 11}, {"FOldPrice", 12.5}})
        if (t->Find(key + sfx)) form->Edit(key + sfx, 1, value);
    }
    ASSERT_TRUE(form->Save()) << (ui_->messages().empty() ? "" : ui_->messages().back().text);

    auto again = sim::BillForm::New(t, *session_);
    ASSERT_TRUE(again->LoadBill(form->CurBillID()));
    for (const FieldDef* f : t->AllFields()) {
      // Columns the host keeps itself.
      if (f->column.empty() || Lower(f->column) == "fid" || Lower(f->column) == "fentryid" ||
          Lower(f->column) == "findex" || Lower(f->column) == "lentryid")
        continue;
      const long row = f->grid ? 1 : -1;
      if (f->type == FieldType::Number || f->type == FieldType::Check)
        EXPECT_DOUBLE_EQ(Number(*again, f->key, row), Number(*form, f->key, row))
            << f->key;  // blank saves as 0
      else
        EXPECT_EQ(again->Display(f->key, row), form->Display(f->key, row)) << f->key;
    }
  }
}

// Every selection a bill offers fills rows from an audited source bill of the demo set.
TEST_F(TemplatesOnDemo, SourceSelectionsFillRows) {
  int selections = 0;
  for (const auto& [id, t] : *Templates().set) {
    for (const auto& s : t->sources) {
      SCOPED_TRACE(t->title + " " + s.tool);
      const BillTemplate& source = *Templates().set->at(s.classTypeId);
      const auto found = session_->Run(
          "SELECT TOP 1 h.FID FROM " + source.headTable + " h INNER JOIN " + source.entryTable +
          " e ON e.FID=h.FID WHERE h." + source.classColumn + "=" + std::to_string(s.classTypeId) +
          " AND h.FStatus=1 AND e." + s.openQty + ">0 ORDER BY h.FID");
      if (found.empty() || found[0].rows.empty()) continue;
      const long billId = vb::CLng(found[0].rows[0][0]);
      auto form = NewForm(id);
      ASSERT_TRUE(form->SelectSource(s.tool, {{billId, 0}}));
      ++selections;
      long filled = 0;
      for (long r = 1; r <= form->RowCount(1); ++r) {
        if (Number(*form, "FEntryID_SRC", r) == 0) continue;
        ++filled;
        EXPECT_GT(Number(*form, "FShowQty", r), 0);
        EXPECT_NEAR(Number(*form, "FQty", r),
                    Number(*form, "FShowQty", r) * Number(*form, "FCoefficient", r), 1e-4);
        EXPECT_NE(form->Display("FItemID", r), "");
      }
      EXPECT_GT(filled, 0);
      EXPECT_EQ(Number(*form, "FClassID_SRC", -1), s.classTypeId);
      EXPECT_EQ(Number(*form, "FID_SRC", -1), billId);
    }
  }
  EXPECT_GE(selections, 5);
}

// The sales order XSDD000001 (row 1: 100 个 at 12.50, 40 delivered; row 2: 20 箱 of 24 瓶 at 30)
// becomes a sales bill of what is still to be delivered, priced as ordered.
TEST_F(TemplatesOnDemo, ASalesOrderBecomesASalesBillOfItsOpenQuantity) {
  auto form = NewForm(1030002);
  ASSERT_TRUE(form->SelectSource("mnuRelate_1030001", {{1, 0}}));
  EXPECT_EQ(form->GetFieldValue("FCustID", -1, host::kFieldNumber), Variant("C001"));
  std::map<long, long> rowOf;  // source entry -> row
  for (long r = 1; r <= form->RowCount(1); ++r)
    rowOf[static_cast<long>(Number(*form, "FEntryID_SRC", r))] = r;
  ASSERT_TRUE(rowOf.count(1) && rowOf.count(2));
  const long a = rowOf[1], b = rowOf[2];
  EXPECT_EQ(Number(*form, "FShowQty", a), 60);
  EXPECT_EQ(Number(*form, "FAmount", a), 750);
  EXPECT_EQ(Number(*form, "FInTaxAmount", a), 847.5);
  EXPECT_EQ(vb::CStr(form->Value("FBillNo_SRC", a)), "XSDD000001");
  EXPECT_EQ(form->GetFieldValue("FShowUnitID", b, host::kFieldNumber), Variant("U04"));
  EXPECT_EQ(Number(*form, "FQty", b), 480);
  EXPECT_EQ(Number(*form, "FAmount", b), 600);
  EXPECT_EQ(Number(*form, "FTaxAmount", b), 78);
}

// ---------------------------------------------------------------------------------------------
// The row formulas, run by the host without a plug-in (every action runs, as with prices derived
// from amounts): typed values stay as typed, and the row stays consistent.
// ---------------------------------------------------------------------------------------------

struct Row {
  double coefficient, secCoefficient, qty, price, discount, tax;
};

class RowFormulas : public TemplatesOnDemo,
                    public ::testing::WithParamInterface<std::pair<long, std::string>> {
 protected:
  // Keys of the row under test ("FAmount01" on the second grid of the exchange bill).
  std::string K(const std::string& key) const { return key + GetParam().second; }
  double N(const std::string& key) { return Number(*form_, K(key)); }
  void Type(const std::string& key, double value) {
    ASSERT_TRUE(form_->Edit(K(key), 1, value)) << key;
  }
  // Opens a cell the template locks, as the rules of weight-calculated rows do.
  void Unlock(const std::string& key) { form_->LockCell(*form_->tmpl().Find(K(key)), 1, false); }

  void Start(const Row& r) {
    form_ = NewForm(GetParam().first);
    form_->SetFieldValue(K("FCoefficient"), r.coefficient, 1);
    form_->SetFieldValue(K("FSecCoefficient"), r.secCoefficient, 1);
    Type("FTaxRate", r.tax);
    Type("FDiscountRate", r.discount);
    Type("FPrice", r.price);
    Type("FShowQty", r.qty);
  }

  // The row as the forward formulas make it from quantity, price, discount and tax.
  void ExpectConsistent(const Row& r, double price) {
    const double pd = Places(price * r.discount / 100, 4);
    EXPECT_DOUBLE_EQ(N("FPrice"), price);
    EXPECT_DOUBLE_EQ(N("FQty"), Places(r.qty * r.coefficient, 4));
    EXPECT_DOUBLE_EQ(N("FBasePrice"), Places(price / r.coefficient, 4));
    EXPECT_DOUBLE_EQ(N("FSecPrice"), Places(price * r.secCoefficient, 4));
    EXPECT_DOUBLE_EQ(N("FIncludeTaxPrice"), Places(price * (100 + r.tax) / 100, 4));
    EXPECT_DOUBLE_EQ(N("FPriceDiscount"), pd);
    EXPECT_DOUBLE_EQ(N("FTaxPrice"), Places(pd * (100 + r.tax) / 100, 4));
    const double amount = Places(r.qty * pd, 2);
    EXPECT_DOUBLE_EQ(N("FAmount"), amount);
    EXPECT_DOUBLE_EQ(N("FNoDiscAmount"), Places(r.qty * price, 2));
    EXPECT_DOUBLE_EQ(N("FTaxAmount"), Places(amount * r.tax / 100, 2));
    EXPECT_NEAR(N("FInTaxAmount"), N("FAmount") + N("FTaxAmount"), 1e-9);
  }

  Ref<sim::BillForm> form_;
};

const Row kRows[] = {
    {1, 0, 3, 3.3333, 100, 13},       {24, 0, 7, 1.2345, 95, 13},
    {24, 0.5, 1000, 1.2345, 87.5, 9}, {0.0288, 34.7222, 100, 120.96, 100, 13},
    {6, 0.04, 2.5, 10.0001, 95, 0},
};

TEST_P(RowFormulas, TypedPricesAndQuantitiesStayAsTyped) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(::testing::Message()
                 << "coefficient " << r.coefficient << " qty " << r.qty << " price " << r.price
                 << " discount " << r.discount << " tax " << r.tax);
    Start(r);
    ExpectConsistent(r, r.price);
    // A new tax rate and discount recompute the row; the price stays.
    Row other = r;
    other.tax = 6;
    other.discount = 90;
    Type("FTaxRate", other.tax);
    Type("FDiscountRate", other.discount);
    ExpectConsistent(other, r.price);
  }
}

TEST_P(RowFormulas, AmountsAndOtherPriceFormsDeriveThePrice) {
  const Row r{24, 0.5, 7, 1.2345, 95, 13};
  Start(r);
  // An amount gives the price it takes at this quantity and discount.
  Type("FAmount", 100);
  EXPECT_DOUBLE_EQ(N("FPrice"), Places(100.0 * 100 / (r.qty * r.discount), 4));
  EXPECT_NEAR(N("FAmount"), 100, 0.005);
  EXPECT_NEAR(N("FInTaxAmount"), N("FAmount") + N("FTaxAmount"), 1e-9);

  // A tax-inclusive amount gives the amount; a few cents more only adjust the tax.
  Type("FInTaxAmount", 226);
  const double amount = N("FAmount");
  EXPECT_NEAR(amount, 200, 0.01);
  EXPECT_NEAR(N("FPrice"), 200.0 * 100 / (r.qty * r.discount), 0.0002);
  const double price = N("FPrice");
  Type("FInTaxAmount", N("FInTaxAmount") + 0.03);
  EXPECT_DOUBLE_EQ(N("FAmount"), amount);
  EXPECT_DOUBLE_EQ(N("FPrice"), price);
  EXPECT_NEAR(N("FAmount") + N("FTaxAmount"), N("FInTaxAmount"), 1e-9);

  // The tax-inclusive price, the base-unit price and the price with tax of the base unit.
  Type("FIncludeTaxPrice", 22.6);
  EXPECT_DOUBLE_EQ(N("FPrice"), 20);
  Type("FTaxPrice", 11.3 * 0.95);
  EXPECT_DOUBLE_EQ(N("FPrice"), 10);
  Unlock("FBasePrice");
  Type("FBasePrice", 0.5);
  EXPECT_DOUBLE_EQ(N("FPrice"), 12);
  Type("FBaseTaxPrice", 1);
  EXPECT_NEAR(N("FTaxPrice"), 24, 0.0002);  // as the price it gives makes it again
  ExpectConsistent(r, N("FPrice"));

  // A base quantity gives the quantity of the row's unit.
  Unlock("FQty");
  Type("FQty", 48);
  EXPECT_DOUBLE_EQ(N("FShowQty"), 2);
  EXPECT_DOUBLE_EQ(N("FAmount"), Places(2 * N("FPriceDiscount"), 2));
}

INSTANTIATE_TEST_SUITE_P(Bills, RowFormulas,
                         ::testing::Values(std::make_pair(1030002L, std::string()),
                                           std::make_pair(1030005L, std::string("01")),
                                           std::make_pair(1030001L, std::string()),
                                           std::make_pair(1030003L, std::string()),
                                           std::make_pair(1030004L, std::string()),
                                           std::make_pair(1020004L, std::string())),
                         [](const auto& info) {
                           return std::to_string(info.param.first) +
                                  (info.param.second.empty() ? "" : "_grid2");
                         });

}  // namespace
}  // namespace zov::testing
