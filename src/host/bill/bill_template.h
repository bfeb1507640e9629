// Bill templates: what a bill form holds, as data. One JSON file per bill class under
// src/host/templates; the host reads them when a session starts.
//
// {
//   "classTypeId": 1030002, "title": "销售单", "plugin": "ZOV_XS_PlugIns.BillEvent_Sale",
//   "tables": { "head": "t_CC_StockBill", "entry": "t_CC_StockBillEntry", "entry2": "",
//               "classColumn": "FClassTypeID", "gridColumn": "" },
//   "billNo": { "prefix": "XS" },
//   "amountCalcPrice": false,
//   "auditByComponent": false,
//   "head":  [ FIELD, ... ],
//   "grids": [ { "fields": [ FIELD, ... ] }, { "fields": [ ... ] } ],
//   "tools": [ { "band": "mnuEdit", "key": "mnuEditFileSave", "caption": "保存",
//                "toolbar": true, "picture": "" }, ... ],
//   "sources": [ SOURCE, ... ],
//   "list": { "columns": [ "FBillNo", "FDate", "FCustID", ... ],
//             "kinds": [ { "billType": 3032, "caption": "网上订单" } ] }
// }
//
// FIELD: { "key": "FCustID", "caption": "客户", "type": "base", "column": "FCustID",
//          "decimals": 2, "default": "", "visible": 208, "locked": false, "required": false,
//          "control": "EditPlus", "copy": true,
//          "base": { "table": "t_Organization", "id": "FItemID", "number": "FNumber",
//                    "name": "FName", "where": "FItemClassID=1",
//                    "props": [ "FTrack", "FIsBatchNoManage" ],
//                    "fill": { "FUnitID": "FUnitID" } },
//          "actions": [ { "kind": "FAction", "name": "Calculate",
//                         "parameter": "FQty=FShowQty*FCoefficient" },
//                       { "kind": "FAction", "name": "LockField",
//                         "parameter": "ME.FTrack<>80,FBatchNo=1,FBatchNo=0" } ] }
//   type: "text", "number", "date", "time", "base", "check".
//   visible: bit mask of the form states that show the field (16 view, 64 new, 128 edit);
//   column: the table column the field is saved in ("" for a field that is not saved).
//   right: "price" or "cost" for a value that a user without that right never sees.
//   copy: false for what a copied bill does not take over (what later bills did with the bill
//   it was copied from): the copy starts it at 0 or empty.
//   default: a literal, or "today" / "now" for dates.
//   control: the header control of the field: "EditPlus" (the host's reference box, whose tag is
//   "Page1." + key and which shows a button at its end) for base-data fields and for the fields
//   that name it; "TextBox" otherwise.
//   controlName: the name of the field's "EditPlus" control when it is not one of the host's
//   array of reference boxes (named "EditPlus").
//   records: the records the field's control offers to choose from: "receiveAddress", the
//   contacts and stored delivery addresses of the header customer (FCustID). The chosen record's
//   text goes into the field as typed, and the control exposes the record ("RecordID", and
//   "RecordKind": "Contact" or "DeliveryAddress") until another is chosen, the customer changes or
//   the form shows another bill.
//   auditByComponent: the bill is audited by its server component (called by the plug-in); the
//   host writes no audit state of its own and reads the stored state back after the audit.
//   fill: when a user or a plug-in chooses a record, each named field of the same header or row
//   takes the record's column (a base field the ID), as the host writes it: no action, no event.
//   Clearing the choice clears them. A stored bill loads them as they were saved.
//   actions: kind "FAction" runs after an edit; a second grid's actions are keyed "FAction01" (they
//   run as "FAction" does, and their events tell the grid by that kind).
//   A "Calculate" parameter is one or more assignments "TARGET=EXPR" separated by ";"; EXPR uses
//   the row's (or header's) fields, numbers, + - * / and parentheses, and ROUND(x, n). A
//   "LockField" parameter is "CONDITION,TARGET=L1,TARGET=L2": TARGET's cell is locked (1) or
//   opened (0) by L1 when CONDITION holds and by L2 otherwise; "ME.X" in CONDITION is property X
//   of the base-data record chosen in the field.
//
// SOURCE: { "tool": "mnuRelate_1030001", "classTypeId": 1030001, "openQty": "FUnSendQty",
//           "headFields": [ "FCustID", ... ], "entryFields": [ "FItemID", ... ],
//           "entryFrom": { "FOrderQty": "FShowQty" } }
//   Source selection copies the named fields of the source bills' rows whose open quantity is
//   above 0, and each "entryFrom" field from the source's field of another name (the quantity
//   ordered), fills FClassID_SRC, FID_SRC, FEntryID_SRC and FBillNo_SRC, and takes the open
//   quantity as the row's FShowQty.
//   A list kind is a kind of the class (FBillTypeID) with a list of its own, which holds the
//   bills of that kind alone.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bill/formula.h"
#include "bill/value_rights.h"
#include "zov/vb/variant.h"

