// The scenario player: a malformed file or step is refused with the file, the step and what is
// wrong; an expectation that does not hold fails and says what was expected and what was found.
#include "scenario/scenario.h"

#include <gmock/gmock.h>

#include <sstream>

#include "host_fixture.h"

namespace zov::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

struct Played {
  sim::ScenarioOutcome outcome;
  std::string out;
};

Played PlayText(const std::string& json) {
  std::ostringstream out;
  Played p;
  p.outcome = sim::PlayScenarioText(json, "t.json", TestDatabases(), out);
  p.out = out.str();
  return p;
}

// A scenario on the demo set with these steps.
Played PlaySteps(const std::string& steps) {
  return PlayText(R"({"db": "demo", "steps": [)" + steps + "]}");
}

// --- malformed files and steps
// --------------------------------------------------------------------

struct MalformedCase {
  const char* name;
  bool file;  // `json` is a whole file, else the steps of a scenario on the demo set
  const char* json;
  int step;          // the step the report names
  const char* what;  // what the report says is wrong
};

constexpr const char* kSale = R"({"open": "BillEvent_Sale"}, )";
constexpr const char* kList = R"({"open": "BillEvent_Sale", "list": true}, )";

const MalformedCase kMalformed[] = {
    {"NotJson", true, "{\"steps\": [", 0, "not valid JSON"},
    {"NameNotText", true, R"({"name": 5, "steps": []})", 0, "\"name\""},
    {"NoSteps", true, R"({"db": "demo"})", 0, "\"steps\""},
    {"UnknownDatabase", true, R"({"db": "production", "steps": []})", 0, "\"db\""},
    {"UserNotText", true, R"({"session": {"user": 5}, "steps": []})", 0, "\"user\""},
    {"TodayNotADate", true, R"({"session": {"today": "someday"}, "steps": []})", 0, "\"today\""},
    {"UnknownStep", false, R"({"opne": "BillEvent_Sale"})", 1, "unknown step"},
    {"MisspeltOption", false, R"({"open": "BillEvent_Sale", "lsit": true})", 1, "\"lsit\""},
    {"MisspeltRow", false, R"({"open": "BillEvent_Sale"}, {"set": {"FNote": "x"}, "rwo": 1})", 2,
     "\"rwo\""},
    {"TwoActionsInOneStep", false, R"({"open": "BillEvent_Sale"}, {"save": true, "audit": true})",
     2, "\"audit\""},
    {"UnknownBillClass", false, R"({"open": "BillEvent_Nope"})", 1, "BillEvent_Nope"},
    {"UnknownStoredBill", false, R"({"open": "BillEvent_Sale", "bill": "XSD999999"})", 1,
     "XSD999999"},
    {"BillNumberNotText", false, R"({"open": "BillEvent_Sale", "bill": 5})", 1, "\"bill\""},
    {"ListNotAFlag", false, R"({"open": "BillEvent_Sale", "list": "yes"})", 1, "\"list\""},
    {"SetBeforeOpen", false, R"({"set": {"FNote": "x"}})", 1, "open one first"},
    {"UnknownField", false, R"({"open": "BillEvent_Sale"}, {"set": {"FNoSuchField": 1}})", 2,
     "FNoSuchField"},
    {"RowFieldWithoutRow", false, R"({"open": "BillEvent_Sale"}, {"set": {"FPrice": 1}})", 2,
     "\"row\""},
    {"RowNotANumber", false, R"({"open": "BillEvent_Sale"}, {"set": {"FPrice": 1}, "row": "1"})", 2,
     "\"row\""},
    {"RowPastTheNext", false, R"({"open": "BillEvent_Sale"}, {"set": {"FPrice": 1}, "row": 3})", 2,
     "row 3"},
    {"DeleteMissingRow", false, R"({"open": "BillEvent_Sale"}, {"deleteRow": 2})", 2, "row 2"},
    {"EnterWithoutRow", false, R"({"open": "BillEvent_Sale"}, {"enter": true})", 2, "\"row\""},
    {"EnterMissingRow", false, R"({"open": "BillEvent_Sale"}, {"row": 4, "enter": true})", 2,
     "row 4"},
    {"GridNotANumber", false, R"({"open": "BillEvent_Sale"}, {"addRow": true, "grid": "2"})", 2,
     "\"grid\""},
    {"SelectNotTexts", false, R"({"open": "BillEvent_Sale", "list": true}, {"select": [1]})", 2,
     "\"select\""},
    {"SelectUnknownBill", false,
     R"({"open": "BillEvent_Sale", "list": true}, {"select": ["XSD999999"]})", 2, "XSD999999"},
    {"AnswerNotAList", false, R"({"open": "BillEvent_Sale"}, {"answer": "Yes"})", 2, "\"answer\""},
    {"ClickNotText", false, R"({"open": "BillEvent_Sale"}, {"click": 1})", 2, "\"click\""},
    {"CancelledNotAFlag", false, R"({"open": "BillEvent_Sale"}, {"expect": {"cancelled": "no"}})",
     2, "\"cancelled\""},
    {"MessagesNotAList", false, R"({"open": "BillEvent_Sale"}, {"expect": {"messages": "x"}})", 2,
     "\"messages\""},
    {"UnknownExpectation", false, R"({"open": "BillEvent_Sale"}, {"expect": {"shown": true}})", 2,
     "\"shown\""},
    {"CellOfUnknownField", false,
     R"({"open": "BillEvent_Sale"}, {"expect": {"cells": {"FNoSuchField": 1}}})", 2,
     "FNoSuchField"},
    {"RowCellWithoutRow", false,
     R"({"open": "BillEvent_Sale"}, {"expect": {"cells": {"FPrice": 1}}})", 2, "FPrice"},
    {"CellRowNotANumber", false,
     R"({"open": "BillEvent_Sale"}, {"expect": {"cells": {"FPrice@x": 1}}})", 2, "FPrice@x"},
    {"LockedUnknownField", false,
     R"({"open": "BillEvent_Sale"}, {"expect": {"locked": ["FNoSuch"]}})", 2, "FNoSuch"},
    {"SqlWithoutRows", false,
     R"({"open": "BillEvent_Sale"}, {"expect": {"sql": {"query": "select 1"}}})", 2, "\"sql\""},
    {"StatusNotText", false, R"({"open": "BillEvent_Sale"}, {"expect": {"status": {"1": 5}}})", 2,
     "status"},
    {"UnknownControl", false, R"({"open": "BillEvent_XSCX"}, {"control": "cmdNone"})", 2,
     "cmdNone"},
    {"UnknownControlEvent", false,
     R"({"open": "BillEvent_XSCX"}, {"control": "customCtl1", "event": "DblClick"})", 2,
     "\"event\""},
    {"KeyPressWithoutKey", false,
     R"({"open": "BillEvent_XSCX"}, {"control": "FCustomer", "event": "KeyPress"})", 2, "\"key\""},
    {"ControlsNotAnObject", false, R"({"open": "BillEvent_XSCX"}, {"expect": {"controls": []}})", 2,
     "\"controls\""},
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedScenario : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedScenario, IsReportedWithFileStepAndWhatIsWrong) {
  const MalformedCase& c = GetParam();
  const Played p = c.file ? PlayText(c.json) : PlaySteps(c.json);
  EXPECT_EQ(p.outcome.failures, 1) << p.out;
  const std::string line = "t.json step " + std::to_string(c.step) + ": malformed: ";
  const auto at = p.out.find(line);
  ASSERT_NE(at, std::string::npos) << p.out;
  const std::string report = p.out.substr(at, p.out.find('\n', at) - at);
  EXPECT_THAT(report, HasSubstr(c.what));
  // Nothing a JSON library says stands in for the explanation.
  EXPECT_THAT(report, Not(HasSubstr("json.exception")));
  // No step after the malformed one runs.
  EXPECT_THAT(p.out, Not(HasSubstr("t.json step " + std::to_string(c.step + 1) + ": {")));
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedScenario, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioFile, AMissingFileIsNamed) {
  std::ostringstream out;
  const auto outcome = sim::PlayScenario("/nonexistent/story.json", TestDatabases(), out);
  EXPECT_EQ(outcome.failures, 1);
  EXPECT_THAT(out.str(), HasSubstr("/nonexistent/story.json step 0: malformed: cannot read"));
}

