#include "com/recordset.h"

#include <cmath>
#include <functional>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrNoCurrentRecord = 3021;
constexpr int kErrItemNotFound = 3265;
constexpr int kErrObjectClosed = 3704;
constexpr const char* kSource = "ADODB.Recordset";

class Field final : public vb::Implements<host::IField> {
 public:
  Field(Ref<Recordset> rs, long column) : rs_(std::move(rs)), column_(column) {}
  std::string TypeName() const override { return "Field"; }
  std::string Name() const override { return rs_->data().columns[column_].name; }
  Variant Value() const override { return rs_->At(column_); }
  vb::VarType Type() const override { return rs_->data().columns[column_].type; }

 private:
  Ref<Recordset> rs_;
  long column_;
};

class Fields final : public vb::Implements<host::IFields> {
 public:
  explicit Fields(Ref<Recordset> rs) : rs_(std::move(rs)) {}
  std::string TypeName() const override { return "Fields"; }
  long Count() const override { return static_cast<long>(rs_->data().columns.size()); }
  Ref<host::IField> Item(long index) const override {
    if (index < 0 || index >= Count())
      throw vb::Error(
          kErrItemNotFound,
          "Item cannot be found in the collection corresponding to the requested name or ordinal.",
          kSource);
    return vb::MakeRef<host::IField, Field>(rs_, index);
  }
  Ref<host::IField> Item(std::string_view name) const override {
    const long index = rs_->ColumnIndex(name);
    if (index < 0)
      throw vb::Error(
          kErrItemNotFound,
          "Item cannot be found in the collection corresponding to the requested name or ordinal.",
          kSource);
    return vb::MakeRef<host::IField, Field>(rs_, index);
  }

 private:
  Ref<Recordset> rs_;
};

}  // namespace

Ref<Recordset> Recordset::New(RecordData data) {
  return Ref<Recordset>::Adopt(new Recordset(std::move(data)));
}

Recordset::Recordset(RecordData data) : data_(std::make_shared<RecordData>(std::move(data))) {
  visible_.resize(data_->rows.size());
  for (std::size_t i = 0; i < visible_.size(); ++i) visible_[i] = i;
}

void Recordset::CheckOpen() const {
  if (!open_)
    throw vb::Error(kErrObjectClosed, "Operation is not allowed when the object is closed.",
                    kSource);
}

bool Recordset::Eof() const {
  CheckOpen();
  return cursor_ >= visible_.size();
}

bool Recordset::Bof() const {
  CheckOpen();
  return visible_.empty();
}

void Recordset::MoveNext() {
  if (Eof())
    throw vb::Error(kErrNoCurrentRecord,
                    "Either BOF or EOF is True, or the current record has been deleted.", kSource);
  ++cursor_;
}

void Recordset::MoveFirst() {
  CheckOpen();
  cursor_ = 0;
}

long Recordset::RecordCount() const {
  CheckOpen();
  return static_cast<long>(visible_.size());
}

Ref<host::IFields> Recordset::Fields() const {
  CheckOpen();
  return vb::MakeRef<host::IFields, sim::Fields>(Ref<Recordset>(const_cast<Recordset*>(this)));
}

long Recordset::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < data_->columns.size(); ++i)
    if (vb::StrComp(data_->columns[i].name, name, vb::CompareMethod::Text) == 0)
      return static_cast<long>(i);
  return -1;
}

const Variant& Recordset::At(long column) const {
  if (Eof())
    throw vb::Error(kErrNoCurrentRecord,
                    "Either BOF or EOF is True, or the current record has been deleted.", kSource);
  return data_->rows[visible_[cursor_]][static_cast<std::size_t>(column)];
}

Variant Recordset::Value(std::string_view name) const {
  const long index = ColumnIndex(name);
  if (index < 0)
    throw vb::Error(
        kErrItemNotFound,
        "Item cannot be found in the collection corresponding to the requested name or ordinal.",
        kSource);
  return At(index);
}

