// The web reader's server (web/server.h) on a small library built in code,
// asked over HTTP on a free loopback port: its API answers as `orva --json`
// does, refuses bad requests with a JSON message and goes on answering, and
// answers threads at once as it answers one.
#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

#include "tests/e2e/run_orva.h"
#include "tests/small_library.h"
#include "web/answer_cache.h"
#include "web/server.h"

namespace {

using orva::e2e::RunOrva;

class Serve : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new orva::writer::TempBookDir;
    s_folder = new std::string(orva::test::WriteSmallLibrary(*s_dir));
    s_library = new orva::query::Library(*s_folder);
  }
  static void TearDownTestSuite() {
    delete s_library;
    delete s_folder;
    delete s_dir;
  }

  // Serves the library on a free port until the test ends.
  void Start(std::size_t cacheBytes) {
    orva::web::ServeOptions options;
    options.port = 0;
    options.threads = 4;
    options.cacheBytes = cacheBytes;
    m_server = std::make_unique<orva::web::ReaderServer>(*s_library, *s_folder, options);
    m_port = m_server->Bind();
    ASSERT_GT(m_port, 0);
    m_thread = std::thread([this] { m_server->Run(); });
  }
  void TearDown() override {
    if (!m_server) return;
    m_server->Stop();
    m_thread.join();
  }

  httplib::Result Get(const std::string& target) {
    httplib::Client client("127.0.0.1", m_port);
    client.set_url_encode(false);  // the targets below are sent as written
    return client.Get(target.c_str());
  }
  std::string Orva(const std::vector<std::string>& args) {
    return RunOrva(args, s_dir->FilePath("orva.err")).out;
  }

  static orva::writer::TempBookDir* s_dir;
  static std::string* s_folder;
  static orva::query::Library* s_library;
  std::unique_ptr<orva::web::ReaderServer> m_server;
  std::thread m_thread;
  int m_port = -1;
};

orva::writer::TempBookDir* Serve::s_dir = nullptr;
std::string* Serve::s_folder = nullptr;
orva::query::Library* Serve::s_library = nullptr;

