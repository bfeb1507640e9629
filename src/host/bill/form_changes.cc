#include "bill/form_changes.h"

#include "bill/cell_row.h"

namespace zov::sim {

FormChanges::FormChanges() = default;
FormChanges::~FormChanges() = default;

void FormChanges::RowChanged(CellRow& row, int grid) {
  if (grid == 0) {
    head_ = true;
    return;
  }
  Grid& g = grids_[Index(grid)];
  if (!g.all) g.rows.emplace_back(&row);
}

void FormChanges::Inserted(int grid, long at, long count) {
  Grid& g = grids_[Index(grid)];
  if (g.all) return;
  // Rows added one after another (typing past the last row, a paste, a source selection) are
  // one insertion.
  if (!g.ops.empty() && g.ops.back().insert && g.ops.back().at + g.ops.back().count == at) {
    g.ops.back().count += count;
    return;
  }
  if (g.ops.size() >= kMaxOps) return AllRows(grid);
  g.ops.push_back({true, at, count});
}

void FormChanges::Erased(int grid, long at) {
  Grid& g = grids_[Index(grid)];
  if (g.all) return;
  if (!g.ops.empty() && !g.ops.back().insert && g.ops.back().at == at) {
    ++g.ops.back().count;
    return;
  }
  if (g.ops.size() >= kMaxOps) return AllRows(grid);
  g.ops.push_back({false, at, 1});
}

void FormChanges::AllRows(int grid) {
  Grid& g = grids_[Index(grid)];
  g.all = true;
  g.ops.clear();
  g.rows.clear();
}

void FormChanges::Clear() {
  for (Grid& g : grids_) {
    g.all = false;
    g.ops.clear();
    g.rows.clear();
  }
  head_ = columns_ = panels_ = false;
  ++generation_;
}

}  // namespace zov::sim
