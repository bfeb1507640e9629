// The menu and tool-bar scheme every plug-in class follows: its own tools added to the host's
// bands, host tools relabelled, option tools kept per user, and the shared commands.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"
#include "zov/host/toolbar.h"

namespace zov::plugins {

// A tool the library adds. The caption is also its tool tip and description.
struct MenuTool {
  std::string key;
  std::string caption;
  std::string band;
  std::string after;   // the tool it follows in the band ("" the band's start)
  std::string before;  // or the host tool it precedes ("" none)
  std::string picture;
  int style = host::kToolStyleNormal;
  std::string category;
};

// Adds (or re-labels) a tool and places it in its band. Raises when the bar fails, which ends
// the initialisation handler.
Ref<host::ITool> AddTool(const Ref<host::IActiveBar>& bar, const MenuTool& def);
// A separator (a tool with no key and no caption, style 5) after `after` in `band`.
void AddSeparator(const Ref<host::IActiveBar>& bar, std::string_view band, std::string_view after);

// The user-profile section of an option: "Base" for CheckDuplicateItem, otherwise the bill class
// type as decimal text followed by "BillSet".
std::string OptionSection(long classTypeId, std::string_view option);
// Whether the option is on for the user (its stored value's number is not 0).
bool OptionChecked(PluginContext& ctx, long classTypeId, std::string_view option);
// Adds an option tool to "mnuOption", checked as the user left it.
void AddOptionTool(PluginContext& ctx, const Ref<host::IActiveBar>& bar, long classTypeId,
                   std::string_view key, std::string_view caption, std::string_view option);
// Flips an option tool and stores the new state (1 or 0) for the user.
void ToggleOption(PluginContext& ctx, const Ref<host::ITool>& tool, long classTypeId,
                  std::string_view option);

// Source-selection tools "mnuRelate_1030001/2/3" described "选源单" and placed on "BandToolBar"
// before "mnuEditUnCheck" with the selection icon.
void PlaceSourceTools(const Ref<host::IActiveBar>& bar);

// The related-records window of a bill: refused with "请先保存单据" for a bill not saved yet.
struct RelatedQuery {
  std::string caption;    // "查询销售订单记录"
  std::string titleName;  // "委托代销单信息"
  Ref<host::IDictionary> titleDict;
  Ref<host::IDictionary> entryDict;
  long classTypeId = 0;
};
bool ShowRelatedRecords(PluginContext& ctx, host::IBillInterface& bill, const RelatedQuery& query);

// The source-selection guard: without a customer "请先选择客户", cursor on FCustID, Cancel.
bool CustomerChosenForSource(PluginContext& ctx, host::IBillInterface& bill, bool& cancel);

// The account set's "SaveBeforePrint" of "IC" as a number (0 when it is not set).
double SaveBeforePrintSetting(PluginContext& ctx);
// Whether the account set wants bills saved before they are printed (the setting is 1).
bool SaveBeforePrint(PluginContext& ctx);

}  // namespace zov::plugins
