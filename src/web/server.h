// The HTTP face of the browser host: the front end's files and the JSON API.
//
//   POST /api/login {user, password}     logs in; the session cookie
//   POST /api/logout                     ends the session and its windows
//   GET  /api/me                         the logged-in user (401 when none)
//   GET  /api/bills                      the bill classes served by the plug-ins
//   POST /api/windows {kind, classTypeId, billId}   opens a bill form ("bill") or list ("list")
//   GET  /api/windows/ID                 the window in full, with its pending dialog
//   POST /api/windows/ID/op {op, ...}    an operation: edit, addRow, deleteRow, enterRow, tool,
//                                        pick (bill forms); tool, refresh, openBill (lists)
//   POST /api/windows/ID/answer {...}    answers the pending dialog
//   POST /api/windows/ID/close           closes the window
//   GET  /api/journal                    what failed in the session (where, not the details)
//
// Every request is answered: one that does not fit gets 400 with its reason, a state-changing
// one from another origin or without a JSON body 403, one naming another host 403. The details
// of a failure stay on the server (its journal and its log).
#pragma once

#include <memory>
#include <string>

#include "web_session.h"

namespace httplib {
class Server;
}

namespace zov::web {

class WebServer {
 public:
  explicit WebServer(ServerSetup setup);
  ~WebServer();

  // Binds 127.0.0.1:`port` (0: a free port); returns the port, or -1.
  int Bind(int port);
  // Serves until Stop.
  void Listen();
  // Stops serving (from any thread); the sessions end and their windows close.
  void Stop();
  void CloseSessions() { sessions_.Clear(); }
  SessionStore& sessions() { return sessions_; }

  // Why a request is refused before it is routed ("" when it is not): a Host header other than
  // the served address, or a state-changing request from another origin or without JSON.
  std::string Refusal(const std::string& method, const std::string& host, const std::string& origin,
                      const std::string& contentType) const;

 private:
  void Routes();

  SessionStore sessions_;
  std::unique_ptr<sim::SqlConnection> directory_;  // the server's own reads (users, bill classes)
  std::mutex directoryMutex_;
  std::unique_ptr<httplib::Server> http_;
  int port_ = -1;
};

}  // namespace zov::web