Variant Recordset::Value(long index) const {
  if (index < 0 || index >= static_cast<long>(data_->columns.size()))
    throw vb::Error(
        kErrItemNotFound,
        "Item cannot be found in the collection corresponding to the requested name or ordinal.",
        kSource);
  return At(index);
}

void Recordset::SetFilter(const Variant& filter) {
  CheckOpen();
  std::string text;
  if (!filter.IsEmpty() && !filter.IsNull() && !(filter.IsNumber() && vb::CDbl(filter) == 0))
    text = vb::CStr(filter);
  if (vb::Trim(text).empty()) {
    visible_.resize(data_->rows.size());
    for (std::size_t i = 0; i < visible_.size(); ++i) visible_[i] = i;
    filter_.clear();
  } else {
    visible_ = ApplyFilter(*data_, text);
    filter_ = text;
  }
  cursor_ = 0;
}

void Recordset::Close() {
  CheckOpen();
  open_ = false;
}

// --- filter -------------------------------------------------------------------------------------

namespace {

[[noreturn]] void BadFilter(std::string_view filter, std::string_view why) {
  throw vb::Error(
      vb::kErrDataAccess,
      "Arguments are of the wrong type, are out of acceptable range, or are in conflict "
      "with one another (" +
          std::string(why) + " in filter \"" + std::string(filter) + "\")",
      kSource);
}

// filter    := clause { (AND | OR) clause }    AND binds tighter than OR
// clause    := "(" filter ")" | column op value
class FilterParser {
 public:
  FilterParser(const RecordData& data, std::string_view text) : data_(data), text_(text) {}

  using Predicate = std::function<bool(const std::vector<Variant>&)>;

  Predicate Parse() {
    Predicate p = ParseOr();
    SkipSpaces();
    if (pos_ != text_.size()) BadFilter(text_, "unexpected text");
    return p;
  }

 private:
  Predicate ParseOr() {
    Predicate left = ParseAnd();
    while (TakeWord("OR")) {
      Predicate right = ParseAnd();
      left = [l = std::move(left), r = std::move(right)](const auto& row) {
        return l(row) || r(row);
      };
    }
    return left;
  }

  Predicate ParseAnd() {
    Predicate left = ParseClause();
    while (TakeWord("AND")) {
      Predicate right = ParseClause();
      left = [l = std::move(left), r = std::move(right)](const auto& row) {
        return l(row) && r(row);
      };
    }
    return left;
  }

  Predicate ParseClause() {
    SkipSpaces();
    if (Peek() == '(') {
      ++pos_;
      Predicate inner = ParseOr();
      SkipSpaces();
      if (Peek() != ')') BadFilter(text_, "missing )");
      ++pos_;
      return inner;
    }
    const std::string column = ParseName();
    long index = -1;
    for (std::size_t i = 0; i < data_.columns.size(); ++i)
      if (vb::StrComp(data_.columns[i].name, column, vb::CompareMethod::Text) == 0) {
        index = static_cast<long>(i);
        break;
      }
    if (index < 0) BadFilter(text_, "unknown column " + column);
    const std::string op = ParseOperator();
    const Variant value = ParseValue();
    const auto col = static_cast<std::size_t>(index);
    if (op == "LIKE") {
      const std::string pattern = vb::UCase(vb::CStr(value));
      return [col, pattern](const std::vector<Variant>& row) { return Like(row[col], pattern); };
    }
    return [col, op, value](const std::vector<Variant>& row) {
      const Variant& cell = row[col];
      if (cell.IsNull() || value.IsNull()) return false;
      const int c = CompareValues(cell, value);
      if (op == "=") return c == 0;
      if (op == "<>") return c != 0;
      if (op == "<") return c < 0;
      if (op == ">") return c > 0;
      if (op == "<=") return c <= 0;
      return c >= 0;
    };
  }

