// Loading and saving a bill: its header row and its entry rows in the tables the template maps
// them to. A save runs in the caller's transaction.
#include <cmath>
#include <map>
#include <set>

#include "bill/bill_form.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

// Statements of entry rows sent to the database at once.
constexpr long kRowsPerBatch = 500;

// Columns the host writes itself; template fields that map to them are not written twice.
bool HostColumn(std::string_view column) {
  for (const char* own : {"FID", "FEntryID", "FIndex", "FBillNo"})
    if (vb::StrComp(column, own, vb::CompareMethod::Text) == 0) return true;
  return false;
}

std::string Quote(std::string_view text) { return "N'" + vb::Replace(text, "'", "''") + "'"; }

// A cell value as a SQL literal for a column of the field's type.
std::string Literal(const FieldDef& f, const Variant& v) {
  const bool blank = v.IsEmpty() || v.IsNull() || (v.IsString() && vb::Trim(v.AsString()).empty());
  switch (f.type) {
    case FieldType::Number:
    case FieldType::Base:
    case FieldType::Check: {
      if (blank) return "0";
      const double n = v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
      if (!std::isfinite(n)) return "0";
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", n);
      return buf;
    }
    case FieldType::Date: {
      if (blank) return "NULL";
      if (v.Type() == vb::VarType::Date) return "'" + vb::Format(v, "yyyy-MM-dd HH:mm:ss") + "'";
      if (auto d = vb::ParseDate(vb::CStr(v)))
        return "'" + vb::Format(Variant(*d), "yyyy-MM-dd HH:mm:ss") + "'";
      return "NULL";
    }
    case FieldType::Time:
    case FieldType::Text:
      return Quote(blank ? std::string() : vb::CStr(v));
  }
  return "NULL";
}

long ColumnIndex(const RecordData& data, std::string_view name) {
  for (std::size_t i = 0; i < data.columns.size(); ++i)
    if (vb::StrComp(data.columns[i].name, name, vb::CompareMethod::Text) == 0)
      return static_cast<long>(i);
  return -1;
}

}  // namespace

bool BillForm::ReadFromDatabase(long billId) {
  const auto head =
      services_.Run("SELECT * FROM " + tmpl_->headTable + " WHERE FID=" + std::to_string(billId) +
                    " AND " + tmpl_->classColumn + "=" + std::to_string(tmpl_->classTypeId));
  if (head.empty() || head[0].rows.empty()) return false;
  ResetData();
  billId_ = billId;
  const RecordData& h = head[0];
  for (const auto& f : tmpl_->head) {
    const std::string& column = f.column.empty() ? f.key : f.column;
    const long c = ColumnIndex(h, column);
    if (c < 0) continue;
    const Variant& v = h.rows[0][static_cast<std::size_t>(c)];
    WriteTyped(f, -1, v, false);
    if (auto cell = Cell(f, -1, false)) cell->SetItem("FieldData", v);
  }
  for (std::size_t g = 0; g < tmpl_->grids.size(); ++g) {
    const int grid = static_cast<int>(g + 1);
    std::string table =
        grid == 2 && !tmpl_->entry2Table.empty() ? tmpl_->entry2Table : tmpl_->entryTable;
    if (table.empty()) continue;
    std::string sql = "SELECT * FROM " + table + " WHERE FID=" + std::to_string(billId);
    if (!tmpl_->gridColumn.empty() && tmpl_->entry2Table.empty())
      sql += " AND " + tmpl_->gridColumn + "=" + std::to_string(grid);
    sql += " ORDER BY FIndex, FEntryID";
    const auto rows = services_.Run(sql);
    if (rows.empty()) continue;
    const RecordData& e = rows[0];
    const long entryColumn = ColumnIndex(e, "FEntryID");
    const long indexColumn = ColumnIndex(e, "FIndex");
    std::vector<std::pair<const FieldDef*, long>> mapped;
    for (const auto& f : tmpl_->grids[g]) {
      const long c = ColumnIndex(e, f.column.empty() ? f.key : f.column);
      if (c >= 0) mapped.emplace_back(&f, c);
    }
    Page(grid).Reserve(static_cast<long>(e.rows.size()));
    const long total = static_cast<long>(e.rows.size());
    for (const auto& record : e.rows) {
      const long row = Page(grid).Append();
      ReportProgress("读取单据", row, total);
      EntryRow& stored = *Page(grid).Row(row);
      if (entryColumn >= 0)
        stored.entryId = vb::CLng(record[static_cast<std::size_t>(entryColumn)]);
      if (indexColumn >= 0)
        stored.storedIndex = vb::CLng(record[static_cast<std::size_t>(indexColumn)]);
      for (const auto& [f, c] : mapped)
        WriteTyped(*f, row, record[static_cast<std::size_t>(c)], false);
    }
  }
  MarkStored();
  return true;
}

