// The customers a special-price bill is limited to: the header customer box, the selection
// button the class places at its end, the selection window, and the customers stored with the
// bill.
#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

constexpr const char* kAllCustomers = "全部客户";
constexpr const char* kButtonName = "customCtl1";
constexpr const char* kNoteName = "customCtl3";
constexpr const char* kCustomerTagEnd = "FCUSTOMER";

// The field key a control's tag names ("Page1.FCustomer" -> "FCustomer").
std::string KeyOfTag(std::string_view tag) {
  const auto dot = tag.rfind('.');
  return std::string(dot == std::string_view::npos ? tag : tag.substr(dot + 1));
}

bool IsCustomerBox(host::IControl& control) {
  if (control.Name() != "EditPlus") return false;
  const std::string tag = vb::UCase(vb::CStr(control.Property("Tag")));
  return tag.size() >= 9 && tag.compare(tag.size() - 9, 9, kCustomerTagEnd) == 0;
}

bool IsTrue(const Variant& v) {
  return ResumeOr<bool>(false, [&] { return !v.IsEmpty() && !v.IsNull() && vb::CBool(v); });
}

}  // namespace

Ref<host::IControl> BillEvent_XSCX::FindCustomerBox() {
  return ResumeOr<Ref<host::IControl>>({}, [&]() -> Ref<host::IControl> {
    auto controls = m_BillInterface->Controls();
    for (long i = 0; i < controls->Count(); ++i) {
      auto control = controls->Item(i);
      if (control && IsCustomerBox(*control)) return control;
    }
    return {};
  });
}

std::string BillEvent_XSCX::CustomerKey() {
  if (!customerKey_.empty()) return customerKey_;
  auto box = FindCustomerBox();
  return box ? KeyOfTag(vb::CStr(box->Property("Tag"))) : std::string("FCustomer");
}

void BillEvent_XSCX::SetupCustomerControls() {
  auto& bill = *m_BillInterface;
  bool visible = false;
  // 1. The header customer box: bound for its key presses, its button named, "全部客户".
  if (auto box = FindCustomerBox()) {
    objext_.Bind(this, &BillEvent_XSCX::OnCustomerBoxEvent, box);
    Resume([&] { box->SetProperty("Postfix", kButtonName); });
    customerTag_ = vb::CStr(box->Property("Tag"));
    customerKey_ = KeyOfTag(customerTag_);
    ShowAllCustomers(false);
    visible = ResumeOr<bool>(false, [&] {
      auto info = bill.GetFieldInfoByKey(customerKey_);
      return info && IsTrue(info->Item("FVisible"));
    });
  }
  Resume([&] {
    auto controls = bill.Controls();
    // 2./3. The selection button: the one an earlier bill of the form placed, else a new one.
    auto button = controls->Find(kButtonName);
    const bool added = !button;
    if (added) button = controls->Add("VB.CommandButton", kButtonName);
    cmdSelCust_.Bind(this, &BillEvent_XSCX::OnSelCustEvent, button);
    button->SetProperty("Visible", visible);
    if (added) {
      button->SetProperty("Caption", "...");
      button->SetProperty("Height", 400);
      button->SetProperty("Width", 400);
      std::vector<Variant> none;
      button->Invoke("ZOrder", none);
    }
    // 4. The help note; a form that showed a bill before keeps the one it has.
    auto note = controls->Find(kNoteName);
    if (!note) note = controls->Add("VB.PictureBox", kNoteName);
    pic_.Bind(this, &BillEvent_XSCX::OnPicEvent, note);
    note->SetProperty("Height", 2500);
    note->SetProperty("Appearance", 0);
    note->SetProperty("BorderStyle", 0);
  });
  if (!pic_) return;
  PlaceHelpNote();
  Resume([&] {
    pic_->SetProperty("Visible", true);
    std::vector<Variant> none;
    pic_->Invoke("ZOrder", none);
  });
}

void BillEvent_XSCX::ApplyFieldVisibility() {
  auto& bill = *m_BillInterface;
  auto box = FindCustomerBox();
  if (!box) return;
  Resume([&] { box->SetProperty("Postfix", kButtonName); });
  // The class table says whether the customer field, and so its button, shows.
  const long record = ResumeOr<long>(0, [&] {
    auto info = bill.GetFieldInfoByKey(CustomerKey());
    return info ? static_cast<long>(vb::Val(vb::CStr(info->Item("FID")))) : 0L;
  });
  const bool visible =
      vb::Val(services::FirstValue(context(), "select FVisible from ICClassTableInfo where FID=" +
                                                  std::to_string(record))) != 0;
  if (cmdSelCust_) Resume([&] { cmdSelCust_->SetProperty("Visible", visible); });
}

