// A stored bill is edited by one session at a time: the form takes the bill's edit lock when the
// person starts editing it, and a form that read the bill before another session wrote it reads
// it again before it edits, saves, audits or deletes.
#include "bill/bill_form.h"
#include "bill/bill_form_events.h"
#include "bill/edit_lock.h"

namespace zov::sim {

namespace {

constexpr const char* kInfoTitle = "信息提示";

std::string HeldMessage(const std::string& holder, const std::string& what) {
  return "单据正在被用户“" + holder + "”修改，" + what + "。";
}

}  // namespace

bool BillForm::TakeEditLock() {
  if (billId_ == 0 || holdsEditLock_) return true;
  EditLock::State lock;
  try {
    lock = EditLock(services_, tmpl_->classTypeId, billId_).Acquire();
  } catch (const std::exception&) {
    // Journaled by the session; without the lock the bill is only shown.
    lockRefused_ = true;
    services_.Ui().MsgBox("单据现在不能修改，只能查看。", host::vbInformation, kInfoTitle);
    return false;
  }
  if (lock.heldElsewhere) {
    lockRefused_ = true;
    heldBy_ = lock.holder;
    services_.Ui().MsgBox(HeldMessage(heldBy_, "现在只能查看"), host::vbInformation, kInfoTitle);
    return false;
  }
  holdsEditLock_ = true;
  lockTouched_ = std::chrono::steady_clock::now();
  if (lock.version != storedVersion_) {
    ReleaseEditLock();
    storedVersion_ = lock.version;
    ReloadStored("单据已被其他用户修改，已重新读取。");
    return false;
  }
  return true;
}

bool BillForm::CheckNotHeldOrStale(const char* operation) {
  if (billId_ == 0) return true;
  EditLock::State lock;
  try {
    lock = EditLock(services_, tmpl_->classTypeId, billId_).Read();
  } catch (const std::exception&) {
    services_.Ui().MsgBox(std::string("单据现在不能") + operation + "。", host::vbInformation,
                          kInfoTitle);
    return false;
  }
  if (lock.heldElsewhere) {
    services_.Ui().MsgBox(HeldMessage(lock.holder, std::string("不能") + operation),
                          host::vbInformation, kInfoTitle);
    return false;
  }
  if (lock.version != storedVersion_) {
    ReleaseEditLock();
    storedVersion_ = lock.version;
    ReloadStored(std::string("单据已被其他用户修改，已重新读取，请核对后再") + operation + "。");
    return false;
  }
  return true;
}

void BillForm::CountWrite() {
  if (billId_ == 0) return;
  storedVersion_ = EditLock(services_, tmpl_->classTypeId, billId_).CountWrite();
  holdsEditLock_ = false;
}

void BillForm::ReleaseEditLock() {
  if (!holdsEditLock_) return;
  holdsEditLock_ = false;
  if (billId_ == 0) return;
  try {
    EditLock(services_, tmpl_->classTypeId, billId_).Release();
  } catch (const std::exception&) {
    // Journaled; the lock goes stale with the session.
  }
}

void BillForm::ReloadStored(const std::string& message) {
  const long id = billId_;
  Raise(host::BillEvent::BeforLoadBillFillData,
        [](host::IBillEventSink& s) { s.BeforLoadBillFillData(); });
  if (ReadFromDatabase(id)) {
    formState_ = host::kBillView;
    dirty_ = false;
    Raise(host::BillEvent::AfterLoadBill, [](host::IBillEventSink& s) { s.AfterLoadBill(); });
  }
  services_.Ui().MsgBox(message, host::vbInformation, kInfoTitle);
}

}  // namespace zov::sim
