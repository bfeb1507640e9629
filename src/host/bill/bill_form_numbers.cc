// What the host itself makes sure of when a bill is saved: each bill number belongs to one bill
// of its head table, and a new bill records who made it.
#include "bill/bill_form.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::sim {

bool BillForm::BillNoTaken(const std::string& billNo) {
  const auto found =
      services_.Run("SELECT COUNT(*) FROM " + tmpl_->headTable + " WHERE FBillNo=N'" +
                    vb::Replace(billNo, "'", "''") + "' AND FID<>" + std::to_string(billId_));
  return !found.empty() && !found[0].rows.empty() && vb::CLng(found[0].rows[0][0]) > 0;
}

void BillForm::CompleteSave(bool isNew) {
  // The saving transaction holds the database for writing, so no other save can take the number
  // between this check and the commit.
  if (tmpl_->Find("FBillNo")) {
    const std::string billNo = vb::CStr(Value("FBillNo"));
    if (BillNoTaken(billNo))
      throw SaveRefused("单据编号“" + billNo + "”已经存在，请换一个编号再保存。", "FBillNo");
  }
  if (isNew)
    services_.Run("UPDATE " + tmpl_->headTable + " SET FBillerID=" +
                  std::to_string(services_.UserId()) + " WHERE FID=" + std::to_string(billId_));
}

}  // namespace zov::sim