void BillEvent_XSCX::objext_ObjectEvent(std::string_view event, std::vector<Variant>& params) {
  // Customers are chosen with the button only: every key typed into the box is dropped.
  if (event == "KeyPress" && !params.empty()) params[0] = 0L;
}

void BillEvent_XSCX::cmdSelCust_Click() {
  auto& ctx = context();
  auto& bill = *m_BillInterface;
  // 1. The customers chosen so far come checked.
  std::vector<long> checked;
  for (const auto& id : vb::Split(customerIds_, ","))
    if (const long n = static_cast<long>(vb::Val(id)); n > 0) checked.push_back(n);
  // 2. Every customer.
  auto customers = services::OpenRecordset(
      ctx,
      "Select a.FItemID,a.FNumber,a.FName,a.FParentID,a.FDetail,a.FDeleted,b.FIntent From t_Item "
      "a left join  t_Organization b on a.FItemID=b.FItemID WHERE a.FItemClassID=1 ORDER BY "
      "b.FIntent,a.FNumber ");
  // 3. The host's selection window.
  auto view = ctx.host().CreateObject(host::progid::kGLView).As<host::IGLView>();
  if (!view) return;
  auto chosen = view->ItemSelect(customers, checked, "特价单客户", false, 1, "");
  // 4. Closed without choosing: nothing changes.
  if (!chosen) return;
  if (chosen->CheckPoints() == 0) {
    ShowAllCustomers(true);
  } else {
    std::vector<std::string> ids, names;
    for (long i = 1; i <= chosen->CheckPoints(); ++i) {
      ids.push_back(std::to_string(chosen->CheckItems(i)));
      names.push_back(chosen->ShowName(i));
    }
    customerIds_ = vb::Join(ids, ",");
    ShowCustomers(vb::Join(names, ","), true);
  }
  // 5. The regular prices follow the customers.
  const long customer = RegularPriceCustomer();
  for (long row = 1; row <= RowCount(); ++row) {
    if (FieldId(bill, "FItemID", row) <= 0) continue;
    const double regular = FetchRegularPrice(row, customer);
    SetDifferenceAndRate(row, regular, regular - FieldNumber(bill, "FNewPrice", row));
  }
}

std::string BillEvent_XSCX::LoadCustomerIds(long billId) {
  auto rs = services::OpenRecordsetTolerant(
      context(), "select FItemID from T_LS_CX_Customer where FBillID=" + std::to_string(billId));
  std::vector<std::string> ids;
  Resume([&] {
    for (; rs && !rs->Eof(); rs->MoveNext())
      ids.push_back(std::to_string(vb::CLng(rs->Value("FItemID"))));
  });
  return vb::Join(ids, ",");
}

std::string BillEvent_XSCX::LoadCustomerNames(long billId) {
  auto rs = services::OpenRecordsetTolerant(
      context(), "select FShowName from T_LS_CX_Customer where FBillID=" + std::to_string(billId));
  std::vector<std::string> names;
  Resume([&] {
    for (; rs && !rs->Eof(); rs->MoveNext()) names.push_back(vb::CStr(rs->Value("FShowName")));
  });
  return vb::Join(names, ",");
}

void BillEvent_XSCX::ShowCustomers(std::string_view text, bool modified) {
  auto& bill = *m_BillInterface;
  const std::string key = CustomerKey();
  Resume([&] {
    // The person's choice is an edit of the bill; what the bill shows when it opens is not.
    if (modified) bill.SetFieldValue(key, std::string(text), -1);
    auto cell = bill.GetDataFldbyKey(key, -1);
    if (!cell) return;
    cell->SetItem("FFLD", std::string(text));
    cell->SetItem("FDSP", std::string(text));
    if (modified) cell->SetItem("FModify", 1);
  });
}

void BillEvent_XSCX::ShowAllCustomers(bool modified) {
  customerIds_.clear();
  ShowCustomers(kAllCustomers, modified);
}

}  // namespace zov::plugins
