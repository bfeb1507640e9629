// The controls of a bill form a plug-in reaches: the buttons and picture boxes it adds and their
// events, key presses in a header field's edit control, the entry grid's columns, the field
// descriptors' class-table records, and bills whose server component audits them.
#include <gmock/gmock.h>

#include "bill/bill_form.h"
#include "bill/edit_lock.h"
#include "bill/form_parts.h"
#include "host_fixture.h"
#include "list/bill_list.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::testing {
namespace {

using sim::BillForm;
using vb::Ref;
using vb::Variant;

// A special-price bill of the demo tables, audited by its server component.
constexpr const char* kTemplate = R"({
  "classTypeId": 1030006, "title": "特价单", "auditByComponent": true,
  "tables": { "head": "T_LS_CX", "entry": "T_LS_CXEntry" },
  "billNo": { "prefix": "CXT" },
  "head": [
    { "key": "FBillNo", "column": "FBillNo" },
    { "key": "FCustomer", "column": "FCustomer", "control": "EditPlus" },
    { "key": "FEmpId", "type": "base", "column": "FEmpId", "base": { "table": "t_Emp" } },
    { "key": "FNote", "column": "FNote" },
    { "key": "FStatus", "type": "number", "column": "FStatus", "visible": 0 },
    { "key": "FCheckerID", "type": "number", "column": "FCheckerID", "visible": 0 }
  ],
  "grids": [ { "fields": [
    { "key": "FItemID", "type": "base", "column": "FItemID", "base": { "table": "t_ICItem" } },
    { "key": "FXSPrice", "type": "number", "column": "FXSPrice", "visible": 0 },
    { "key": "FNewPrice", "type": "number", "column": "FNewPrice" },
    { "key": "FBarCode", "column": "FBarCode" }
  ] } ]
})";

std::shared_ptr<const sim::TemplateSet> TestTemplates() {
  auto set = std::make_shared<sim::TemplateSet>();
  (*set)[1030006] = sim::ParseTemplate(kTemplate, "test template");
  return set;
}

// Records the events of the controls it is connected to; may swallow or change key presses, or
// fail.
class ControlRecorder final : public vb::Implements<host::IControlEvents> {
 public:
  std::string TypeName() const override { return "ControlRecorder"; }
  void OnEvent(const Ref<host::IControl>& source, std::string_view event,
               std::vector<Variant>& params) override {
    events.push_back(source->Name() + "." + std::string(event));
    if (fail) throw vb::Error(5, "Invalid procedure call or argument", "ControlRecorder");
    if (event == "Paint") {
      std::vector<Variant> line{Variant("painted")};
      source->Invoke("Print", line);
    }
    if (event == "KeyPress" && !params.empty()) {
      const long key = vb::CLng(params[0]);
      if (key == swallow) params[0] = 0L;
      if (key >= 'a' && key <= 'z') params[0] = key - 'a' + 'A';
    }
  }
  std::vector<std::string> events;
  long swallow = -1;
  bool fail = false;
};

class BillFormControlsTest : public HostTest {
 protected:
  void SetUp() override {
    session_ = Open("admin", TestTemplates());
    form_ = BillForm::New(TestTemplates()->at(1030006), *session_);
    form_->NewBill();
    recorder_ = Ref<ControlRecorder>::Adopt(new ControlRecorder);
  }
  void TearDown() override {
    for (const auto& entry : session_->journal().entries())
      ADD_FAILURE() << entry.where << ": " << entry.error << " " << entry.text;
  }
  // A control added as a plug-in adds it, connected to the recorder.
  Ref<host::IControl> Add(const char* progId, const char* name) {
    auto control = form_->Controls()->Add(progId, name);
    control->Advise(recorder_);
    control->SetProperty("Visible", true);
    return control;
  }

  std::unique_ptr<sim::Session> session_;
  Ref<BillForm> form_;
  Ref<ControlRecorder> recorder_;
};

TEST_F(BillFormControlsTest, AButtonThePlugInAddedIsClickedWhileShownAndEnabled) {
  auto button = Add("VB.CommandButton", "cmdOne");
  EXPECT_EQ(button->TypeName(), "CommandButton");
  EXPECT_THROW(form_->Controls()->Add("VB.CommandButton", "CMDONE"), vb::Error);  // names unique

  ASSERT_TRUE(form_->ClickControl("cmdOne"));
  EXPECT_THAT(recorder_->events, ::testing::ElementsAre("cmdOne.Click"));
  button->SetProperty("Enabled", false);
  EXPECT_FALSE(form_->ClickControl("cmdOne"));
  button->SetProperty("Enabled", true);
  button->SetProperty("Visible", false);
  EXPECT_FALSE(form_->ClickControl("cmdOne"));
  EXPECT_TRUE(form_->lastCancelled());
  EXPECT_FALSE(form_->ClickControl("cmdNone"));
  EXPECT_EQ(recorder_->events.size(), 1u);

  // A failing handler is a failed event, journaled.
  button->SetProperty("Visible", true);
  recorder_->fail = true;
  EXPECT_FALSE(form_->ClickControl("cmdOne"));
  ASSERT_EQ(session_->journal().entries().size(), 1u);
  EXPECT_EQ(session_->journal().entries()[0].where, "Control.cmdOne.Click");
  session_->journal().Clear();
}