void BillForm::MarkStored() {
  page1_->ClearWritten();
  for (std::size_t g = 0; g < tmpl_->grids.size(); ++g) {
    long index = 0;
    for (auto& row : Page(static_cast<int>(g + 1)).rows()) {
      row.cells->ClearWritten();
      row.storedIndex = ++index;
    }
  }
}

std::string BillForm::NextBillNo() {
  const auto rule =
      services_.Run("SELECT FPrefix, FNextNumber, FWidth FROM t_BillNoRule WHERE FClassTypeID=" +
                    std::to_string(tmpl_->classTypeId));
  if (!rule.empty() && !rule[0].rows.empty()) {
    const auto& r = rule[0].rows[0];
    const std::string prefix = r[0].IsNull() ? std::string() : vb::CStr(r[0]);
    long next = vb::CLng(r[1]);
    const long width = std::max<long>(1, vb::CLng(r[2]));
    auto numbered = [&](long n) {
      return prefix + vb::Format(n, std::string(static_cast<std::size_t>(width), '0'));
    };
    // A number someone typed by hand is passed over.
    while (BillNoTaken(numbered(next))) ++next;
    services_.Run("UPDATE t_BillNoRule SET FNextNumber = " + std::to_string(next + 1) +
                  " WHERE FClassTypeID=" + std::to_string(tmpl_->classTypeId));
    return numbered(next);
  }
  return tmpl_->billNoPrefix + vb::Format(billId_, "000000");
}

