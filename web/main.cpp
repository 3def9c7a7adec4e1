// orva-serve LIB [--port 8080] [--bind 127.0.0.1] [--threads 32]: the web reader
// over a library (web/server.h), what `orva serve` runs. Prints the address it
// serves on a line of its own, then serves until it is stopped (Ctrl-C).
#include <CLI/CLI.hpp>

#include <cstdio>

#include "orvada.h"
#include "web/server.h"

namespace {

int Silent(const char*, UINT, UINT) { return IDOK; }

}  // namespace

int main(int argc, char** argv) {
  AfxSetMessageBoxHandler(Silent);  // identity and version faults come back as errors
  CLI::App app("orva serve: a web reader over a library: its page and JSON API over HTTP", "orva serve");
  std::string dir;
  orva::web::ServeOptions options;
  app.add_option("LIB", dir, "the library (or book) folder")->required();
  app.add_option("--port", options.port, "the port (0: any free one)")->capture_default_str()->check(CLI::Range(0, 65535));
  app.add_option("--bind", options.bind, "the address to listen on (0.0.0.0: every interface)")->capture_default_str();
  app.add_option("--threads", options.threads, "worker threads: connections served at once")
      ->capture_default_str()
      ->check(CLI::Range(1, 1024));
  std::size_t cacheMegabytes = options.cacheBytes >> 20;
  app.add_option("--cache-mb", cacheMegabytes, "megabytes of answers kept for requests that ask the same (0: none)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65536));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;  // a usage error, as orva's
  }
  options.cacheBytes = cacheMegabytes << 20;
  try {
    orva::query::Library library(dir);
    library.Info();  // each book's files read now, not at the first request
    orva::web::ReaderServer server(library, dir, options);
    const int port = server.Bind();
    if (port < 0) {
      std::fprintf(stderr, "orva: cannot listen on %s port %d (in use, or not an address of this machine)\n",
                   options.bind.c_str(), options.port);
      return 1;
    }
    std::printf("serving %s (%zu books) on http://%s:%d/ (Ctrl-C stops)\n", dir.c_str(), library.Size(),
                options.bind.c_str(), port);
    std::fflush(stdout);
    return server.Run() ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orva: %s\n", e.what());
    return 1;
  }
}