TEST(ScenarioFile, AFailingSetupBatchIsNamed) {
  const Played p =
      PlayText(R"({"setup": ["select 1", "selec 2"], "steps": [{"open": "BillEvent_Sale"}]})");
  EXPECT_EQ(p.outcome.failures, 1);
  EXPECT_THAT(p.out, AllOf(HasSubstr("t.json step 0"), HasSubstr("setup batch 2")));
}

// --- expectations
// ----------------------------------------------------------------------------------

// A new sales bill for C001 with one row of I001: the demo set prices it at 12.5.
constexpr const char* kPricedRow =
    R"({"open": "BillEvent_Sale"}, {"set": {"FCustID": "C001"}}, {"set": {"FItemID": "I001", "FShowQty": 2}, "row": 1}, )";

TEST(ScenarioExpectation, CellsThatDifferFailAndCellsThatMatchHold) {
  const Played p = PlaySteps(std::string(kPricedRow) + R"(
      {"expect": {"cells": {"FPrice@1": 12.5, "FCustID": "C001", "FItemID@1": "I001", "FShowQty@1": "2"}}},
      {"expect": {"cells": {"FPrice@1": 13}}},
      {"expect": {"cells": {"FCustID": "C002"}}},
      {"expect": {"cells": {"FPrice@2": null}}})");
  EXPECT_EQ(p.outcome.failures, 3) << p.out;
  EXPECT_THAT(p.out, Not(HasSubstr("step 4: FAILED")));
  EXPECT_THAT(p.out, HasSubstr("t.json step 5: FAILED cell FPrice@1: expected 13, actual 12.5"));
  EXPECT_THAT(p.out, HasSubstr("t.json step 6: FAILED cell FCustID: expected \"C002\""));
  // A row the bill does not have is not an empty row.
  EXPECT_THAT(p.out, HasSubstr("t.json step 7: FAILED cell FPrice@2"));
}

