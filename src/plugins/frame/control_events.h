// Controls a plug-in class binds for their events (a VB "WithEvents" control variable): the
// class names one of its members as the handler of the control's events, and binding a control
// connects it; binding another control, resetting the binding or ending the class disconnects
// it. The sink refers to its class weakly and keeps it alive for the duration of each event.
#pragma once

#include <string_view>
#include <vector>

#include "zov/host/controls.h"

namespace zov::plugins {

template <class Owner>
class BoundControl {
 public:
  // The member that receives the control's events: the event's name ("Click", "Paint",
  // "KeyPress") and its parameters, which it may change.
  using Handler = void (Owner::*)(std::string_view event, std::vector<vb::Variant>& params);

  BoundControl() = default;
  BoundControl(const BoundControl&) = delete;
  BoundControl& operator=(const BoundControl&) = delete;
  ~BoundControl() { Reset(); }

  // Connects `control` to `owner`'s `handler`, disconnecting the control bound before.
  void Bind(Owner* owner, Handler handler, const vb::Ref<host::IControl>& control) {
    Reset();
    if (!control) return;
    sink_ = vb::Ref<Sink>::Adopt(new Sink(owner, handler));
    cookie_ = control->Advise(sink_);
    control_ = control;
  }

  void Reset() {
    if (!control_) return;
    sink_->Detach();
    control_->Unadvise(cookie_);
    control_.reset();
    sink_.reset();
  }

  explicit operator bool() const { return static_cast<bool>(control_); }
  host::IControl* operator->() const { return control_.get(); }
  const vb::Ref<host::IControl>& get() const { return control_; }

 private:
  class Sink final : public vb::Implements<host::IControlEvents> {
   public:
    Sink(Owner* owner, Handler handler) : owner_(owner), handler_(handler) {}
    std::string TypeName() const override { return "ControlEventSink"; }
    void Detach() { owner_ = nullptr; }
    void OnEvent(const vb::Ref<host::IControl>&, std::string_view event,
                 std::vector<vb::Variant>& params) override {
      if (!owner_) return;
      vb::Ref<Owner> keep(owner_);
      (keep.get()->*handler_)(event, params);
    }

   private:
    Owner* owner_;
    Handler handler_;
  };

  vb::Ref<host::IControl> control_;
  vb::Ref<Sink> sink_;
  long cookie_ = 0;
};

}  // namespace zov::plugins
