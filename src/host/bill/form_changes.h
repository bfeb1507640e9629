// What changed on a bill form since its view last took the changes: the rows inserted and
// deleted, the rows whose cells changed (each cell marks itself in its row, each row reports
// itself here once), the header, the fields' lock, visibility and caption, and the status
// panels. The parts of the form report as they change, so a view finds what to send without
// looking at anything that did not change: the cost of an operation follows what it changed,
// not the size of the bill. (The tool bar counts its own changes; see ActiveBar::changes.)
//
// This is apart from the cells' `written` bit, which says what a save must write and is
// cleared by reading or saving the bill, not by showing it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "zov/vb/object.h"

namespace zov::sim {

class CellRow;

class FormChanges {
 public:
  // Rows inserted before row `at` (`count` of them), or row `at` deleted, numbered as the grid
  // stood when it happened.
  struct RowOp {
    bool insert = true;
    long at = 0;
    long count = 1;
  };
  struct Grid {
    // Every row changed (the bill was read or made anew, its rows replaced): a view sends the
    // grid's rows afresh and `ops` and `rows` are empty.
    bool all = true;
    std::vector<RowOp> ops;
    // Rows with changed cells, each once, in the order they first changed; a row deleted later
    // stays here, with no number.
    std::vector<vb::Ref<CellRow>> rows;
  };
  // Past this many row operations a grid counts as changed all over: a view redraws it rather
  // than replaying them.
  static constexpr std::size_t kMaxOps = 256;

  FormChanges();
  ~FormChanges();
  FormChanges(const FormChanges&) = delete;
  FormChanges& operator=(const FormChanges&) = delete;

  // --- what the parts of the form report ---
  // The first change of `row` of `grid` (0 the header) since the last take.
  void RowChanged(CellRow& row, int grid);
  void Inserted(int grid, long at, long count = 1);
  void Erased(int grid, long at);
  void AllRows(int grid);
  void Head() { head_ = true; }
  void Columns() { columns_ = true; }
  void Panels() { panels_ = true; }

  // --- what a view reads ---
  const Grid& grid(int grid) const { return grids_[Index(grid)]; }
  bool head() const { return head_; }
  bool columns() const { return columns_; }
  bool panels() const { return panels_; }
  // Counts the takes: a row reports its first change after each.
  std::uint64_t generation() const { return generation_; }
  // Forgets what was recorded. The view marks the rows it showed as seen (CellRow::MarkSeen):
  // every row listed, and every row of a grid changed all over.
  void Clear();

 private:
  static std::size_t Index(int grid) { return grid == 2 ? 1 : 0; }
  std::array<Grid, 2> grids_;
  bool head_ = true, columns_ = true, panels_ = true;
  std::uint64_t generation_ = 1;
};

}  // namespace zov::sim