// Each address against the orva command line that asks the same.
TEST_F(Serve, ApiAnswersAsOrvaJsonDoes) {
  Start(1 << 20);
  const std::string lib = *s_folder;
  const std::vector<std::pair<std::string, std::vector<std::string>>> questions = {
      {"/api/info", {"--json", "info", lib}},
      {"/api/toc?path=John", {"--json", "toc", lib, "John"}},
      {"/api/read?ref=John+3:16%3B+Ps+23:1", {"--json", "read", lib, "John 3:16; Ps 23:1"}},
      {"/api/read?ref=John+3:16&strongs=1&book=es", {"--json", "read", lib + "/es", "John 3:16", "--strongs"}},
      {"/api/find?q=so+loved&mode=phrase", {"--json", "find", lib, "so", "loved", "--phrase", "--limit", "50"}},
      {"/api/find?strongs=G25&book=es&offset=1&limit=1",
       {"--json", "find", lib + "/es", "--strongs", "G25", "--offset", "1", "--limit", "1"}},
      {"/api/find?q=lov&mode=prefix&book=lexicon", {"--json", "find", lib + "/lexicon", "lov", "--prefix", "--limit", "50"}},
      {"/api/words?prefix=lo", {"--json", "words", lib, "lo", "--limit", "100"}},
      {"/api/verse?ref=43,3,16", {"--json", "verse", lib, "43,3,16"}},
      {"/api/sync?key=12-25", {"--json", "sync", lib, "12-25"}},
      {"/api/sync?key=G25&book=lexicon", {"--json", "sync", lib + "/lexicon", "G25"}},
      {"/api/strongs?number=G25&limit=1", {"--json", "strongs", lib, "G25", "--limit", "1"}},
      {"/api/topic?topic=faith&limit=1", {"--json", "topic", lib, "faith", "--limit", "1"}},
  };
  for (const auto& [target, args] : questions) {
    const httplib::Result answer = Get(target);
    ASSERT_TRUE(answer) << target;
    EXPECT_EQ(answer->status, 200) << target << ": " << answer->body;
    EXPECT_EQ(answer->get_header_value("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(answer->body, Orva(args)) << target;
  }
  const httplib::Result page = Get("/?read=John+3");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("<script src=\"/reader.js\""), std::string::npos);
  EXPECT_NE(page->get_header_value("Content-Security-Policy").find("script-src 'self'"), std::string::npos);
}

// Each bad request answered 4xx with {"error": ...}; the server answers on.
TEST_F(Serve, RefusesBadRequestsAndAnswersOn) {
  Start(1 << 20);
  const std::string longWords = "/api/find?q=" + std::string(300, 'a');
  const std::vector<std::tuple<std::string, int, std::string>> bad = {
      {"/api/read?ref=John+3:16&book=nobook", 404, "the library has no book \\\"nobook\\\""},
      {"/api/read?ref=Exodus+1", 404, "no book is called \\\"Exodus\\\""},
      {"/api/read?ref=John+3:99", 404, "no verse 99"},
      {longWords, 400, "longer than 256 bytes"},
      {"/api/find?q=a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q", 400, "at most 16 words"},
      {"/api/../etc/passwd", 400, "the path holds \\\"..\\\""},
      {"/%2e%2e/%2e%2e/etc/passwd", 400, "the path holds \\\"..\\\""},
      {"/api/read?ref=John%003:16", 400, "control character"},
      {"/api/read%00?ref=John", 400, "control character"},
      {"/api/read?ref=%FF%FE", 400, "no UTF-8"},
      {"/api/find?q=the&limit=100000000000", 400, "\\\"limit\\\" must be a number from 1 to 200"},
      {"/api/find?q=the&limit=-1", 400, "\\\"limit\\\" must be a number"},
      {"/api/find?q=the&offset=99999999", 400, "\\\"offset\\\" must be a number"},
      {"/api/words?limit=1001", 400, "from 1 to 1000"},
      {"/api/find?q=the&mode=fuzzy", 400, "\\\"mode\\\" must be"},
      {"/api/find", 400, "find needs"},
      {"/api/read?ref=John&ref=Jude", 400, "given twice"},
      {"/api/read?ref=John&callback=x", 400, "no parameter \\\"callback\\\""},
      {"/api/read", 400, "needs the parameter \\\"ref\\\""},
      {"/api/strongs?number=X1", 404, "X1"},
      {"/api/nothing", 404, "there is no address /api/nothing"},
      {"/etc/passwd", 404, "there is no page /etc/passwd"},
  };
  for (const auto& [target, status, message] : bad) {
    const httplib::Result answer = Get(target);
    ASSERT_TRUE(answer) << target;
    EXPECT_EQ(answer->status, status) << target << ": " << answer->body;
    EXPECT_EQ(answer->body.rfind("{\"error\":\"", 0), 0u) << target << ": " << answer->body;
    EXPECT_NE(answer->body.find(message), std::string::npos) << target << ": " << answer->body;
  }
  httplib::Client client("127.0.0.1", m_port);
  const httplib::Result post = client.Post("/api/read?ref=John", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  const httplib::Result good = Get("/api/read?ref=John+3:16");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->status, 200);
}

// Threads asking at once, without the cache (every question goes to the
// library), each get the answer one thread gets.
TEST_F(Serve, ThreadsAskAtOnce) {
  Start(0);
  const std::vector<std::string> targets = {"/api/read?ref=John+3:16", "/api/find?strongs=G25",
                                            "/api/strongs?number=G25", "/api/read?ref=Ps+23:1&book=es"};
  std::vector<std::string> expected;
  for (const std::string& target : targets) expected.push_back(Get(target)->body);
  std::vector<int> right(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      httplib::Client client("127.0.0.1", m_port);
      client.set_url_encode(false);
      for (int i = 0; i < 50; ++i) {
        const size_t which = static_cast<size_t>(t + i) % targets.size();
        const httplib::Result answer = client.Get(targets[which].c_str());
        right[t] += answer && answer->status == 200 && answer->body == expected[which];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(right, std::vector<int>(4, 50));
}

// The cache keeps answers within its bound, dropping the least recently used.
TEST(AnswerCache, StaysInItsBound) {
  orva::web::AnswerCache cache(16 * 100);
  const auto answer = [](char c) {
    return std::make_shared<const orva::web::AnswerCache::Answer>(orva::web::AnswerCache::Answer{200, std::string(30, c)});
  };
  for (char c = 'a'; c <= 'z'; ++c) {
    cache.Keep(std::string(1, c), answer(c));
    ASSERT_TRUE(cache.Find("a")) << c;  // used each time: kept
  }
  EXPECT_LE(cache.Bytes(), 1600u);
  EXPECT_FALSE(cache.Find("b"));
  EXPECT_EQ(cache.Find("z")->body, std::string(30, 'z'));
  cache.Keep("huge", std::make_shared<const orva::web::AnswerCache::Answer>(
                         orva::web::AnswerCache::Answer{200, std::string(200, 'h')}));
  EXPECT_FALSE(cache.Find("huge"));  // more than a sixteenth of the bound
}

}  // namespace
