// The window thread: operations one at a time, a dialog parks the thread (and lets go of the
// session) until it is answered, and closing answers what is pending with the default.
#include "form_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace zov::web {
namespace {

using Outcome = FormThread::Outcome;

TEST(FormThreadTest, AnOperationRunsOnTheWindowThreadAndHoldsTheSession) {
  std::mutex session;
  FormThread window(session);
  std::thread::id ran;
  bool sessionHeld = false;
  Outcome out = window.Run([&] {
    ran = std::this_thread::get_id();
    sessionHeld = !session.try_lock();
    return Json{{"value", 7}};
  });
  EXPECT_FALSE(out.parked);
  EXPECT_EQ(out.body["value"], 7);
  EXPECT_NE(ran, std::this_thread::get_id());
  EXPECT_TRUE(sessionHeld);
  EXPECT_EQ(FormThread::Current(), nullptr);

  // The same thread serves the next operation; a failure comes back to the caller.
  std::thread::id again;
  window.Run([&] {
    again = std::this_thread::get_id();
    return Json();
  });
  EXPECT_EQ(again, ran);
  EXPECT_THROW(window.Run([]() -> Json { throw std::runtime_error("broken"); }),
               std::runtime_error);
  EXPECT_FALSE(window.Run([] { return Json(1); }).parked);
}

TEST(FormThreadTest, DialogsParkTheThreadUntilAnswered) {
  std::mutex session;
  FormThread window(session);
  std::vector<Json> answers;
  Outcome out = window.Run([&] {
    EXPECT_EQ(FormThread::Current(), &window);
    answers.push_back(window.Park(Json{{"text", "first"}}));
    answers.push_back(window.Park(Json{{"text", "second"}}));
    return Json{{"done", true}};
  });
  ASSERT_TRUE(out.parked);
  EXPECT_EQ(out.body["text"], "first");
  EXPECT_EQ(window.PendingDialog()["text"], "first");
  // Parked: the session is free for the other windows, and this window takes no new work.
  EXPECT_TRUE(session.try_lock());
  session.unlock();
  EXPECT_THROW(window.Run([] { return Json(); }), FormThread::Busy);

  out = window.Answer(Json{{"result", 6}});
  ASSERT_TRUE(out.parked);
  EXPECT_EQ(out.body["text"], "second");
  out = window.Answer(Json{{"result", 7}});
  EXPECT_FALSE(out.parked);
  EXPECT_EQ(out.body["done"], true);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0]["result"], 6);
  EXPECT_EQ(answers[1]["result"], 7);
  EXPECT_TRUE(window.PendingDialog().is_null());
  EXPECT_THROW(window.Answer(Json{}), FormThread::Busy);
}

TEST(FormThreadTest, AnotherWindowOfTheSessionRunsWhileOneWaits) {
  std::mutex session;
  FormThread waiting(session), other(session);
  ASSERT_TRUE(waiting.Run([&] { return waiting.Park(Json{{"text", "?"}}); }).parked);
  // With the session held by the parked window this would never return.
  EXPECT_EQ(other.Run([] { return Json("free"); }).body, "free");
  // The answered window takes the session back before it goes on.
  Outcome out = waiting.Answer(Json{{"result", 1}});
  EXPECT_EQ(out.body["result"], 1);
}

TEST(FormThreadTest, InspectReadsTheWindowBetweenOperations) {
  std::mutex session;
  FormThread window(session);
  Json seen = window.Inspect([&](const Json& pending) {
    EXPECT_FALSE(session.try_lock());
    return pending;
  });
  EXPECT_TRUE(seen.is_null());
  window.Run([&] { return window.Park(Json{{"text", "wait"}}); });
  seen = window.Inspect([](const Json& pending) { return pending; });
  EXPECT_EQ(seen["text"], "wait");
  window.Answer(Json{});
}

TEST(FormThreadTest, ClosingAnswersThePendingDialogAndEveryLaterOne) {
  std::mutex session;
  auto window = std::make_unique<FormThread>(session);
  std::vector<Json> answers;
  std::thread::id ran, released;
  window->Run([&] {
    ran = std::this_thread::get_id();
    answers.push_back(window->Park(Json{{"text", "save first?"}}));
    answers.push_back(window->Park(Json{{"text", "really?"}}));
    return Json();
  });
  window->Stop([&] { released = std::this_thread::get_id(); });
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_TRUE(answers[0].is_null());
  EXPECT_TRUE(answers[1].is_null());
  EXPECT_EQ(released, ran);  // the window's last work runs on its own thread
  EXPECT_TRUE(window->stopping());
  EXPECT_THROW(window->Run([] { return Json(); }), FormThread::Busy);
  window->Stop();  // twice is harmless
  window.reset();
}

TEST(FormThreadTest, CallsOfOneWindowAreSerialised) {
  std::mutex session;
  FormThread window(session);
  std::atomic<int> inside{0}, most{0};
  auto call = [&] {
    for (int i = 0; i < 50; ++i)
      window.Run([&] {
        most = std::max(most.load(), ++inside);
        std::this_thread::yield();
        --inside;
        return Json();
      });
  };
  auto a = std::async(std::launch::async, call), b = std::async(std::launch::async, call);
  a.get();
  b.get();
  EXPECT_EQ(most, 1);
}

}  // namespace
}  // namespace zov::web