TEST(ScenarioExpectation, ControlsThatDifferFail) {
  const Played p = PlaySteps(R"({"open": "BillEvent_XSCX"},
      {"expect": {"controls": {"customCtl1": {"Caption": "...", "Visible": true}}}},
      {"expect": {"controls": {"customCtl1": {"Caption": "选择"}}}},
      {"expect": {"controls": {"customCtl3": {"printed": ["提示："]}}}},
      {"expect": {"controls": {"customCtl1": {"NoSuchProperty": 1}, "cmdNone": {"Visible": true}}}})");
  EXPECT_EQ(p.outcome.failures, 4) << p.out;
  EXPECT_THAT(p.out, Not(HasSubstr("step 2: FAILED")));
  EXPECT_THAT(p.out, HasSubstr("step 3: FAILED control customCtl1.Caption: expected \"选择\""));
  EXPECT_THAT(p.out, HasSubstr("step 4: FAILED control customCtl3.printed"));
  EXPECT_THAT(p.out, HasSubstr("step 5: FAILED control customCtl1.NoSuchProperty"));
  EXPECT_THAT(p.out, HasSubstr("step 5: FAILED control cmdNone: expected"));
}

TEST(ScenarioExpectation, MessagesCancelledAndRowsAreComparedExactly) {
  // Auditing from the list with nothing selected is refused with the host's message.
  const Played p = PlaySteps(std::string(kList) + R"(
      {"audit": true},
      {"expect": {"cancelled": true, "messages": ["请先选择单据。"]}},
      {"audit": true},
      {"expect": {"cancelled": false, "messages": []}},
      {"expect": {"messages": []}},
      {"expect": {"sql": {"query": "select FStatus from t_cc_stockbill where FBillNo='XSD000002'", "rows": [[0]]}}},
      {"expect": {"sql": {"query": "select FStatus from t_cc_stockbill where FBillNo='XSD000002'", "rows": [[1]]}}},
      {"expect": {"sql": {"query": "select FStatus from t_cc_stockbill where FBillNo='XSD000002'", "rows": []}}})");
  EXPECT_EQ(p.outcome.failures, 4) << p.out;
  EXPECT_THAT(p.out, Not(HasSubstr("step 3: FAILED")));
  EXPECT_THAT(p.out, HasSubstr("t.json step 5: FAILED cancelled: expected false, actual true"));
  EXPECT_THAT(
      p.out, HasSubstr("t.json step 5: FAILED messages: expected [], actual [\"请先选择单据。\"]"));
  // The messages of one expectation are not shown again to the next.
  EXPECT_THAT(p.out, Not(HasSubstr("step 6: FAILED")));
  EXPECT_THAT(p.out, Not(HasSubstr("step 7: FAILED")));
  EXPECT_THAT(p.out, HasSubstr("t.json step 8: FAILED sql"));
  EXPECT_THAT(p.out, HasSubstr("t.json step 9: FAILED sql"));
}

