// The amount rules of the sales order and the consignment bill: an amount typed within a few
// cents of what it was is a tail difference, the tax-inclusive amount keeps its tax.
#include "bills/common/row_changes.h"
#include "calc/prices.h"
#include "calc/row_cells.h"
#include "frame/bill_access.h"
#include "frame/resume.h"

namespace zov::plugins::sales {

void ApplyAmountTailChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                           double previousAmount, bool& cancel) {
  if (row < 1) return;
  // A refused tail difference is undone whole: the host takes the previous amount back and
  // recomputes from it what its own actions derived from the typed one.
  if (calc::ApplyAmountTail(form.ctx, form.bill, row, previousAmount, calc::AmountTailRules::kAll,
                            keys) == calc::AmountTail::kRestored)
    cancel = true;
}

void ApplyInTaxAmountTailChange(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  if (row < 1) return;
  const calc::RowCells c(bill, row);
  if (!ResumeOr<bool>(false, [&] { return bill.AmountCalcPrice(); }))
    Resume([&] {
      c.Set(keys.amount,
            calc::CalcAmountDifference(c.Number(keys.inTaxAmount), c.Number(keys.taxAmount)));
    });
  Resume([&] {
    c.Set(keys.secPrice, calc::Product(c.Number(keys.price), c.Number(keys.secCoefficient)));
  });
}

}  // namespace zov::plugins::sales
