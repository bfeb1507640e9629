// The windows a person opens in the browser host: bill forms and bill lists. Each runs its
// events on a thread of its own (FormThread); every call from the browser becomes an operation
// on that thread and comes back as an outcome:
//
//   {"result": {...}, "view": {...}}            the operation ended
//   {"dialog": {...}, "view": {...}}            the operation waits for the person's answer
//
// plus "notices" (pop-up tips shown meanwhile) and "journal" (the session's failures). A request
// that does not fit the window (an unknown field, a value of the wrong kind) ends with
// "badRequest": true and the error in the result; the window goes on as it was.
//
// What the person may not see (Withheld: values guarded by a right the user does not hold) is
// read afresh at every operation and left out of everything the window sends.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "form_thread.h"
#include "session/session.h"
#include "session/withheld.h"
#include "views.h"

namespace zov::web {

class WebSession;

// What a list asks the browser host to open once its operation has ended.
struct OpenRequest {
  long classTypeId = 0;
  long billId = 0;              // a stored bill; 0 a new one
  bool edit = false;            // the stored bill opens for editing
  Ref<host::IDictionary> copy;  // the bill data of a copy, when one was made
  long billType = 0;            // the kind of the list it came from: previous/next keep to it
};

class Window {
 public:
  Window(int id, WebSession& owner);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  int id() const { return id_; }
  virtual const char* kind() const = 0;

  // Runs a request of the browser ({"op": ...}) on the window's thread; the outcome.
  Json Perform(const Json& request);
  // Answers the pending dialog; the outcome.
  Json Answer(const Json& answer);
  // The window as it stands, in full, with the pending dialog.
  Json Current();
  // Closes the window: a pending dialog takes its default answer and the plug-in is released.
  void Close();
  // When a request of the browser last reached the window.
  std::chrono::steady_clock::time_point lastUsed() const { return lastUsed_.load(); }
  // What the last operation asked to open (lists only).
  std::optional<OpenRequest> TakeOpenRequest();
  // How far the running operation got, from any thread: {"what", "done", "total"}, or null
  // when it told nothing (yet).
  Json Progress() const;

  // --- on the window's own thread (the host's user interface) ---
  // The window whose thread the caller runs on, or nullptr.
  static Window* Active();
  // Shows `dialog` and waits for the person's answer; null when the window is closing.
  Json Ask(Json dialog);
  // A notice that needs no answer (a pop-up tip).
  void Notice(Json notice) { notices_.push_back(std::move(notice)); }
  // What the person may not see, as read at the start of the running operation.
  const sim::Withheld& withheld() const { return withheld_; }

 protected:
  // The browser's request, on the window's thread; returns the result.
  virtual Json Operate(const Json& request) = 0;
  // The view, on the window's thread (or while it is parked); `full` resets what was sent.
  virtual Json Render(bool full) = 0;
  // Releases the plug-in and the host window, on the window's thread.
  virtual void Release() = 0;

  // The running operation's progress (see Progress).
  void SetProgress(std::string_view what, long done, long total);

  WebSession& owner_;
  std::optional<OpenRequest> openRequest_;
  sim::Withheld withheld_;  // everything, until the rights were read

 private:
  Json Complete(FormThread::Outcome outcome);
  void Touch() { lastUsed_.store(std::chrono::steady_clock::now()); }

  std::atomic<std::chrono::steady_clock::time_point> lastUsed_{std::chrono::steady_clock::now()};
  int id_;
  FormThread thread_;
  std::vector<Json> notices_;
  mutable std::mutex progressMutex_;
  std::string progressWhat_;
  long progressDone_ = 0, progressTotal_ = 0;
};

class BillWindow final : public Window {
 public:
  using Window::Window;
  ~BillWindow() override { Close(); }
  const char* kind() const override { return "bill"; }
  // Opens the form: the stored bill `billId` (for editing when `edit`), a new bill of copied
  // bill data `copy`, or a new bill. The outcome carries the view unless `view` is false (the
  // browser asks for the window afresh once it shows it).
  Json Open(long classTypeId, long billId, Ref<host::IDictionary> copy, bool edit = false,
            bool view = true, long billType = 0);

 protected:
  Json Operate(const Json& request) override;
  Json Render(bool full) override;
  void Release() override;

 private:
  Json Pick(const Json& request);
  // The pick list of a header box that offers records: rows {"id": "KIND:ID", "number", "name"}.
  Json PickRecord(const Json& request, const sim::FieldDef& field);
  Json EditOp(const Json& request);
  Json PasteOp(const Json& request);
  // A value the person typed into `field`, checked as the browser may send anything.
  vb::Variant Typed(const sim::FieldDef& field, const Json& value) const;
  const sim::FieldDef& VisibleField(const std::string& key) const;
  // The row a request names for `field` (-1 for a header field); it must exist.
  long RowIn(const Json& request, const sim::FieldDef& field) const;
  int GridIn(const Json& request) const;

  sim::OpenForm open_;
  FormView view_;
  Ref<host::IDictionary> copy_;
};

class ListWindow final : public Window {
 public:
  using Window::Window;
  ~ListWindow() override { Close(); }
  const char* kind() const override { return "list"; }
  // The list of every bill of the class, or (`billType` other than 0) of the bills of that kind.
  Json Open(long classTypeId, long billType = 0);

 protected:
  Json Operate(const Json& request) override;
  Json Render(bool full) override;
  void Release() override;

 private:
  Json Tool(const std::string& key, const std::vector<long>& selected);
  Json Query(const Json& request);
  // The bills as the person reads them, afresh from the list's rows.
  void LoadTexts();
  // The business status of the listed bill `billId` (-1 when it is not listed).
  long StatusOf(long billId) const;

  sim::Session::ListForm open_;
  std::vector<sim::ListColumn> columns_;
  std::vector<sim::ListRow> texts_;
};

}  // namespace zov::web
