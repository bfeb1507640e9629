// One bill class driven through the substitute host on one session: the forms a test opens stay
// open until it ends, the messages are read as they come, and the host's journal must stay empty.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "host_fixture.h"

namespace zov::testing {

class ClassTest : public HostTest {
 protected:
  explicit ClassTest(long classTypeId) : classTypeId_(classTypeId) {}

  void SetUp() override { session_ = Open(); }
  void TearDown() override {
    for (const auto& e : session_->journal().entries())
      ADD_FAILURE() << e.where << ": " << e.error << " " << e.text;
    forms_.clear();
  }

  // A new bill of the class on a form of its own.
  sim::BillForm& New() {
    forms_.push_back(session_->OpenBill(classTypeId_));
    auto& form = *forms_.back().form;
    form.NewBill();
    return form;
  }
  // The stored bill `billNo` of the class on a form of its own.
  sim::BillForm& Load(const std::string& billNo) {
    forms_.push_back(session_->OpenBill(classTypeId_));
    auto& form = *forms_.back().form;
    EXPECT_TRUE(form.LoadBillByNumber(billNo)) << billNo;
    return form;
  }
  // The texts of the messages shown since the last call.
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (std::size_t i = seen_; i < ui_->messages().size(); ++i)
      texts.push_back(ui_->messages()[i].text);
    seen_ = ui_->messages().size();
    return texts;
  }
  // The lines of the last window shown, without the blanks they start with.
  std::vector<std::string> WindowLines() {
    std::vector<std::string> lines;
    if (ui_->windows().empty()) return lines;
    for (std::string line : ui_->windows().back().lines) {
      line.erase(0, line.find_first_not_of(' '));
      lines.push_back(line);
    }
    return lines;
  }

  std::unique_ptr<sim::Session> session_;
  std::vector<sim::OpenForm> forms_;
  std::size_t seen_ = 0;

 private:
  long classTypeId_;
};

}  // namespace zov::testing
