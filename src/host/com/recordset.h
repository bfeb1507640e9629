// The recordset the host's data components return: the rows of one result set, read forward
// with ADO's cursor rules, and ADO's Filter over them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zov/host/recordset.h"

namespace zov::sim {

using vb::Ref;
using vb::Variant;

// The rows of one result set.
struct RecordData {
  struct Column {
    std::string name;
    vb::VarType type = vb::VarType::String;
  };
  std::vector<Column> columns;
  std::vector<std::vector<Variant>> rows;
};

class Recordset final : public vb::Implements<host::IRecordset> {
 public:
  static Ref<Recordset> New(RecordData data);

  std::string TypeName() const override { return "Recordset"; }
  bool Eof() const override;
  bool Bof() const override;
  void MoveNext() override;
  void MoveFirst() override;
  long RecordCount() const override;
  Ref<host::IFields> Fields() const override;
  Variant Value(std::string_view name) const override;
  Variant Value(long index) const override;
  std::string Filter() const override { return filter_; }
  void SetFilter(const Variant& filter) override;
  void Close() override;

  const RecordData& data() const { return *data_; }
  // The column index of `name` (case-insensitive, first match), or -1.
  long ColumnIndex(std::string_view name) const;
  // The value at the cursor; raises Error 3021 at EOF or BOF.
  const Variant& At(long column) const;

 private:
  explicit Recordset(RecordData data);
  void CheckOpen() const;

  std::shared_ptr<RecordData> data_;
  std::vector<std::size_t> visible_;  // row indices under the filter
  std::size_t cursor_ = 0;            // position in visible_
  std::string filter_;
  bool open_ = true;
};

// Parses an ADO filter ("FAuxPropID=3 AND FName LIKE 'A*'") and returns the rows of `data` it
// keeps; raises Error 3001 for a filter it cannot read or a column the records lack.
std::vector<std::size_t> ApplyFilter(const RecordData& data, std::string_view filter);

}  // namespace zov::sim