namespace zov::sim {

enum class FieldType { Text, Number, Date, Time, Base, Check };

// Form states of the visibility mask.
enum VisibleMask : int { kVisibleView = 16, kVisibleNew = 64, kVisibleEdit = 128 };

struct FieldAction {
  std::string kind;       // "FAction" ("FAction01" in a second grid) after an edit, or
                          // "FLoadAction" when a bill is shown
  std::string name;       // "Calculate", "LockField"
  std::string parameter;  // the formula or the lock condition
  std::shared_ptr<const Formula> formula;  // compiled "Calculate"
  std::shared_ptr<const LockRule> lock;    // compiled "LockField"
};

struct BaseRef {
  std::string table;
  std::string id = "FItemID";
  std::string number = "FNumber";
  std::string name = "FName";
  std::string where;               // extra condition of the pick list
  std::vector<std::string> props;  // columns handed to actions as the record's properties
  // Fields of the same header or row that the chosen record fills in: field key -> record column.
  std::vector<std::pair<std::string, std::string>> fill;
};

struct FieldDef {
  std::string key;
  std::string caption;
  FieldType type = FieldType::Text;
  std::string column;  // saved in this column; "" for none
  int decimals = -1;   // numbers: shown decimals; -1 as entered
  vb::Variant defaultValue;
  int visible = kVisibleView | kVisibleNew | kVisibleEdit;
  bool locked = false;
  bool required = false;
  bool copied = true;                   // a copy of the bill takes the value over
  ValueRight right = ValueRight::None;  // the right a person needs to see the value
  BaseRef base;                         // when type is Base
  std::string control = "TextBox";      // the header control: "EditPlus" or "TextBox"
  std::string controlName;              // its name, when not the host's "EditPlus" array
  std::string records;                  // what its control offers: "receiveAddress" or none
  std::vector<FieldAction> actions;
  int page = 1;  // 1 header, 2 first grid, 3 second grid
  int grid = 0;  // 0 header, 1 or 2
  int slot = 0;  // where the header's or the row's cells keep this field's cell (CellLayout)

  // The internal key of the field in the bill data and in the template map.
  const std::string& internalKey() const { return column.empty() ? key : column; }
};

struct ToolDef {
  std::string band;  // "mnuEdit", "mnuRelate", "mnuOption", "mnuView", "mnuFile", ...
  std::string key;
  std::string caption;
  bool toolbar = false;  // also a button of "BandToolBar"
  std::string picture;
  int style = 0;
};

// A kind of the class with a list of its own.
struct ListKind {
  long billType = 0;
  std::string caption;
};

struct SourceDef {
  std::string tool;  // "mnuRelate_1030001"
  long classTypeId = 0;
  std::string openQty;  // entry column with the quantity still open
  std::vector<std::string> headFields;
  std::vector<std::string> entryFields;
  std::vector<std::pair<std::string, std::string>> entryFrom;  // this bill's key, the source's
};

// Where the cells of the header, or of each row of a grid, are kept: one slot per internal key,
// in the order of the fields.
struct CellLayout {
  std::vector<std::string> keys;                   // slot -> internal key
  std::map<std::string, int, std::less<>> slotOf;  // internal key -> slot
};

struct BillTemplate {
  long classTypeId = 0;
  std::string title;
  std::string plugin;  // ProgID of the plug-in class
  std::string headTable, entryTable, entry2Table;
  std::string classColumn = "FClassTypeID";
  std::string gridColumn;  // when both grids share the entry table: the column holding 1 or 2
  std::string billNoPrefix;
  bool amountCalcPrice = false;
  // The bill is audited by its server component: no audit state of the host's own.
  bool auditByComponent = false;
  std::vector<FieldDef> head;
  std::vector<std::vector<FieldDef>> grids;  // 1 or 2 grids
  std::vector<ToolDef> tools;
  std::vector<SourceDef> sources;
  std::vector<std::string> listColumns;
  std::vector<ListKind> listKinds;

  // The field of `key` (exact key, then case-insensitive), or nullptr; a key that is both a
  // header field and a row field (FClassID_SRC) finds the header's.
  const FieldDef* Find(std::string_view key) const;
  // The field of `key` as `row` addresses it: a row field for rows 1 and up, the header's for -1
  // (either, when the key has only one of them).
  const FieldDef* FindAt(std::string_view key, long row) const;
  // Every field, header first.
  std::vector<const FieldDef*> AllFields() const;

  std::map<std::string, const FieldDef*, std::less<>> byKey;     // header fields, then row fields
  std::map<std::string, const FieldDef*, std::less<>> rowByKey;  // row fields of both grids
  // The same by their keys as a Text compare sees them (vb::FoldText).
  std::map<std::string, const FieldDef*, std::less<>> foldedByKey, foldedRowByKey;
  std::vector<std::shared_ptr<const CellLayout>> layouts;  // the header's, then each grid's
};

// Reads a template from JSON text; raises std::runtime_error naming the file and what is wrong.
std::shared_ptr<const BillTemplate> ParseTemplate(std::string_view json, std::string_view origin);

// The templates of every bill class in `directory` (one *.json per class), by class type.
std::map<long, std::shared_ptr<const BillTemplate>> LoadTemplates(const std::string& directory);

}  // namespace zov::sim
