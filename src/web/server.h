// The HTTP face of the browser host: the front end's files and the JSON API.
//
//   GET  /api/users                      the users who may log in
//   POST /api/login {user}               logs in; the session cookie
//   POST /api/logout                     ends the session and its windows
//   GET  /api/me                         the logged-in user (401 when none)
//   GET  /api/bills                      the bill classes served by the plug-ins
//   POST /api/windows {kind, classTypeId, billId}   opens a bill form ("bill") or list ("list")
//   GET  /api/windows/ID                 the window in full, with its pending dialog
//   POST /api/windows/ID/op {op, ...}    an operation: edit, addRow, deleteRow, enterRow, tool,
//                                        pick (bill forms); tool, refresh, openBill (lists)
//   POST /api/windows/ID/answer {...}    answers the pending dialog
//   POST /api/windows/ID/close           closes the window
//   GET  /api/journal                    the session's journal
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

 private:
  void Routes();

  SessionStore sessions_;
  std::unique_ptr<sim::SqlConnection> directory_;  // the server's own reads (users, bill classes)
  std::mutex directoryMutex_;
  std::unique_ptr<httplib::Server> http_;
};

}  // namespace zov::web
