// The special-price bill's tools by the bill's state, its locks under app type 4, and the help
// note beside the entry grid.
#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// FStatus of a special-price bill.
constexpr long kNotAudited = 0;
constexpr long kAudited = 1;

// Price type 3 is the one app type 4 works with; it takes no total limits.
constexpr long kApp4PriceType = 3;

const char* const kHelpNote[] = {
    "提示：",
    "1、原价根据“价格管理-售价带出方案”中设置的规则带出。",
    "2、如果表头客户多于一个，原价则不带出以下相关价格：",
    "    （1）客户协议价格",
    "    （2）商品价格资料中的客户等级价格",
    "    （3）商品+客户最近销售价格",
    "3、本单中，原价不允许为零。",
};

long Number(host::IControl& control, std::string_view property) {
  return ResumeOr<long>(0, [&] { return vb::CLng(control.Property(property)); });
}

}  // namespace

void BillEvent_XSCX::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  auto tool =
      AddTool(bar, {"mnuInvalidBill", "单据失效", "mnuEdit", "mnuEditUnCheck", "", "PART", 0, ""});
  AddSeparator(bar, "mnuEdit", "mnuInvalidBill");
  AddTool(bar, {"mnuInvalidBill", "单据失效", "BandToolBar", "", "mnuFileExit", "PART", 0, ""});
  AddSeparator(bar, "BandToolBar", "mnuInvalidBill");
  tool->SetEnabled(ResumeOr<long>(1, [&] { return m_BillInterface->BillStatus(); }) == 0);
  bar->RecalcLayout();
}

void BillEvent_XSCX::ApplyToolState() {
  auto& bill = *m_BillInterface;
  const long status = static_cast<long>(FieldNumber(bill, "FStatus"));
  auto set = [&](const char* tool, const char* property, bool value) {
    Resume([&] { bill.SetBarStatus(tool, property, value); });
  };
  // A bill not yet audited can be audited; an audited one can be invalidated; an invalidated
  // one neither.
  set("mnuEditCheck", "Visible", true);
  set("mnuEditCheck", "Enabled", status == kNotAudited);
  set("mnuInvalidBill", "Enabled", status == kAudited);
  // An audited special-price bill is never un-audited; it has no voucher, no related bills, no
  // amounts to derive prices from and no rows to copy.
  set("mnuEditUnCheck", "Visible", false);
  set("mnuRelateViewVoucher", "Visible", false);
  set("mnuOptionAmountCalcPrice", "Visible", false);
  set("mnuRelate", "Visible", false);
  set("mnuRelateViewList", "Visible", false);
  set("mnuCopyRow", "Visible", false);
  if (services::AppType(context()) == 4) LockPriceTypeForApp4();
}

void BillEvent_XSCX::LockPriceTypeForApp4() {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetFieldValue("FPriceType", kApp4PriceType, -1); });
  Resume([&] {
    if (auto info = bill.GetFieldInfoByKey("FPriceType")) bill.BillCtl()->LockCell(info, -1, true);
  });
  Resume([&] { bill.BillEntrys(1)->QORFields("FTotalLimitQty")->SetFieldLock(true); });
}

void BillEvent_XSCX::PlaceHelpNote() {
  if (!pic_) return;
  Resume([&] {
    auto controls = m_BillInterface->Controls();
    Ref<host::IControl> grid;
    for (long i = 0; i < controls->Count() && !grid; ++i) {
      auto c = controls->Item(i);
      if (vb::LCase(c->TypeName()) == "fpspread" && vb::LCase(c->Name()) == "grid" &&
          c->Index() == 0)
        grid = c;
    }
    if (!grid) return;
    // Right of the grid's visible columns, inside the grid's width.
    long widths = 0, count = 0;
    const long maxCols = Number(*grid, "MaxCols");
    for (long col = 1; col <= maxCols; ++col) {
      std::vector<Variant> args{Variant(col)};
      if (vb::CBool(grid->Invoke("ColHidden", args))) continue;
      args = {Variant(col)};
      widths += vb::CLng(grid->Invoke("ColWidth", args));
      ++count;
    }
    const long gridLeft = Number(*grid, "Left");
    const long left = gridLeft + widths + 70 * count + 100;
    const long width = gridLeft + Number(*grid, "Width") - left - 300;
    pic_->SetProperty("Left", left);
    pic_->SetProperty("Top", Number(*grid, "Top") + 70);
    pic_->SetProperty("Width", width > 0 ? width : 0L);
  });
}

void BillEvent_XSCX::pic_Paint() {
  if (!pic_) return;
  auto& note = *pic_.get();
  note.SetProperty("CurrentX", 1);
  note.SetProperty("CurrentY", 1);
  note.SetProperty("BackColor", vb::QBColor(15));
  note.SetProperty("FillColor", vb::QBColor(15));
  note.SetProperty("ForeColor", vb::QBColor(12));
  for (const char* line : kHelpNote) {
    std::vector<Variant> args{Variant(line)};
    note.Invoke("Print", args);
  }
}

}  // namespace zov::plugins
