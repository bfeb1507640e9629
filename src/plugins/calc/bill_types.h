// The bill class types (FID) the line calculation rules single out, as the comma-separated lists
// the rules are written with. A bill type belongs to a list when its code is one of the list's
// items.
#pragma once

#include <string>
#include <string_view>

namespace zov::plugins::calc {

namespace billtype {

// The bill that carries in-prices and out-prices on one row.
inline constexpr long kInOutPriceBill = 1040007;

// --- units and locks ---
// Bills whose row price of the calculation type (FBasePrice, FPrice or FSecPrice) is fixed.
inline constexpr std::string_view kFixedPriceBills = "1040002,1040005,1040006";
// Bills that leave the calculation type and the displayed weight alone.
inline constexpr std::string_view kNoCalTypeBills = "1040003,1040004";
// Bills whose discount fields end in PriceDiscount, and those whose end in DiscountPrice.
inline constexpr std::string_view kPriceDiscountBills = "1020002,1030001,1030002,1030003,1080002";
inline constexpr std::string_view kDiscountPriceBills = "1020001";
// Bills that tell a secondary unit by the item's FBaseProperty4 and keep FDisplayPrice locked.
inline constexpr std::string_view kPropertySecUnitBills = "1040005,1040006";
// Bills whose item rows without weight calculation keep FDisplayPrice locked; the bill whose
// unit locks lock it on every row.
inline constexpr std::string_view kLockedDisplayPriceBills = "1040006,1040002";
inline constexpr std::string_view kUnitLockedDisplayPriceBills = "1040002";
// The bill on which an item without weight calculation may edit FBasePrice.
inline constexpr std::string_view kOpenBasePriceBills = "1040003";
// Where the price locks read the row's stock: FDCStockID, or FSCStockID.
inline constexpr std::string_view kDestStockPriceBills = "1020002,1020003,1040001,1040003,1080001";
inline constexpr std::string_view kSourceStockPriceBills =
    "1030002,1030003,1040002,1040004,1080002";
// Bills on which a virtual stock does not lock the prices.
inline constexpr std::string_view kVirtualStockPricedBills = "1030002,1030003,1080002";
// Bills whose FTranspotationCharges cell follows the row's stock.
inline constexpr std::string_view kChargeLockBills =
    "1030002,1030003,1020002,1020003,1080001,1080002";

// --- prices ---
// Bills whose second grid carries price columns too, and bills whose header does.
inline constexpr std::string_view kSecondGridPriceBills = "1040005,1040006,1030005";
inline constexpr std::string_view kHeaderPriceBills = "1020002,1030002,1030005";
// Bills with the tax columns under the price right.
inline constexpr std::string_view kTaxColumnBills = "1030001,1030002,1030003,1030005";

// --- freight ---
// Bills whose rows take their stock from FSCStockID and whose cost total is the freight alone.
inline constexpr std::string_view kSourceStockChargeBills = "1030002,1030003,1080002";
// The bill whose share tools also count FTotalProcurementCosts.
inline constexpr std::string_view kProcurementCostBills = "1020002";

}  // namespace billtype

// Whether `billType` is one of the codes of `list`.
bool BillTypeIn(std::string_view list, long billType);

}  // namespace zov::plugins::calc
