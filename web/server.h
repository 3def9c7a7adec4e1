// The web reader's HTTP server: the page (web/assets.h) at / and the JSON API
// (web/api.h) under /api/, over one Library opened for the server's life.
//
// Threads: a pool of worker threads serves the connections (a connection keeps
// its worker while it is open, up to the keep-alive bounds below); every
// question to the library holds orva::query::LibraryMutex() for its length, as
// the Library's questions do, so questions run one at a time and everything else
// (parsing, writing JSON, sending) runs in parallel. A question is bounded (a
// few hundred verses, a page of hits), so none holds the others up for long.
// Answers are kept (ServeOptions::cacheBytes): a request asked before is
// answered without the library, and without its lock.
//
// Requests: GET and HEAD only (405 otherwise). A path or parameter that is no
// UTF-8, holds a control character (a percent-encoded NUL), or a path that holds
// "..", is answered 400; an address that is neither the page's nor the API's 404;
// every error has a JSON body {"error": MESSAGE}. Nothing is read from the file
// system but the library.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "query/library.h"

namespace orva::web {

struct ServeOptions {
  std::string bind = "127.0.0.1";  // loopback unless asked otherwise
  int port = 8080;                 // 0: any free port
  std::size_t threads = 32;        // workers: connections served at once
  // The API's answers kept for requests that ask the same (web/answer_cache.h),
  // in bytes; 0 keeps none.
  std::size_t cacheBytes = 64u << 20;
};

class ReaderServer {
 public:
  // `dir` is the library's folder as named (answers give it as "library"). The
  // library must outlive the server.
  ReaderServer(query::Library& library, const std::string& dir, const ServeOptions& options);
  ~ReaderServer();
  ReaderServer(const ReaderServer&) = delete;
  ReaderServer& operator=(const ReaderServer&) = delete;

  // Binds the address: the port bound (the one chosen when the options say 0),
  // or -1 when it cannot be bound.
  int Bind();
  // Serves until Stop() (from another thread); false when it could not serve.
  bool Run();
  void Stop();

 private:
  class Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace orva::web
