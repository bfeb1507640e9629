#include "bills/common/customer.h"

#include <algorithm>

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

const std::string kCrLf = "\r\n";

std::string Id(long id) { return std::to_string(id); }

void SetHead(host::IBillInterface& bill, const char* key, const Variant& value) {
  Resume([&] { bill.SetFieldValue(key, value, -1); });
}

std::string DepartmentOf(PluginContext& ctx, long employee) {
  return services::FirstValue(ctx,
                              "Select FNumber From t_Department Where FItemID = (Select "
                              "FDepartmentID From t_Emp Where FItemID=" +
                                  Id(employee) + ")");
}

}  // namespace

void ShowCustomerCredit(const SalesForm& form) {
  auto& bill = form.bill;
  const long customer = FieldId(bill, "FCustID");
  auto clear = [&] { Resume([&] { bill.SetStatusText(3, ""); }); };
  if (customer < 1) return clear();
  if (!services::AccessCheck(form.ctx, services::PropsString(form.ctx), 40, 100, 1024,
                             form.cls.progId))
    return clear();
  auto rs = services::OpenRecordsetTolerant(
      form.ctx,
      "Select FCurComeGoBalance,FCreditAmount From t_Organization Where FItemID = " + Id(customer));
  if (!rs || rs->Eof()) return;
  std::string text;
  if (services::InitClosed(form.ctx)) {
    auto number = [&](const char* column) {
      const Variant v = rs->Value(column);
      return vb::CStr(Variant(vb::Val(v.IsNull() ? std::string() : vb::CStr(v))));
    };
    text = "往来余额" + number("FCurComeGoBalance") + ",信用额度" + number("FCreditAmount");
  } else {
    text = "往来余额0,信用额度0";
  }
  Resume([&] { bill.SetStatusText(3, text); });
}

void FillSalesman(const SalesForm& form, long customer, std::string_view partnerTable) {
  const long employee = static_cast<long>(vb::Val(
      services::FirstValue(form.ctx, "Select FDefaultOperator From " + std::string(partnerTable) +
                                         " Where FItemID=" + Id(customer))));
  if (employee <= 0) return;
  SetHead(form.bill, "FEmpID", employee);
  const std::string department = DepartmentOf(form.ctx, employee);
  if (!department.empty()) SetHead(form.bill, "FDeptID", department);
}

void ApplyCustomerPrices(const SalesForm& form, const SalesRowKeys& keys,
                         const PriceLookup& pricing, bool keepPrices) {
  auto& bill = form.bill;
  if (services::IndustryType(form.ctx) == 1) return;
  for (long row = 1, rows = GridRows(bill, keys.grid); row <= rows; ++row) {
    if (FieldId(bill, keys.item, row) <= 0) continue;
    if (!keepPrices) RefetchRowPrice(form, row, keys, pricing);
    pricing::GetClientItemCode(form.ctx, bill, row, keys.clientCode);
  }
}

void FillEmployeeDepartment(const SalesForm& form) {
  const long employee = FieldId(form.bill, "FEmpID");
  if (employee <= 0) return;
  const std::string department = DepartmentOf(form.ctx, employee);
  if (!department.empty()) SetHead(form.bill, "FDeptID", department);
}

void FillCustomerContact(const SalesForm& form, long customer, ContactFill fill) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  Resume([&] {
    auto info = ctx.host().CreateObject(host::progid::kItemInfo).As<host::IItemInfo>();
    auto rs =
        info ? info->GetDetail(services::PropsString(ctx), 1, customer) : Ref<host::IRecordset>{};
    if (!rs || rs->Eof()) return;
    auto text = [&](const char* column) {
      return ResumeOr<std::string>({}, [&] { return vb::CStr(rs->Value(column)); });
    };
    bill.SetFieldValue("FAddress", text("FDeliverAddr"), -1);
    if (fill == ContactFill::kAddress) return;
    std::string phone = text("FCompanyPhone");
    if (vb::Trim(phone).empty()) phone = text("FPhone");
    if (vb::Trim(phone).empty()) phone = text("FMobilePhone");
    bill.SetFieldValue("FPhone", phone, -1);
  });
  if (fill != ContactFill::kFirstContact) return;
  auto rs = services::OpenRecordsetTolerant(
      ctx, "select  t2.FContact ,t2.FAddress as FReceiveAddr,t2.FPhone,t2.FMobilePhone" + kCrLf +
               "From t_Organization t1 " + "Inner join t_Contact t2  " +
               "On t1.FItemID =t2.FItemID and t2.FIsFirst =1 where t1.FItemID=" + Id(customer));
  if (!rs || rs->Eof()) return;
  Resume([&] {
    bill.SetFieldValue("FContact", rs->Value("FContact"), -1);
    bill.SetFieldValue("FReceiveAddr", rs->Value("FReceiveAddr"), -1);
    std::string phone = vb::CStr(rs->Value("FPhone"));
    if (vb::Trim(phone).empty()) phone = vb::CStr(rs->Value("FMobilePhone"));
    if (!vb::Trim(phone).empty()) bill.SetFieldValue("FPhone", phone, -1);
  });
}

