// Reading and writing bill cells the way the library's rules do: numbers read leniently (an
// empty or text cell is 0), base-data cells by their internal ID; the bill's rows and locks, and
// the host's dictionaries the rules hand around.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins {

using host::IBillInterface;

// The numeric value of a field: numbers as they are, text by VB's Val, Empty and Null as 0.
double FieldNumber(IBillInterface& bill, std::string_view key, long row = -1);
// The text of a field ("" for Empty and Null).
std::string FieldText(IBillInterface& bill, std::string_view key, long row = -1);
// The stored internal ID of a base-data field (0 when empty).
long FieldId(IBillInterface& bill, std::string_view key, long row = -1);
// Marks the cell of `key` in `row` modified (1) or unmodified (0).
void MarkCell(IBillInterface& bill, std::string_view key, long row, bool modified);
// Marks every cell of the bill's data (the head and the rows of every grid) unmodified.
void MarkAllCellsUnmodified(IBillInterface& bill);
// Whether tool `key` of the form's bar is checked (an option the form keeps); false when there is
// no such tool.
bool ToolChecked(IBillInterface& bill, std::string_view key);
// The column total of field `key`.
double ColumnSum(IBillInterface& bill, std::string_view key);
// The number of data rows of entry grid `grid`; 0 when the bill has no such grid.
long GridRows(IBillInterface& bill, long grid = 1);
// Whether the cell of `key` in `row` is locked now; false for a key the bill does not have.
bool IsCellLocked(IBillInterface& bill, std::string_view key, long row);
// The bill's stored internal ID; 0 for a bill not saved yet or when the bill cannot say.
long CurBillId(IBillInterface& bill);

// A new dictionary of the host ("QBX.Dictionary").
Ref<host::IDictionary> NewDictionary(PluginContext& ctx);

}  // namespace zov::plugins
