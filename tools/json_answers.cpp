#include "tools/json_answers.h"

#include <algorithm>

namespace orva::tool {

namespace {

// Hits are read a page at a time: each page reads each word's lists once.
constexpr size_t kPage = 1024;

void AppendTopic(JsonWriter& out, const query::TopicStudy& study) {
  out.BeginObject().Member("book", study.index->Name()).Key("entry");
  AppendEntry(out, study.entry);
  out.Member("bible", study.bible ? study.bible->Name() : std::string());
  out.Member("verseReferences", static_cast<long long>(study.verseReferences)).Key("read").BeginArray();
  for (const query::TopicStudy::Followed& followed : study.followed) {
    const query::InlineReference& reference = study.entry.shown.references[followed.reference].reference;
    out.BeginObject().Member("shown", reference.shown).Member("key", reference.key);
    if (!followed.error.empty()) out.Member("error", followed.error);
    out.Key("passages").BeginArray();
    for (const query::Passage& passage : followed.passages) AppendPassage(out, passage);
    out.EndArray().EndObject();
  }
  out.EndArray().EndObject();
}

}  // namespace

void AppendPassage(JsonWriter& out, const query::Passage& passage, const std::vector<query::NumberedWord>* words) {
  out.BeginObject().Member("reference", passage.reference).Member("key", passage.key);
  out.Member("text", passage.text);
  if (words) {
    out.Key("words").BeginArray();
    for (const query::NumberedWord& word : *words) {
      out.BeginObject().Member("word", word.word).Key("strongs").BeginArray();
      for (const std::string& number : word.numbers) out.Value(number);
      out.EndArray().EndObject();
    }
    out.EndArray();
  }
  for (const auto& [name, lines] : {std::pair{"above", &passage.above}, std::pair{"below", &passage.below}}) {
    if (lines->empty()) continue;
    out.Key(name).BeginArray();
    for (const std::string& line : *lines) out.Value(line);
    out.EndArray();
  }
  out.EndObject();
}

void AppendEntry(JsonWriter& out, const query::Entry& entry) {
  out.BeginObject().Member("query", entry.query).Member("key", entry.key);
  if (!entry.inBook) {
    out.EndObject();
    return;
  }
  if (!entry.keyed) {
    out.Member("reference", entry.reference).Member("path", entry.path).Key("passages").BeginArray();
    for (const query::Passage& passage : entry.passages) AppendPassage(out, passage);
    out.EndArray().EndObject();
    return;
  }
  out.Member("name", entry.reference).Member("path", entry.path).Key("paragraphs").BeginArray();
  for (const std::string& paragraph : entry.shown.paragraphs) out.Value(paragraph);
  out.EndArray().Key("references").BeginArray();
  for (const query::ShownEntry::Place& place : entry.shown.references) {
    out.BeginObject().Member("type", place.reference.type).Member("key", place.reference.key);
    out.Member("shown", place.reference.shown).Member("paragraph", static_cast<long long>(place.paragraph));
    out.EndObject();
  }
  out.EndArray().EndObject();
}

void AppendToc(JsonWriter& out, const query::Toc& toc) {
  out.BeginObject().Member("section", toc.section).Key("sections").BeginArray();
  for (const query::TocEntry& entry : toc.entries) {
    out.BeginObject().Member("name", entry.name).Member("key", entry.key).Member("sections", entry.below).EndObject();
  }
  out.EndArray().EndObject();
}

void AppendReading(JsonWriter& out, const query::Reading& reading) {
  out.BeginObject().Member("query", reading.query).Key("references").BeginArray();
  for (const query::Reading::Run& run : reading.runs) {
    out.BeginObject().Member("reference", run.span.reference).Member("first", run.span.first);
    out.Member("last", run.span.last).EndObject();
  }
  out.EndArray().Key("passages").BeginArray();
  for (const query::Reading::Run& run : reading.runs) {
    for (const query::Passage& passage : run.passages) {
      const auto words = reading.words.find(passage.key);
      AppendPassage(out, passage, words == reading.words.end() ? nullptr : &words->second);
    }
  }
  out.EndArray().EndObject();
}

void AppendParallel(JsonWriter& out, const query::ParallelReading& reading, bool strongs) {
  out.BeginObject().Member("query", reading.query).Key("bibles").BeginArray();
  for (const query::Book* bible : reading.bibles) out.Value(bible->Name());
  out.EndArray().Key("verses").BeginArray();
  for (const query::ParallelReading::Verse& verse : reading.verses) {
    out.BeginObject().Member("reference", verse.reference);
    if (verse.place.book > 0) {
      out.Member("verse", std::to_string(verse.place.book) + "," + std::to_string(verse.place.chapter) + "," +
                              std::to_string(verse.place.verse));
    }
    out.Key("texts").BeginArray();
    for (const query::ParallelReading::Text& text : verse.texts) {
      out.BeginObject().Member("bible", reading.bibles[text.bible]->Name()).Key("passage");
      AppendPassage(out, text.passage, strongs ? &text.words : nullptr);
      out.EndObject();
    }
    out.EndArray().EndObject();
  }
  out.EndArray().EndObject();
}

void AppendSearch(JsonWriter& out, query::BookSearch& search, size_t offset, size_t limit) {
  const query::SearchResult& result = search.Result();
  const size_t first = std::min(offset, result.Count());
  const size_t shown = limit > 0 ? std::min(limit, result.Count() - first) : result.Count() - first;
  out.BeginObject().Key("terms").BeginArray();
  for (const std::string& term : result.Terms()) out.Value(term);
  out.EndArray().Key("words").BeginArray();
  for (const auto& words : result.Words()) {
    out.BeginArray();
    for (const std::string& word : words) out.Value(word);
    out.EndArray();
  }
  out.EndArray().Member("count", static_cast<long long>(result.Count()));
  if (offset > 0) out.Member("offset", static_cast<long long>(offset));
  std::vector<query::BookSearch::Page> pages;
  for (size_t done = 0; done < shown; done += kPage) {
    pages.push_back(search.Hits(first + done, std::min(kPage, shown - done)));
  }
  out.Key("references").BeginArray();
  for (const query::BookSearch::Page& page : pages) {
    for (size_t hit = 0; hit < page.hits.Size(); ++hit) out.Value(std::string(page.Reference(hit)));
  }
  out.EndArray().Key("hits").BeginArray();
  for (const query::BookSearch::Page& page : pages) {
    for (size_t hit = 0; hit < page.hits.Size(); ++hit) {
      out.BeginObject().Member("key", static_cast<long long>(page.hits.Key(hit))).Key("positions").BeginArray();
      for (size_t list = 0; list < page.hits.Lists(); ++list) {
        out.BeginArray();
        for (std::uint16_t p : page.hits.Positions(hit, list)) out.Value(static_cast<int>(p));
        out.EndArray();
      }
      out.EndArray();
      if (search.WithWords()) {  // the words at the positions
        const std::vector<std::string>& words = page.words[hit];
        out.Key("text").BeginArray();
        for (size_t list = 0; list < page.hits.Lists(); ++list) {
          out.BeginArray();
          for (std::uint16_t p : page.hits.Positions(hit, list)) out.Value(p >= 1 && p <= words.size() ? words[p - 1] : "");
          out.EndArray();
        }
        out.EndArray();
      }
      out.EndObject();
    }
  }
  out.EndArray().EndObject();
}

void AppendWords(JsonWriter& out, const std::vector<query::WordEntry>& words) {
  out.BeginArray();
  for (const query::WordEntry& word : words) out.BeginObject().Member("word", word.word).Member("keys", word.keys).EndObject();
  out.EndArray();
}

void AppendStrongs(JsonWriter& out, const query::StrongsStudy& study) {
  out.BeginObject().Member("number", study.number).Key("entries").BeginArray();
  for (const query::BookAnswer<query::Entry>& entry : study.entries) {
    out.BeginObject().Member("book", entry.book->Name()).Key("entry");
    AppendEntry(out, entry.answer);
    out.EndObject();
  }
  out.EndArray().Key("bibles").BeginArray();
  for (const query::StrongsStudy::InBible& in : study.bibles) {
    out.BeginObject().Member("book", in.bible->Name()).Key("translations").BeginArray();
    for (const query::Translation& translation : in.translations) {
      out.BeginObject().Member("words", translation.words).Member("count", translation.count).EndObject();
    }
    out.EndArray().Member("count", static_cast<long long>(in.count)).Key("verses").BeginArray();
    for (const query::StrongsVerse& verse : in.verses) {
      out.BeginObject().Member("reference", verse.reference).Member("key", verse.key).Member("text", verse.text);
      out.Key("words").BeginArray();
      for (const query::NumberedWord& word : verse.words) {
        out.BeginObject().Member("word", word.word).Key("strongs").BeginArray();
        for (const std::string& number : word.numbers) out.Value(number);
        out.EndArray().EndObject();
      }
      out.EndArray().EndObject();
    }
    out.EndArray().EndObject();
  }
  out.EndArray().EndObject();
}


void AppendTopics(JsonWriter& out, const std::string& topic, const std::vector<query::TopicStudy>& studies) {
  out.BeginObject().Member("query", topic).Key("topics").BeginArray();
  for (const query::TopicStudy& study : studies) AppendTopic(out, study);
  out.EndArray().EndObject();
}

void AppendLibraryInfo(JsonWriter& out, const std::string& dir, const std::vector<query::BookInfo>& books) {
  out.BeginObject().Member("library", dir).Key("books").BeginArray();
  for (const query::BookInfo& book : books) {
    out.BeginObject().Member("name", book.name).Member("folder", book.folder);
    out.Member("kind", query::BookKindName(book.kind)).Member("syncType", book.identity.syncType);
    out.Member("publisher", book.identity.publisherID).Member("book", book.identity.bookID);
    out.Member("title", book.title).Member("abbreviation", book.abbreviation).Member("edition", book.edition);
    out.Member("copyright", book.copyright).Member("language", book.language).Key("languages").BeginArray();
    for (std::uint16_t language : book.languages) {
      out.BeginObject().Member("id", language).Member("name", query::LanguageName(language)).EndObject();
    }
    out.EndArray().Member("strongs", book.strongs).Member("bytes", static_cast<long long>(book.bytes)).EndObject();
  }
  out.EndArray().EndObject();
}

}  // namespace orva::tool
