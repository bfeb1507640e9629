// How the values an engine gives back become what the host reads, whatever the engine.
#pragma once

#include "data/tsql/conversion.h"
#include "data/tsql/sql_type.h"
#include "zov/vb/variant.h"

namespace zov::data::engine {

// The Variant kind a column of type `t` delivers: integers as Long, bit as Boolean, decimal and
// float as Double, money as Currency, datetimes as Date, character data as String.
vb::VarType VarTypeOf(const tsql::SqlType& t);

// A datetime as a Variant's Date, milliseconds kept.
vb::Date DateOf(const tsql::DateTimeParts& parts);

}  // namespace zov::data::engine
