// The web reader's JSON API: each address under /api/ asks the library one
// question, the one an orva subcommand asks, and answers with the JSON that
// `orva --json` prints for it (tools/json_answers.h): /api/read?ref=John+3:16 is
// `orva --json read LIB "John 3:16"`, and with book=kjv `orva --json read
// LIB/kjv "John 3:16"`. What each address takes is in the README.
//
// Every parameter is bounded (below), and a request outside the bounds, with a
// parameter the address does not take, or with a value that is no UTF-8 or
// holds a control character, is refused before the library is asked: each
// question then costs at most about a chapter's reading or a page of hits.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "query/library.h"

namespace orva::web {

// Bounds of a request.
constexpr std::size_t kMaxValueBytes = 256;    // any parameter's value
constexpr std::size_t kMaxTerms = 16;          // words plus Strong's numbers of a search
constexpr std::size_t kMaxHits = 200;          // find: limit (default 50)
constexpr std::size_t kMaxOffset = 1000000;    // find: offset
constexpr std::size_t kMaxWords = 1000;        // words: limit (default 100)
constexpr std::size_t kMaxStrongsVerses = 100; // strongs: limit (default 3)
constexpr std::size_t kMaxTopicVerses = 100;   // topic: limit (default 20)
constexpr std::size_t kMaxReadVerses = 500;    // read: verses named by one reference

// An answer: the HTTP status and the JSON body (with a line end). A refused
// request or a question the library cannot answer has {"error": MESSAGE}: 400
// for a request outside the bounds, 404 for an address, book, reference or key
// that is not there.
struct ApiReply {
  int status = 200;
  std::string body;
};

// The parameters of a request, decoded, in order.
using Params = std::vector<std::pair<std::string, std::string>>;

class Api {
 public:
  // `dir` is the library's folder as named when the server started (the
  // "library" member of the answers). The library must outlive the Api.
  Api(query::Library& library, std::string dir) : m_library(library), m_dir(std::move(dir)) {}

  // The answer to `GET /api/NAME?PARAMS` (`name` without "/api/"). Safe from
  // several threads at once: the library's questions hold its lock. Raises only
  // what running out of memory raises.
  ApiReply Answer(const std::string& name, const Params& params);

 private:
  query::Library& m_library;
  const std::string m_dir;
};

// {"error": MESSAGE} with a line end.
std::string ErrorJson(const std::string& message);

// Whether `text` is UTF-8 without control characters (a value the API takes).
bool IsCleanText(const std::string& text);

}  // namespace orva::web