void BillForm::WriteToDatabase() {
  const bool isNew = billId_ == 0;
  if (isNew) {
    const auto max = services_.Run("SELECT ISNULL(MAX(FID),0)+1 FROM " + tmpl_->headTable);
    billId_ = vb::CLng(max.at(0).rows.at(0).at(0));
    if (const FieldDef* no = tmpl_->Find("FBillNo")) {
      const Variant current = Value("FBillNo");
      if (current.IsEmpty() || (current.IsString() && vb::Trim(current.AsString()).empty()))
        WriteTyped(*no, -1, NextBillNo(), false);
    }
  }
  const std::string billNo = tmpl_->Find("FBillNo") ? vb::CStr(Value("FBillNo")) : std::string();

  // Header: a new bill's every column; a stored bill's changed ones, so that columns written
  // by others since it was read (follow-up quantities, states) stay as they are.
  std::vector<std::pair<std::string, std::string>> values;
  for (const auto& f : tmpl_->head) {
    if (f.column.empty() || HostColumn(f.column) ||
        vb::StrComp(f.column, tmpl_->classColumn, vb::CompareMethod::Text) == 0)
      continue;
    if (!isNew && !page1_->Written(f.slot)) continue;
    values.emplace_back(f.column, Literal(f, Value(f.key)));
  }
  std::string sql;
  if (isNew) {
    std::string columns = "FID,FBillNo," + tmpl_->classColumn,
                literals = std::to_string(billId_) + "," + Quote(billNo) + "," +
                           std::to_string(tmpl_->classTypeId);
    for (const auto& [c, v] : values) {
      columns += "," + c;
      literals += "," + v;
    }
    sql = "INSERT INTO " + tmpl_->headTable + " (" + columns + ") VALUES (" + literals + ")";
  } else {
    sql = "UPDATE " + tmpl_->headTable + " SET FBillNo=" + Quote(billNo);
    for (const auto& [c, v] : values) sql += "," + c + "=" + v;
    sql += " WHERE FID=" + std::to_string(billId_);
  }
  services_.Run(sql);

  // Entries: stored rows that stayed keep their entry ID (source links and serial numbers point
  // at it) and get their changed cells written; rows the person deleted go; new rows get IDs
  // above every ID of their table and of this form's rows.
  std::map<std::string, long> nextEntry;  // per entry table
  for (std::size_t g = 0; g < tmpl_->grids.size(); ++g) {
    const int grid = static_cast<int>(g + 1);
    const bool sharedTable = !tmpl_->gridColumn.empty() && tmpl_->entry2Table.empty();
    const std::string table =
        grid == 2 && !tmpl_->entry2Table.empty() ? tmpl_->entry2Table : tmpl_->entryTable;
    if (table.empty()) continue;
    const std::string gridFilter =
        sharedTable ? " AND " + tmpl_->gridColumn + "=" + std::to_string(grid) : std::string();
    auto& rows = Page(grid).rows();

    std::set<long> stored;
    if (!isNew) {
      const auto ids = services_.Run("SELECT FEntryID FROM " + table +
                                     " WHERE FID=" + std::to_string(billId_) + gridFilter);
      if (!ids.empty())
        for (const auto& r : ids[0].rows) stored.insert(vb::CLng(r[0]));
    }
    if (!nextEntry.count(table)) {
      const auto max = services_.Run("SELECT ISNULL(MAX(FEntryID),0) FROM " + table);
      long next = vb::CLng(max.at(0).rows.at(0).at(0));
      for (std::size_t other = 0; other < tmpl_->grids.size(); ++other)
        for (const auto& row : Page(static_cast<int>(other + 1)).rows())
          next = std::max(next, row.entryId);
      nextEntry[table] = next + 1;
    }

    std::vector<const FieldDef*> fields;
    std::vector<bool> showsEntryId;  // columns that repeat the entry ID
    std::string columns = "FID,FEntryID,FIndex";
    if (sharedTable) columns += "," + tmpl_->gridColumn;
    for (const auto& f : tmpl_->grids[g]) {
      if (f.column.empty() || HostColumn(f.column)) continue;
      fields.push_back(&f);
      showsEntryId.push_back(vb::StrComp(f.column, "lEntryID", vb::CompareMethod::Text) == 0);
      columns += "," + f.column;
    }

    // The stored rows that stay (each entry ID once); the others go first, before the rows
    // after them move up into their places.
    std::set<long> kept;
    for (const auto& row : rows)
      if (row.entryId != 0 && stored.count(row.entryId)) kept.insert(row.entryId);
    std::string batch, removed;
    for (long id : stored)
      if (!kept.count(id)) removed += (removed.empty() ? "" : ",") + std::to_string(id);
    if (!removed.empty())
      batch = "DELETE FROM " + table + " WHERE FID=" + std::to_string(billId_) +
              " AND FEntryID IN (" + removed + ")\n";

    // The rows go in batches, so that a save of thousands of rows shows how far it got.
    const long total = static_cast<long>(rows.size());
    long index = 0;
    auto flush = [&] {
      if (!batch.empty()) services_.Run(batch);
      batch.clear();
      ReportProgress("保存单据", index, total);
    };
    std::set<long> written;
    for (auto& row : rows) {
      if (index > 0 && index % kRowsPerBatch == 0) flush();
      ++index;
      if (row.entryId != 0 && kept.count(row.entryId) && written.insert(row.entryId).second) {
        std::string set;
        if (row.storedIndex != index) set = "FIndex=" + std::to_string(index);
        for (std::size_t i = 0; i < fields.size(); ++i) {
          if (showsEntryId[i] || !row.cells->Written(fields[i]->slot)) continue;
          auto cell = Cell(*fields[i], index, false);
          set += (set.empty() ? "" : ",") + fields[i]->column + "=" +
                 Literal(*fields[i], cell ? cell->Get(BillCell::kValue) : Variant{});
        }
        if (!set.empty())
          batch += "UPDATE " + table + " SET " + set +
                   " WHERE FEntryID=" + std::to_string(row.entryId) + "\n";
        continue;
      }
      // A row never stored, or one whose ID the table no longer holds for this bill.
      row.entryId = nextEntry[table]++;
      std::string literals =
          std::to_string(billId_) + "," + std::to_string(row.entryId) + "," + std::to_string(index);
      if (sharedTable) literals += "," + std::to_string(grid);
      for (std::size_t i = 0; i < fields.size(); ++i) {
        if (showsEntryId[i]) {
          literals += "," + std::to_string(row.entryId);
          continue;
        }
        auto cell = Cell(*fields[i], index, false);
        literals += "," + Literal(*fields[i], cell ? cell->Get(BillCell::kValue) : Variant{});
      }
      batch += "INSERT INTO " + table + " (" + columns + ") VALUES (" + literals + ")\n";
    }
    flush();
    // Fields that show the entry ID follow the stored rows.
    if (const FieldDef* id = tmpl_->FindAt("FEntryID", 1); id && id->grid == grid) {
      long r = 0;
      for (auto& row : rows) {
        ++r;
        const BillCell* shown = row.cells->CellAt(id->slot);
        const Variant* v = shown ? &shown->Get(BillCell::kValue) : nullptr;
        if (!v || !v->IsNumber() || vb::CDbl(*v) != static_cast<double>(row.entryId))
          WriteTyped(*id, r, row.entryId, false);
      }
    }
  }
}

}  // namespace zov::sim