void CalcSettleLimitDate(const SalesForm& form) {
  auto& bill = form.bill;
  const long customer = FieldId(bill, "FCustID");
  if (customer <= 0) return;
  auto rs = services::OpenRecordsetTolerant(
      form.ctx,
      " Select t2.FType,t2.FStandDays,t2.FMonthPayDay,t2.FBeforeDays From t_Organization t1 " +
          kCrLf +
          " Left Join t_SetDl t2 ON t1.FPayMentTime=t2.FItemID Where t1.FItemID=" + Id(customer));
  if (!rs || rs->Eof()) return;
  const Variant dateValue = bill.GetFieldValue("FDate", -1);
  if (dateValue.IsEmpty() || (dateValue.IsString() && dateValue.AsString().empty())) return;
  Resume([&] {
    const vb::Date date = vb::CDate(dateValue);
    auto number = [&](const char* column) {
      const Variant v = rs->Value(column);
      return v.IsNull() ? 0L : static_cast<long>(vb::Val(vb::CStr(v)));
    };
    const long type = number("FType");
    vb::Date due;
    if (type == 1) {
      due = vb::DateAdd("d", number("FStandDays"), date);
    } else if (type == 2) {
      // Monthly settlement: past the pay day (after the days before it) the next month's pay day.
      const long payDay = number("FMonthPayDay");
      const vb::Date counted = vb::DateAdd("d", number("FBeforeDays"), date);
      int year = vb::Year(counted), month = vb::Month(counted);
      if (vb::Day(counted) > payDay) {
        if (++month > 12) {
          month = 1;
          ++year;
        }
      }
      long day = payDay;
      if (month == 4 || month == 6 || month == 9 || month == 11)
        day = std::min(day, 30L);
      else if (month == 2)
        day = std::min(day, year % 4 == 0 ? 29L : 28L);
      else
        day = std::min(day, 31L);
      due = vb::DateSerial(year, month, static_cast<int>(std::max(day, 1L)));
    } else {
      return;
    }
    bill.SetFieldValue("FSettleLimitDate", due, -1);
  });
}

void WriteBackContact(const SalesForm& form) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  const std::string contact = vb::Trim(FieldText(bill, "FContact"));
  if (vb::CStr(services::SystemProfileValue(ctx, "UpdateRelaxAddrInSale", "IC", "1")) != "1" ||
      contact.empty())
    return;
  const long customer = FieldId(bill, "FCustID");
  const std::string sql =
      "declare @FItemID    int" + kCrLf + "declare @FContact   varchar(50)" + kCrLf +
      "declare @ExistFirst tinyint" + kCrLf + "Set @FItemID=" + Id(customer) + kCrLf +
      "Set @FContact=" + services::SqlLiteral(FieldText(bill, "FContact")) + kCrLf +
      "Select @ExistFirst=Case When Exists(Select * From t_Contact Where FItemID=@FItemID And "
      "FIsFirst=1) Then 1 Else 0 End" +
      kCrLf + "if Exists(Select * from t_Contact Where FItemID=@FItemID and FContact=@FContact)" +
      kCrLf + "begin" + kCrLf +
      "     Select @ExistFirst As FWithFirst,0 As FIsNew,* From t_Contact Where FItemID=@FItemID "
      "and FContact=@FContact" +
      kCrLf + "end" + kCrLf + "else" + kCrLf + "begin" + kCrLf +
      "     Select @ExistFirst As FWithFirst,1 As FIsNew" + kCrLf + "end";
  auto rs = services::OpenRecordsetTolerant(ctx, sql);
  if (!rs || rs->Eof()) return;
  if (rs->RecordCount() > 1) {
    services::ShowMessage(ctx, "反写联系人信息失败!" + kCrLf + kCrLf +
                                   "客户资料中存在多个同名联系人 [" + FieldText(bill, "FContact") +
                                   "]'");
    Resume([&] {
      auto tip = ctx.host().CreateObject(host::progid::kHelpTip).As<host::IHelpTip>();
      if (tip) tip->ShowPopTip(1, "青禾提示", "保存成功！");
    });
    return;
  }
  Resume([&] {
    auto record = NewDictionary(ctx);
    if (vb::Val(vb::CStr(rs->Value("FIsNew"))) != 1) {
      for (const char* key : {"FID", "FQQNum", "FPosition", "FPhoto", "FMobilePhone", "FFax",
                              "FEmail", "FDeptName", "FIsFirst"})
        record->SetItem(key, rs->Value(key));
    } else {
      record->SetItem("FID", 0);
      record->SetItem("FIsFirst", vb::Val(vb::CStr(rs->Value("FWithFirst"))) == 0 ? 1 : 0);
    }
    record->SetItem("FItemID", customer);
    record->SetItem("FContact", FieldText(bill, "FContact"));
    record->SetItem("FAddress", FieldText(bill, "FReceiveAddr"));
    record->SetItem("FPhone", FieldText(bill, "FPhone"));
    auto update = ctx.host().CreateObject(host::progid::kBarCodeUpdate).As<host::IBarCodeUpdate>();
    if (update) update->SaveContactData(services::PropsString(ctx), record);
  });
}

}  // namespace zov::plugins::sales