  static int CompareValues(const Variant& a, const Variant& b) {
    if (!a.IsString() && !b.IsString()) {
      const double x = a.Type() == vb::VarType::Date ? a.AsDate().serial : vb::CDbl(a);
      const double y = b.Type() == vb::VarType::Date ? b.AsDate().serial : vb::CDbl(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.IsString() && b.IsString())
      return vb::StrComp(a.AsString(), b.AsString(), vb::CompareMethod::Text);
    // A number compared with text compares as a number when the text is one.
    const Variant& text = a.IsString() ? a : b;
    if (!vb::IsNumeric(text)) return vb::StrComp(vb::CStr(a), vb::CStr(b), vb::CompareMethod::Text);
    const double x = vb::CDbl(a), y = vb::CDbl(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }

  // ADO's LIKE: "*" or "%" at the start and/or end of the pattern.
  static bool Like(const Variant& cell, const std::string& pattern) {
    if (cell.IsNull()) return false;
    const std::string text = vb::UCase(vb::CStr(cell));
    std::string core = pattern;
    const bool lead = !core.empty() && (core.front() == '*' || core.front() == '%');
    if (lead) core.erase(0, 1);
    const bool trail = !core.empty() && (core.back() == '*' || core.back() == '%');
    if (trail) core.pop_back();
    if (lead && trail) return text.find(core) != std::string::npos;
    if (lead)
      return text.size() >= core.size() &&
             text.compare(text.size() - core.size(), core.size(), core) == 0;
    if (trail) return text.compare(0, core.size(), core) == 0;
    return text == core;
  }

  std::string ParseName() {
    SkipSpaces();
    if (Peek() == '[') {
      const auto close = text_.find(']', pos_);
      if (close == std::string_view::npos) BadFilter(text_, "missing ]");
      std::string name(text_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return name;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_' ||
            static_cast<unsigned char>(text_[pos_]) >= 0x80))
      ++pos_;
    if (start == pos_) BadFilter(text_, "column name expected");
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string ParseOperator() {
    SkipSpaces();
    for (const char* op : {"<>", "<=", ">=", "=", "<", ">"})
      if (text_.substr(pos_, std::char_traits<char>::length(op)) == op) {
        pos_ += std::char_traits<char>::length(op);
        return op;
      }
    if (TakeWord("LIKE")) return "LIKE";
    BadFilter(text_, "operator expected");
  }

  Variant ParseValue() {
    SkipSpaces();
    const char c = Peek();
    if (c == '\'') {
      std::string value;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) BadFilter(text_, "unterminated text");
        if (text_[pos_] == '\'') {
          if (Peek(1) == '\'') {
            value += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        value += text_[pos_++];
      }
      return value;
    }
    if (c == '#') {
      const auto close = text_.find('#', pos_ + 1);
      if (close == std::string_view::npos) BadFilter(text_, "unterminated date");
      const std::string text(text_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return vb::CDate(Variant(text));
    }
    if (TakeWord("NULL")) return Variant::Null();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
           text_[pos_] != ')')
      ++pos_;
    const std::string word(text_.substr(start, pos_ - start));
    if (word.empty() || !vb::IsNumeric(Variant(word))) BadFilter(text_, "value expected");
    return vb::CDbl(Variant(word));
  }

  bool TakeWord(std::string_view word) {
    SkipSpaces();
    if (text_.size() - pos_ < word.size()) return false;
    if (vb::UCase(text_.substr(pos_, word.size())) != word) return false;
    const std::size_t end = pos_ + word.size();
    if (end < text_.size() &&
        (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_'))
      return false;
    pos_ = end;
    return true;
  }

  void SkipSpaces() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }

  const RecordData& data_;
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::size_t> ApplyFilter(const RecordData& data, std::string_view filter) {
  const auto keep = FilterParser(data, filter).Parse();
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < data.rows.size(); ++i)
    if (keep(data.rows[i])) rows.push_back(i);
  return rows;
}

}  // namespace zov::sim
