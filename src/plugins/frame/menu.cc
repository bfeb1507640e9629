#include "frame/menu.h"

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/user_profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

constexpr std::uint32_t kMaskSilver = 0xC0C0C0;

Ref<host::IBand> BandOrRaise(const Ref<host::IActiveBar>& bar, std::string_view key) {
  auto band = bar->Band(key);
  if (!band) throw vb::Error(35601, "Element not found: band " + std::string(key), "ActiveBar");
  return band;
}

}  // namespace

Ref<host::ITool> AddTool(const Ref<host::IActiveBar>& bar, const MenuTool& def) {
  auto tool = bar->Tools()->Add(def.key);
  tool->SetCaption(def.caption);
  tool->SetToolTipText(def.caption);
  tool->SetDescription(def.caption);
  if (!vb::Trim(def.category).empty()) tool->SetCategory(def.category);
  tool->SetVisible(true);
  tool->SetEnabled(true);
  tool->SetStyle(def.style);
  if (!def.picture.empty()) tool->SetPicture(def.picture, kMaskSilver);

  auto tools = BandOrRaise(bar, def.band)->Tools();
  long at;
  if (def.before.empty()) {
    const long after = def.after.empty() ? -1 : tools->IndexOf(def.after);
    at = def.after.empty() ? 0 : (after < 0 ? tools->Count() : after + 1);
  } else {
    const long before = tools->IndexOf(def.before);
    at = before < 0 ? tools->Count() : before;
  }
  // A tool already in the band moves to its new place.
  if (!def.key.empty())
    if (long existing = tools->IndexOf(def.key); existing >= 0) {
      tools->Remove(existing);
      if (existing < at) --at;
    }
  tools->Insert(at, tool);
  return tool;
}

void AddSeparator(const Ref<host::IActiveBar>& bar, std::string_view band, std::string_view after) {
  AddTool(bar, MenuTool{"", "", std::string(band), std::string(after), "", "",
                        host::kToolStyleSeparator, ""});
}

std::string OptionSection(long classTypeId, std::string_view option) {
  if (option == "CheckDuplicateItem") return "Base";
  return std::to_string(classTypeId) + "BillSet";
}

bool OptionChecked(PluginContext& ctx, long classTypeId, std::string_view option) {
  return vb::Val(services::GetUserProfile(ctx, OptionSection(classTypeId, option), option)) != 0;
}

void AddOptionTool(PluginContext& ctx, const Ref<host::IActiveBar>& bar, long classTypeId,
                   std::string_view key, std::string_view caption, std::string_view option) {
  auto tool = AddTool(
      bar, MenuTool{std::string(key), std::string(caption), "mnuOption", "", "", "", 0, ""});
  tool->SetChecked(OptionChecked(ctx, classTypeId, option));
}

void ToggleOption(PluginContext& ctx, const Ref<host::ITool>& tool, long classTypeId,
                  std::string_view option) {
  const bool on = !tool->Checked();
  services::SaveUserProfileItem(ctx, OptionSection(classTypeId, option), option, on ? 1 : 0);
  tool->SetChecked(on);
}

void PlaceSourceTools(const Ref<host::IActiveBar>& bar) {
  auto relate = bar->Band("mnuRelate");
  auto toolbar = bar->Band("BandToolBar");
  for (const char* key : {"mnuRelate_1030001", "mnuRelate_1030002", "mnuRelate_1030003"}) {
    auto tool = bar->Tools()->Find(key);
    if (!tool) continue;
    tool->SetDescription("选源单");
    if (!relate || relate->Tools()->IndexOf(key) < 0 || !toolbar) continue;
    if (toolbar->Tools()->IndexOf(key) >= 0) continue;
    tool->SetPicture("SELBILL", kMaskSilver);
    const long before = toolbar->Tools()->IndexOf("mnuEditUnCheck");
    toolbar->Tools()->Insert(before < 0 ? toolbar->Tools()->Count() : before, tool);
  }
  bar->RecalcLayout();
}

bool ShowRelatedRecords(PluginContext& ctx, host::IBillInterface& bill, const RelatedQuery& query) {
  if (bill.CurBillID() <= 0) {
    services::ShowMessage(ctx, "请先保存单据");
    return false;
  }
  auto window =
      ctx.host().CreateObject(host::progid::kRelateBillLookUp).As<host::IRelateBillLookUp>();
  if (!window) return false;
  window->SetCaption(query.caption);
  window->SetTitleName(query.titleName);
  window->SetTitleDict(query.titleDict);
  window->SetEntryDict(query.entryDict);
  window->SetClassTypeID(query.classTypeId);
  window->Show();
  return true;
}

bool CustomerChosenForSource(PluginContext& ctx, host::IBillInterface& bill, bool& cancel) {
  if (FieldId(bill, "FCustID") > 0) return true;
  services::ShowMessage(ctx, "请先选择客户");
  Resume([&] { bill.SetActiveCell("FCustID", -1); });
  cancel = true;
  return false;
}

double SaveBeforePrintSetting(PluginContext& ctx) {
  return vb::Val(services::FirstValue(ctx,
                                      "Select FValue From t_SystemProfile Where FCategory='IC' And "
                                      "FKey='SaveBeforePrint'"));
}

bool SaveBeforePrint(PluginContext& ctx) { return SaveBeforePrintSetting(ctx) == 1; }

}  // namespace zov::plugins
