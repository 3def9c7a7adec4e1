#include "web/server.h"

#include <httplib.h>

#include "web/answer_cache.h"
#include "web/api.h"
#include "web/assets.h"

namespace orva::web {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

// The page may load only its own scripts and styles, and no one may frame it.
constexpr const char* kPagePolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; connect-src 'self'; "
    "base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

void Reply(httplib::Response& res, int status, const std::string& body) {
  res.status = status;
  res.set_content(body, kJson);
}

// Why the path or parameters are refused, or empty.
std::string Refusal(const httplib::Request& req) {
  if (!IsCleanText(req.path)) return "the path is no UTF-8 text or holds a control character";
  if (req.path.find("..") != std::string::npos) return "the path holds \"..\"";
  for (const auto& [name, value] : req.params) {
    if (!IsCleanText(name) || !IsCleanText(value)) {
      return "a parameter is no UTF-8 text or holds a control character";
    }
  }
  return std::string();
}

}  // namespace

class ReaderServer::Impl {
 public:
  Impl(query::Library& library, const std::string& dir, const ServeOptions& options)
      : m_api(library, dir), m_cache(options.cacheBytes), m_options(options) {
    const std::size_t threads = options.threads > 0 ? options.threads : 1;
    m_http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // A connection keeps its worker while it is open: bounded in requests and in
    // idle time, so that idle clients give the workers back.
    m_http.set_keep_alive_max_count(1000);
    m_http.set_keep_alive_timeout(2);
    m_http.set_read_timeout(5);
    m_http.set_write_timeout(5);
    m_http.set_payload_max_length(8192);
    m_http.set_tcp_nodelay(true);
    m_http.set_default_headers({{"X-Content-Type-Options", "nosniff"}, {"Referrer-Policy", "no-referrer"}});
    m_http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
      Route(req, res);
      return httplib::Server::HandlerResponse::Handled;
    });
    // The server's own refusals (a request line too long, malformed): JSON too.
    m_http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
      if (res.body.empty()) Reply(res, res.status, ErrorJson("the request is malformed (" + std::to_string(res.status) + ")"));
    });
    m_http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
      Reply(res, 500, ErrorJson("the server could not answer"));
    });
  }

  void Route(const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET" && req.method != "HEAD") {
      res.set_header("Allow", "GET, HEAD");
      return Reply(res, 405, ErrorJson("only GET and HEAD are answered"));
    }
    const std::string refused = Refusal(req);
    if (!refused.empty()) return Reply(res, 400, ErrorJson(refused));
    if (req.path.compare(0, 5, "/api/") == 0) {
      // The key: the path and the parameters as they came (in the order httplib
      // keeps them, by name), each item ended by a NUL, which no item holds.
      std::string key = req.path;
      for (const auto& [name, value] : req.params) key.append(1, '\0').append(name).append(1, '\0').append(value);
      std::shared_ptr<const AnswerCache::Answer> answer = m_cache.Find(key);
      if (!answer) {
        ApiReply reply = m_api.Answer(req.path.substr(5), Params(req.params.begin(), req.params.end()));
        answer = std::make_shared<const AnswerCache::Answer>(AnswerCache::Answer{reply.status, std::move(reply.body)});
        m_cache.Keep(key, answer);
      }
      return Reply(res, answer->status, answer->body);
    }
    const Asset* asset = FindAsset(req.path);
    if (!asset) return Reply(res, 404, ErrorJson("there is no page " + req.path));
    res.set_header("Content-Security-Policy", kPagePolicy);
    res.set_header("Cache-Control", "no-cache");
    res.set_content(reinterpret_cast<const char*>(asset->data), asset->size, asset->type);
  }

  httplib::Server m_http;
  Api m_api;
  AnswerCache m_cache;
  ServeOptions m_options;
};

ReaderServer::ReaderServer(query::Library& library, const std::string& dir, const ServeOptions& options)
    : m_impl(std::make_unique<Impl>(library, dir, options)) {}

ReaderServer::~ReaderServer() = default;

int ReaderServer::Bind() {
  const ServeOptions& options = m_impl->m_options;
  if (options.port == 0) return m_impl->m_http.bind_to_any_port(options.bind);
  return m_impl->m_http.bind_to_port(options.bind, options.port) ? options.port : -1;
}

bool ReaderServer::Run() { return m_impl->m_http.listen_after_bind(); }

void ReaderServer::Stop() { m_impl->m_http.stop(); }

}  // namespace orva::web