TEST_F(BillFormControlsTest, TheButtonAtTheEndOfAFieldsBoxEditsThatField) {
  auto button = Add("VB.CommandButton", "cmdPick");
  auto box = form_->EditControl("FCustomer");
  ASSERT_TRUE(box);
  EXPECT_EQ(vb::CStr(box->Property("Tag")), "Page1.FCustomer");
  EXPECT_EQ(form_->FieldInfo("FCustomer")->Item("FCtlType"), Variant("EditPlus"));
  EXPECT_EQ(form_->FieldInfo("FNote")->Item("FCtlType"), Variant("TextBox"));
  EXPECT_FALSE(form_->EditControl("FNote"));
  EXPECT_FALSE(form_->PostfixButton("FCustomer"));
  box->SetProperty("Postfix", "cmdPick");
  EXPECT_EQ(form_->PostfixButton("FCustomer"), button);
  EXPECT_EQ(form_->FindControl("FCustomer"), box);

  ASSERT_TRUE(form_->ClickControl("cmdPick"));
  EXPECT_EQ(form_->ActiveKey(), "FCustomer");
  // A bill that can no longer change takes no click on its fields' buttons.
  form_->SetFieldValue("FStatus", 1, -1);
  EXPECT_FALSE(form_->ClickControl("cmdPick"));
  EXPECT_THAT(recorder_->events, ::testing::ElementsAre("cmdPick.Click"));
}

TEST_F(BillFormControlsTest, KeyPressesInAFieldsBoxMayChangeOrSwallowWhatIsTyped) {
  auto box = form_->EditControl("FEmpId");
  ASSERT_TRUE(box);
  box->Advise(recorder_);
  recorder_->swallow = '#';
  ASSERT_TRUE(form_->Edit("FEmpId", -1, "#e00#2"));
  EXPECT_EQ(form_->Display("FEmpId"), "李丽");
  EXPECT_EQ(recorder_->events.size(), 6u);
  EXPECT_EQ(recorder_->events.front(), "EditPlus.KeyPress");
  // Everything swallowed: nothing reaches the field.
  recorder_->swallow = 'Z';
  EXPECT_FALSE(form_->Edit("FEmpId", -1, "ZZ"));
  EXPECT_TRUE(form_->lastCancelled());
  EXPECT_EQ(form_->Display("FEmpId"), "李丽");
  // A field without a box, and clearing a field, press no keys.
  recorder_->events.clear();
  ASSERT_TRUE(form_->Edit("FNote", -1, "ZZ"));
  ASSERT_TRUE(form_->Edit("FEmpId", -1, ""));
  EXPECT_TRUE(recorder_->events.empty());
}

TEST_F(BillFormControlsTest, PictureBoxesPaintWhenShownMovedOrResized) {
  auto picture = Add("VB.PictureBox", "picNote");
  auto& shown = dynamic_cast<sim::FormControl&>(*picture);
  form_->PaintControls();
  form_->PaintControls();
  EXPECT_THAT(recorder_->events, ::testing::ElementsAre("picNote.Paint"));
  EXPECT_THAT(shown.printed(), ::testing::ElementsAre("painted"));
  picture->SetProperty("Left", 300);
  form_->PaintControls();
  EXPECT_EQ(recorder_->events.size(), 2u);
  EXPECT_THAT(shown.printed(), ::testing::ElementsAre("painted"));  // cleared before the paint
  picture->SetProperty("Visible", false);
  form_->PaintControls();
  EXPECT_EQ(recorder_->events.size(), 2u);
  std::vector<Variant> none;
  ASSERT_TRUE(form_->FireControlEvent("picNote", "Paint", none));
  EXPECT_EQ(recorder_->events.size(), 3u);
}

TEST_F(BillFormControlsTest, TheEntryGridAnswersItsColumnsAndFollowsTheCursor) {
  auto grid = form_->Controls()->Find("grid");
  ASSERT_TRUE(grid);
  EXPECT_EQ(vb::CLng(grid->Property("MaxCols")), 4);
  auto call = [&](const char* method, long col) {
    std::vector<Variant> args{Variant(col)};
    return grid->Invoke(method, args);
  };
  EXPECT_EQ(vb::CStr(call("ColID", 1)), "FItemID");
  EXPECT_EQ(vb::CLng(call("ColWidth", 1)), 1950);
  EXPECT_EQ(vb::CLng(call("ColWidth", 3)), 1440);
  EXPECT_FALSE(vb::CBool(call("ColHidden", 1)));
  EXPECT_TRUE(vb::CBool(call("ColHidden", 2)));  // FXSPrice shows in no form state
  EXPECT_TRUE(vb::CBool(call("ColHidden", 9)));
  EXPECT_EQ(vb::CStr(call("ColID", 9)), "");

  ASSERT_TRUE(form_->Edit("FNewPrice", 1, 5));
  EXPECT_EQ(vb::CLng(grid->Property("ActiveCol")), 3);
  EXPECT_EQ(vb::CLng(grid->Property("ActiveRow")), 1);
  form_->SetActiveCell("FNote", -1);
  EXPECT_EQ(vb::CLng(grid->Property("ActiveCol")), 0);
}