TEST(ScenarioExpectation, AFailureInTheJournalFailsUnlessExpected) {
  // Without its profile table the sales plug-in's profile reads fail; it swallows the errors.
  const std::string setup = R"({"db": "demo", "setup": ["drop table t_UserProfile"], "steps": [)";
  const Played unexpected = PlayText(setup + std::string(kList) + R"({"expect": {}}]})");
  EXPECT_GE(unexpected.outcome.failures, 1) << unexpected.out;
  EXPECT_THAT(unexpected.out, AllOf(HasSubstr("t.json step 2: FAILED journal: expected []"),
                                    HasSubstr("t_UserProfile")));

  const Played expected =
      PlayText(setup + std::string(kList) + R"({"expect": {"journal": ["t_UserProfile"]}}]})");
  EXPECT_EQ(expected.outcome.failures, 0) << expected.out;

  // What fails after the last expectation is not lost either.
  const Played late = PlayText(setup + R"({"open": "BillEvent_Sale", "list": true}]})");
  EXPECT_THAT(late.out, HasSubstr("t.json step 2: FAILED journal"));
  EXPECT_GE(late.outcome.failures, 1);
}

TEST(ScenarioExpectation, AnswersNoBoxTookAreReported) {
  const Played p =
      PlaySteps(std::string(kSale) + R"({"answer": ["Yes", "价格有误"]}, {"expect": {}})");
  EXPECT_EQ(p.outcome.failures, 1) << p.out;
  EXPECT_THAT(p.out, AllOf(HasSubstr("t.json step"), HasSubstr("answers"),
                           HasSubstr("[\"Yes\",\"价格有误\"]")));

  // Answers a box takes leave nothing behind.
  const Played used = PlaySteps(
      std::string(kList) +
      R"({"answer": ["OK"]}, {"audit": true}, {"expect": {"messages": ["请先选择单据。"]}})");
  EXPECT_EQ(used.outcome.failures, 0) << used.out;
}

TEST(ScenarioExpectation, AnUnknownToolFailsTheExpectation) {
  const Played p = PlaySteps(std::string(kSale) +
                             R"({"expect": {"tools": {"mnuNoSuchTool": {"visible": true}}}})");
  EXPECT_EQ(p.outcome.failures, 1);
  EXPECT_THAT(p.out, HasSubstr("t.json step 2: FAILED tool mnuNoSuchTool"));
}

}  // namespace
}  // namespace zov::testing
