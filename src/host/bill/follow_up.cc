#include "bill/follow_up.h"

#include <cstdio>

#include "zov/vb/convert.h"

namespace zov::sim {

namespace {

constexpr long kOrder = 1030001, kSale = 1030002, kConsign = 1030003;

// A quantity as a literal of the statement.
std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10f", v);
  return text;
}

double NumberOf(const vb::Variant& v) { return v.IsEmpty() || v.IsNull() ? 0.0 : vb::CDbl(v); }

// " column = column + delta" for each pair, joined by commas.
std::string Moves(const std::vector<std::pair<const char*, std::string>>& moves) {
  std::string out;
  for (const auto& [column, delta] : moves)
    out += std::string(out.empty() ? " " : ", ") + column + " = " + column + " + (" + delta + ")";
  return out;
}

}  // namespace

std::vector<std::string> FollowUpStatements(HostServices& services, long classTypeId, long billId,
                                            int sign) {
  std::vector<std::string> statements;
  if (classTypeId != kSale && classTypeId != kConsign) return statements;
  const auto sets = services.Run(
      "SELECT FClassID_SRC, FEntryID_SRC, FQty, FSecQty FROM t_cc_stockbillentry WHERE FID=" +
      std::to_string(billId) + " AND FClassID_SRC>0 AND FEntryID_SRC>0");
  if (sets.empty()) return statements;
  for (const auto& row : sets[0].rows) {
    const long source = static_cast<long>(NumberOf(row[0]));
    const std::string entry = std::to_string(static_cast<long>(NumberOf(row[1])));
    const std::string base = Number(sign * NumberOf(row[2]));
    const std::string aux = Number(sign * NumberOf(row[3]));
    const std::string back = Number(-sign * NumberOf(row[2]));
    const std::string auxBack = Number(-sign * NumberOf(row[3]));
    // The row's base quantity in the source row's unit.
    const std::string shown =
        "(" + base + ") / (CASE WHEN FCoefficient = 0 THEN 1 ELSE FCoefficient END)";
    const std::string shownBack = "-" + shown;
    std::vector<std::pair<const char*, std::string>> moves;
    std::string table = "t_cc_stockbillentry";
    if (source == kOrder) {
      table = "t_XS_OrderEntry";
      moves = {{"FSendQty", shown},
               {"FBaseSendQty", base},
               {"FUnSendQty", shownBack},
               {"FUnSendAuxQty", auxBack}};
    } else if (source == kConsign && classTypeId == kConsign) {
      // Goods back from consignment are neither returned again nor settled.
      moves = {{"FRejectQty", shown},       {"FBaseRejectQty", base},
               {"FRejectAuxQty", aux},      {"FUnRejectQty", shownBack},
               {"FBaseUnRejectQty", back},  {"FUnRejectAuxQty", auxBack},
               {"FUnSettleQty", shownBack}, {"FUnSettleAuxQty", auxBack}};
    } else if (source == kConsign) {
      // Goods settled are neither settled again nor returned.
      moves = {{"FSettleQty", shown},       {"FSettleAuxQty", aux},
               {"FUnSettleQty", shownBack}, {"FUnSettleAuxQty", auxBack},
               {"FUnRejectQty", shownBack}, {"FBaseUnRejectQty", back},
               {"FUnRejectAuxQty", auxBack}};
    } else if (source == kSale) {
      moves = {{"FRejectQty", shown},      {"FBaseRejectQty", base},
               {"FRejectAuxQty", aux},     {"FUnRejectQty", shownBack},
               {"FBaseUnRejectQty", back}, {"FUnRejectAuxQty", auxBack}};
    } else {
      continue;
    }
    statements.push_back("UPDATE " + table + " SET" + Moves(moves) + " WHERE FEntryID=" + entry);
  }
  return statements;
}

}  // namespace zov::sim