TEST_F(BillFormControlsTest, DescriptorsCarryTheFieldsClassTableRecord) {
  // The demo class table holds the special-price bill's fields.
  EXPECT_EQ(vb::CLng(form_->FieldInfo("FCustomer")->Item("FID")), 103000603);
  EXPECT_EQ(vb::CLng(form_->FieldInfo("FItemID")->Item("FID")), 103000611);
  EXPECT_EQ(vb::CLng(form_->FieldInfo("FNote")->Item("FID")), 0);
}

// Audits a stored bill as a server component does: in the database.
class ComponentAudit final : public vb::Implements<host::IBillEventSink> {
 public:
  explicit ComponentAudit(sim::Session& session) : session_(session) {}
  std::string TypeName() const override { return "ComponentAudit"; }
  host::BillEventSet ConnectedEvents() const override {
    return host::BillEventSet()
        .set(static_cast<std::size_t>(host::BillEvent::BusinessCheck))
        .set(static_cast<std::size_t>(host::BillEvent::UnBusinessCheck));
  }
  void BusinessCheck(bool&) override {
    if (audits) session_.Run("UPDATE T_LS_CX SET FStatus=1, FCheckerID=3 WHERE FID=" + id);
  }
  void UnBusinessCheck(bool&) override {}
  bool audits = false;
  std::string id;

 private:
  sim::Session& session_;
};

TEST_F(BillFormControlsTest, ABillAuditedByItsComponentShowsWhatTheComponentStored) {
  ASSERT_TRUE(form_->Edit("FItemID", 1, "I001"));
  ASSERT_TRUE(form_->Save());
  auto audit = Ref<ComponentAudit>::Adopt(new ComponentAudit(*session_));
  audit->id = std::to_string(form_->CurBillID());
  form_->Advise(audit);

  // The component did not audit: the host writes nothing of its own.
  EXPECT_FALSE(form_->Audit());
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 0);
  EXPECT_EQ(
      vb::CLng(session_->Run("SELECT FStatus FROM T_LS_CX WHERE FID=" + audit->id)[0].rows[0][0]),
      0);
  sim::EditLock lock(*session_, 1030006, form_->CurBillID());
  const long version = lock.Read().version;
  audit->audits = true;
  ASSERT_TRUE(form_->Audit());
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 1);
  EXPECT_EQ(vb::CLng(form_->Value("FCheckerID")), 3);  // the component's, not the host's user
  // The component's write counts as a write of the bill: forms that read it before notice.
  EXPECT_EQ(lock.Read().version, version + 1);
  // Un-audit is the component's too: this one does not, and the bill stays audited.
  EXPECT_FALSE(form_->UnAudit());
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 1);

  // A plug-in showing the bill again after its component changed it.
  session_->Run("UPDATE T_LS_CX SET FStatus=2 WHERE FID=" + audit->id);
  form_->SetBillStatus(host::kBillView);
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 2);

  // The list leaves the audit to the component as well.
  auto list = sim::BillList::New(TestTemplates()->at(1030006), *session_);
  list->Refresh();
  ASSERT_TRUE(list->Select({"CX000006"}));
  EXPECT_TRUE(list->AuditSelected(true));
  EXPECT_EQ(vb::CLng(session_->Run("SELECT FStatus FROM T_LS_CX WHERE FID=6")[0].rows[0][0]), 0);
}

TEST(BillTemplateControls, AFieldsControlIsOneTheHostHas) {
  EXPECT_THROW(sim::ParseTemplate(R"({"classTypeId": 1, "tables": {"head": "h"},
                                      "head": [{"key": "FA", "control": "ComboBox"}]})",
                                  "t.json"),
               std::runtime_error);
  auto t = sim::ParseTemplate(R"({"classTypeId": 1, "tables": {"head": "h"},
                                  "head": [{"key": "FA", "type": "base", "base": {"table": "t"}},
                                           {"key": "FB"}]})",
                              "t.json");
  EXPECT_EQ(t->head[0].control, "EditPlus");
  EXPECT_EQ(t->head[1].control, "TextBox");
  EXPECT_FALSE(t->auditByComponent);
}

}  // namespace
}  // namespace zov::testing
