// Raising the plug-in's events: each handler runs under the host's guard, which journals an
// exception and turns it into a failed event.
#pragma once

#include <exception>
#include <string>

#include "bill/bill_form.h"
#include "zov/vb/error.h"

namespace zov::sim {

template <class Call>
bool BillForm::Raise(host::BillEvent event, Call&& call) {
  bool ok = true;
  auto sinks = sinks_;  // a handler may disconnect a sink
  for (auto& [cookie, sink] : sinks) {
    if (!sink->ConnectedEvents().test(static_cast<std::size_t>(event))) continue;
    try {
      call(*sink);
    } catch (const vb::Error& e) {
      ok = false;
      services_.JournalException(
          std::string("BillEvent.") + host::BillEventName(event),
          "error " + std::to_string(e.number()) + ": " + e.description() +
              (e.source().empty() ? std::string() : " (" + e.source() + ")"));
    } catch (const std::exception& e) {
      ok = false;
      services_.JournalException(std::string("BillEvent.") + host::BillEventName(event), e.what());
    }
  }
  return ok;
}

}  // namespace zov::sim
