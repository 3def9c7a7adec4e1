#include "web/api.h"

#include <algorithm>
#include <sstream>

#include "tools/json_answers.h"

namespace orva::web {

namespace {

namespace query = orva::query;
using tool::JsonWriter;

// A request refused before the library is asked.
struct Refused {
  int status;
  std::string message;
};

// The parameters of one address, checked against what it takes.
class Request {
 public:
  Request(const Params& params, std::vector<std::string> takes) : m_params(params) {
    for (size_t i = 0; i < params.size(); ++i) {
      const std::string& name = params[i].first;
      if (std::find(takes.begin(), takes.end(), name) == takes.end()) {
        throw Refused{400, "this address takes no parameter \"" + name + "\""};
      }
      for (size_t j = 0; j < i; ++j) {
        if (params[j].first == name) throw Refused{400, "the parameter \"" + name + "\" is given twice"};
      }
      if (params[i].second.size() > kMaxValueBytes) {
        throw Refused{400, "the parameter \"" + name + "\" is longer than " + std::to_string(kMaxValueBytes) + " bytes"};
      }
    }
  }

  // The value of `name`; empty when it is not given (a Refused when `required`).
  std::string Text(const std::string& name, bool required = false) const {
    for (const auto& [key, value] : m_params) {
      if (key == name) {
        if (required && value.empty()) throw Refused{400, "the parameter \"" + name + "\" is empty"};
        return value;
      }
    }
    if (required) throw Refused{400, "this address needs the parameter \"" + name + "\""};
    return std::string();
  }

  // A whole number from `least` to `most`; `otherwise` when not given.
  size_t Number(const std::string& name, size_t otherwise, size_t least, size_t most) const {
    const std::string text = Text(name);
    if (text.empty()) return otherwise;
    size_t value = 0;
    bool digits = text.size() <= 9;
    for (char c : text) {
      digits = digits && c >= '0' && c <= '9';
      if (digits) value = value * 10 + static_cast<size_t>(c - '0');
    }
    if (!digits || value < least || value > most) {
      throw Refused{400, "\"" + name + "\" must be a number from " + std::to_string(least) + " to " +
                             std::to_string(most)};
    }
    return value;
  }

  bool Flag(const std::string& name) const {
    const std::string text = Text(name);
    if (text.empty() || text == "0") return false;
    if (text == "1") return true;
    throw Refused{400, "\"" + name + "\" must be 0 or 1"};
  }

 private:
  const Params& m_params;
};

std::vector<std::string> Split(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> items;
  for (std::string item; in >> item;) items.push_back(item);
  return items;
}

}  // namespace

std::string ErrorJson(const std::string& message) {
  JsonWriter out;
  return out.BeginObject().Member("error", message).EndObject().Text();
}

bool IsCleanText(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    size_t length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3 : (byte >> 3) == 30 ? 4 : 0;
    if (length == 0 || text.size() - i < length) return false;
    unsigned code = length == 1 ? byte : byte & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    // No overlong forms, surrogates or code points past U+10FFFF.
    const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

ApiReply Api::Answer(const std::string& name, const Params& params) {
  try {
    JsonWriter out;
    // The book named by `book`, or null for the whole library.
    const auto book = [&](const Request& request) -> query::Book* {
      const std::string named = request.Text("book");
      if (named.empty()) return nullptr;
      query::Book* found = m_library.Named(named);
      if (!found) throw Refused{404, "the library has no book \"" + named + "\""};
      return found;
    };
    if (name == "info") {
      Request request(params, {});
      AppendLibraryInfo(out, m_dir, m_library.Info());
    } else if (name == "toc") {
      Request request(params, {"book", "path"});
      if (query::Book* one = book(request)) {
        AppendToc(out, one->Contents(request.Text("path")));
      } else {
        auto answers = m_library.Contents(request.Text("path"));
        AppendEach(out, m_dir, answers, [](JsonWriter& json, auto& answer) { AppendToc(json, answer.answer); });
      }
    } else if (name == "read") {
      Request request(params, {"book", "ref", "strongs"});
      const std::string reference = request.Text("ref", true);
      const bool strongs = request.Flag("strongs");
      if (query::Book* one = book(request)) {
        AppendReading(out, one->Read(reference, strongs, kMaxReadVerses));
      } else {
        AppendParallel(out, m_library.Read(reference, strongs, kMaxReadVerses), strongs);
      }
    } else if (name == "find") {
      Request request(params, {"book", "q", "strongs", "mode", "offset", "limit"});
      query::SearchQuery search;
      search.words = Split(request.Text("q"));
      search.strongs = Split(request.Text("strongs"));
      const std::string mode = request.Text("mode");
      if (mode != "" && mode != "all" && mode != "phrase" && mode != "prefix") {
        throw Refused{400, "\"mode\" must be all, phrase or prefix"};
      }
      search.options.phrase = mode == "phrase";
      search.options.prefix = mode == "prefix";
      if (search.words.empty() && search.strongs.empty()) throw Refused{400, "find needs \"q\" or \"strongs\""};
      if (search.words.size() + search.strongs.size() > kMaxTerms) {
        throw Refused{400, "a search takes at most " + std::to_string(kMaxTerms) + " words and numbers"};
      }
      const size_t offset = request.Number("offset", 0, 0, kMaxOffset);
      const size_t limit = request.Number("limit", 50, 1, kMaxHits);
      if (query::Book* one = book(request)) {
        query::BookSearch found = one->Find(search);
        AppendSearch(out, found, offset, limit);
      } else {
        auto answers = m_library.Find(search);
        AppendEach(out, m_dir, answers,
                   [&](JsonWriter& json, auto& answer) { AppendSearch(json, answer.answer, offset, limit); });
      }
    } else if (name == "words") {
      Request request(params, {"book", "prefix", "limit"});
      const int limit = static_cast<int>(request.Number("limit", 100, 1, kMaxWords));
      if (query::Book* one = book(request)) {
        AppendWords(out, one->Words(request.Text("prefix"), limit));
      } else {
        auto answers = m_library.Words(request.Text("prefix"), limit);
        AppendEach(out, m_dir, answers, [](JsonWriter& json, auto& answer) { AppendWords(json, answer.answer); });
      }
    } else if (name == "verse" || name == "sync") {
      const bool verse = name == "verse";
      Request request(params, {"book", verse ? "ref" : "key"});
      const std::string key = request.Text(verse ? "ref" : "key", true);
      if (query::Book* one = book(request)) {
        AppendEntry(out, verse ? one->Verse(key) : one->Sync(key));
      } else {
        auto answers = verse ? m_library.Verse(key) : m_library.Sync(key);
        AppendEach(out, m_dir, answers, [](JsonWriter& json, auto& answer) { AppendEntry(json, answer.answer); });
      }
    } else if (name == "strongs") {
      Request request(params, {"number", "limit"});
      const size_t limit = request.Number("limit", 3, 1, kMaxStrongsVerses);
      AppendStrongs(out, m_library.Strongs(request.Text("number", true), limit));
    } else if (name == "topic") {
      Request request(params, {"topic", "limit"});
      const std::string topic = request.Text("topic", true);
      AppendTopics(out, topic, m_library.Topic(topic, request.Number("limit", 20, 1, kMaxTopicVerses)));
    } else {
      return {404, ErrorJson("there is no address /api/" + name)};
    }
    return {200, out.Text()};
  } catch (const Refused& refused) {
    return {refused.status, ErrorJson(refused.message)};
  } catch (const query::BookError& e) {
    return {404, ErrorJson(e.what())};
  }
}

}  // namespace orva::web
