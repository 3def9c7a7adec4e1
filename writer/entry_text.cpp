#include "writer/entry_text.h"

#include <algorithm>

#include "orvada/lang_text.h"
#include "platform/exceptions.h"
#include "query/book_list.h"
#include "query/entry_text.h"
#include "zalang/language_table.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::writer::build {

namespace {

constexpr std::uint16_t kGreek = 1032;
constexpr std::uint16_t kHebrew = 1037;
constexpr size_t kMaxPositions = 65535;
constexpr size_t kMaxWordLength = 32767;
// A range of verses or chapters that a reference names is listed place by place:
// no chapter of the Bible has more verses than this, nor a book more chapters.
constexpr int kMaxRange = 1000;

bool IsMarkAbove(char16_t c) { return c >= 0x300 && IsMark(c); }

// The language of each character of `text` by its script (EncodeMultiScript);
// `current` is the language of what stands before the text.
std::vector<std::uint16_t> ScriptLanguages(const std::u16string& text, std::uint16_t book, std::uint16_t current) {
  std::vector<std::uint16_t> languages;
  AfxAllocating([&] { languages.reserve(text.size()); });
  for (char16_t c : text) {
    if ((c >= 0x370 && c <= 0x3FF) || (c >= 0x1F00 && c <= 0x1FFF)) {
      current = IsMarkAbove(c) ? current : kGreek;
    } else if ((c >= 0x590 && c <= 0x5FF) || (c >= 0xFB1D && c <= 0xFB4F)) {
      current = IsMarkAbove(c) ? current : kHebrew;
    } else if (!IsMarkAbove(c) && zalang::IsWordCharacter(c)) {
      current = book;
    }
    AfxAllocating([&] { languages.push_back(current); });
  }
  return languages;
}

std::string TagOf(std::uint16_t language) {
  std::string tag(1, static_cast<char>(ORVA_LANGUAGE_TAG_START));
  const cLanguageDatum* datum = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(language);
  for (const unsigned short* c = datum->GetName(); *c != 0; ++c) tag += static_cast<char>(*c);
  return tag + static_cast<char>(ORVA_LANGUAGE_TAG_END);
}

// Text that a reader would take for a language tag: "<", a language's name, ":".
void RefuseTags(const std::u16string& text, const TextConverter& converter, int line) {
  const OrvaToILI& languages = OrvaToILI::Instance();
  size_t colon = 0;  // the first ':' after the '<' at hand: it only moves on
  for (size_t at = text.find(u'<'); at != std::u16string::npos; at = text.find(u'<', at + 1)) {
    if (colon <= at) colon = text.find(u':', at);
    if (colon == std::u16string::npos) return;
    if (colon - at - 1 > static_cast<size_t>(languages.GetLongestNameLength()) || colon == at + 1) continue;
    std::u16string name = text.substr(at + 1, colon - at - 1);
    if (languages.OrvaLanguageStringToOrvaLangId(reinterpret_cast<const unsigned short*>(name.c_str())) != 0) {
      converter.Fail(line, "the text holds \"" + zalang::Utf16ToUtf8(text.substr(at, colon - at + 1)) +
                               "\", which a reader takes for a language tag");
    }
  }
}

class MultiScriptWriter {
 public:
  MultiScriptWriter(const TextConverter& converter, int line, std::uint16_t& current)
      : m_converter(converter), m_line(line), m_current(current) {}

  void Run(const std::u16string& run, std::uint16_t language) {
    for (size_t at = 0; at < run.size();) {
      std::string bytes;
      const size_t bad = zalang::EncodeWhatFits(run, at, language, bytes);
      Emit(language, bytes);
      if (bad == run.size()) return;
      size_t end = bad + 1;
      while (end < run.size() && IsMarkAbove(run[end])) ++end;
      Cluster(run.substr(bad, end - bad), language);
      at = end;
    }
  }

  std::string Take() { return std::move(m_out); }

 private:
  // The languages to try, in turn, for what `language` cannot write.
  std::vector<std::uint16_t> Fallbacks(std::uint16_t language) const {
    std::vector<std::uint16_t> order{language, m_converter.Language()};
    const OrvaToILI& languages = OrvaToILI::Instance();
    for (int i = 0; i < languages.GetLanguageCount(); ++i) order.push_back(languages.GetLanguageDatumAt(i)->GetLanguageID());
    std::vector<std::uint16_t> unique;
    for (std::uint16_t id : order) {
      if (std::find(unique.begin(), unique.end(), id) == unique.end()) unique.push_back(id);
    }
    return unique;
  }

  bool TryEmit(std::uint16_t language, const std::u16string& text) {
    std::string bytes;
    if (zalang::EncodeWhatFits(text, 0, language, bytes) != text.size()) return false;
    Emit(language, bytes);
    return true;
  }

  // A character and its marks that `language` cannot write as a whole: the base
  // with as many marks as one language writes, then each mark left where it can.
  void Cluster(const std::u16string& cluster, std::uint16_t language) {
    const std::u16string decomposed = zalang::DecomposeText(cluster);
    for (std::uint16_t first : Fallbacks(language)) {
      for (size_t k = decomposed.size(); k >= 1; --k) {
        if (!TryEmit(first, decomposed.substr(0, k))) continue;
        for (size_t i = k; i < decomposed.size(); ++i) {
          bool written = false;
          for (std::uint16_t other : Fallbacks(first)) {
            if ((written = TryEmit(other, decomposed.substr(i, 1)))) break;
          }
          if (!written) Unwritable(decomposed[i]);
        }
        return;
      }
    }
    Unwritable(cluster[0]);
  }

  [[noreturn]] void Unwritable(char16_t c) const {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex = "U+";
    for (int shift = 12; shift >= 0; shift -= 4) hex += digits[(c >> shift) & 0xF];
    m_converter.Fail(m_line, "the character " + hex + " has no form in the code page of any language");
  }

  void Emit(std::uint16_t language, const std::string& bytes) {
    if (bytes.empty()) return;
    AfxAllocating([&] {
      if (language != m_current) m_out += TagOf(language);
      m_out += bytes;
    });
    m_current = language;
  }

  const TextConverter& m_converter;
  const int m_line;
  std::uint16_t& m_current;
  std::string m_out;
};

std::vector<std::uint32_t> Union(std::vector<std::uint32_t> keys) {
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

OccurrenceList ListOf(std::vector<std::uint32_t> keys) {
  if (keys.empty()) return std::nullopt;
  return Union(std::move(keys));
}

}  // namespace

std::string EncodeMultiScript(const std::u16string& text, const TextConverter& converter, int line,
                              std::uint16_t& current) {
  RefuseTags(text, converter, line);
  const std::vector<std::uint16_t> languages = ScriptLanguages(text, converter.Language(), current);
  MultiScriptWriter writer(converter, line, current);
  for (size_t at = 0; at < text.size();) {
    size_t end = at + 1;
    while (end < text.size() && languages[end] == languages[at]) ++end;
    writer.Run(text.substr(at, end - at), languages[at]);
    at = end;
  }
  return writer.Take();
}

std::string EntryTexts::Add(std::uint32_t key, const std::string& text, int line, size_t& words) {
  const std::uint16_t book = m_converter.Language();
  std::string out;
  std::u16string visible;                 // the words' text: references as blanks
  std::vector<std::uint16_t> languages;   // of each character of `visible`
  size_t start = 0;
  for (size_t paragraph = 0; start <= text.size(); ++paragraph) {
    const size_t tab = std::min(text.find('\t', start), text.size());
    const std::string part = text.substr(start, tab - start);
    if (paragraph > 0) {
      out += '\t';
      visible += u'\t';
      languages.push_back(book);
    }
    std::uint16_t current = book;
    for (size_t at = 0; at < part.size();) {
      const size_t next = std::min(part.find("{\\", at), part.size());
      if (next > at) {
        const std::u16string wide = m_converter.Wide(part.substr(at, next - at), line);
        const std::vector<std::uint16_t> scripts = ScriptLanguages(wide, book, current);
        out += EncodeMultiScript(wide, m_converter, line, current);
        visible += wide;
        languages.insert(languages.end(), scripts.begin(), scripts.end());
      }
      if (next == part.size()) break;
      size_t end = next;
      out += Reference(part, next, key, line, end, current);
      visible += u' ';
      languages.push_back(book);
      at = end;
    }
    // Each paragraph begins in the book's language, also for a reader that parts
    // the line at its tabs before reading its tags.
    if (current != book && tab < text.size()) out += TagOf(book);
    start = tab + 1;
  }

  const std::vector<zalang::WordSpan> spans = zalang::SplitWords(visible);
  if (spans.size() > kMaxPositions) m_converter.Fail(line, "more than 65535 words");
  for (size_t n = 0; n < spans.size(); ++n) {
    const std::u16string word = zalang::FoldWord(visible.substr(spans[n].begin, spans[n].end - spans[n].begin));
    if (word.size() > kMaxWordLength) {
      m_converter.Fail(line, "a word of more than " + std::to_string(kMaxWordLength) + " characters");
    }
    m_words[languages[spans[n].begin]].AddAt(key, word, static_cast<std::uint16_t>(n + 1));
  }
  words = spans.size();
  return out;
}

std::string EntryTexts::Reference(const std::string& paragraph, size_t at, std::uint32_t key, int line, size_t& end,
                                  std::uint16_t& current) {
  query::InlineReference reference;
  if (!query::ReferenceAt(paragraph, at, reference)) {
    m_converter.Fail(line, "\"" + paragraph.substr(at, 40) +
                               "\" is no reference: {\\verse:KEY}, {\\strongs:KEY}, {\\word:KEY} or {\\date:KEY}, "
                               "each with |SHOWN or without");
  }
  end = reference.end;
  std::string stored;
  if (reference.type == "verse") {
    stored = VerseKey(reference.key, key, line);
    ++m_counts.verseReferences;
  } else {
    stored = reference.type == "word" ? m_converter.Narrow(reference.key, line)
                                      : query::SyncKeyOf(reference.type, reference.key, "-");
    if (stored.empty() || stored == "-") {
      m_converter.Fail(line, "\"" + reference.key + "\" is no " +
                                 (reference.type == "date" ? "date (MM-DD)" : "Strong's number"));
    }
    ++m_counts.otherReferences;
  }
  // The reference stands in a run of the book's language: its marks are ASCII.
  std::string out;
  if (current != m_converter.Language()) out += TagOf(current = m_converter.Language());
  out += "{\\" + reference.type + ":" + stored;
  if (reference.shown != stored) {
    out += '|';
    out += EncodeMultiScript(m_converter.Wide(reference.shown, line), m_converter, line, current);
  }
  return out + '}';
}

std::string EntryTexts::VerseKey(const std::string& written, std::uint32_t key, int line) {
  std::string numbers;
  if (written.find_first_not_of("0123456789,-") == std::string::npos) {
    numbers = written;
  } else {
    // OSIS: "Book.C.V", "Book.C" or "Book", or a range of two.
    for (size_t start = 0; start <= written.size();) {
      const size_t dash = std::min(written.find('-', start), written.size());
      const std::string place = written.substr(start, dash - start);
      const size_t dot = std::min(place.find('.'), place.size());
      const int book = query::BookNumberOfOsisID(place.substr(0, dot));
      if (book == 0) m_converter.Fail(line, "\"" + written + "\" names no book of the Bible by its OSIS id");
      if (start > 0) numbers += '-';
      numbers += std::to_string(book);
      for (size_t at = dot; at < place.size(); at = place.find('.', at + 1)) {
        numbers += ',' + place.substr(at + 1, std::min(place.find('.', at + 1), place.size()) - at - 1);
      }
      start = dash + 1;
    }
  }
  query::VersePlace first, last;
  if (!query::ParseVerseKey(numbers, first, last)) {
    m_converter.Fail(line, "\"" + written +
                               "\" is no verse reference: a verse, chapter or book, or a range of verses within "
                               "a chapter or of chapters within a book");
  }
  const int span = first.verse != 0 ? last.verse - first.verse : last.chapter - first.chapter;
  if (span >= kMaxRange) m_converter.Fail(line, "\"" + written + "\" names more than 1000 verses or chapters");
  for (int n = 0; n <= span; ++n) {
    const std::array<int, 3> place = first.verse != 0 ? std::array<int, 3>{first.book, first.chapter, first.verse + n}
                                                      : std::array<int, 3>{first.book, first.chapter + (first.chapter != 0 ? n : 0), 0};
    std::vector<std::uint32_t>& keys = AfxAllocating([&]() -> std::vector<std::uint32_t>& { return m_places[place]; });
    if (keys.empty() || keys.back() != key) AfxAllocating([&] { keys.push_back(key); });
  }
  return numbers;
}

std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> EntryTexts::TakeWords() {
  std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages;
  languages.emplace_back(m_converter.Language(), m_words[m_converter.Language()].Take());
  for (auto& [id, words] : m_words) {
    if (id == m_converter.Language()) continue;
    std::vector<IndexedWord> taken = words.Take();
    if (!taken.empty()) languages.emplace_back(id, std::move(taken));
  }
  return languages;
}

std::optional<VersesDescription> EntryTexts::Verses(const BookOptions& options, const VersionFields& version) const {
  if (m_places.empty()) return std::nullopt;
  VersesDescription verses;
  verses.version = version;
  verses.coded = options.coded;
  AfxAllocating([&] {
    for (auto at = m_places.begin(); at != m_places.end();) {
      const int bookNumber = at->first[0];
      BookEntry book;
      book.number = static_cast<std::uint16_t>(bookNumber);
      std::vector<std::uint32_t> allChapters, allVerses;
      for (; at != m_places.end() && at->first[0] == bookNumber;) {
        const int chapterNumber = at->first[1];
        if (chapterNumber == 0) {
          book.list = ListOf(at->second);
          ++at;
          continue;
        }
        ChapterEntry chapter;
        chapter.number = static_cast<std::uint16_t>(chapterNumber);
        std::vector<std::uint32_t> chapterVerses;
        for (; at != m_places.end() && at->first[0] == bookNumber && at->first[1] == chapterNumber; ++at) {
          if (at->first[2] == 0) {
            chapter.list = ListOf(at->second);
            allChapters.insert(allChapters.end(), at->second.begin(), at->second.end());
            continue;
          }
          chapter.verses.push_back({static_cast<std::uint16_t>(at->first[2]), ListOf(at->second)});
          chapterVerses.insert(chapterVerses.end(), at->second.begin(), at->second.end());
        }
        allVerses.insert(allVerses.end(), chapterVerses.begin(), chapterVerses.end());
        chapter.allVerses = ListOf(std::move(chapterVerses));
        book.chapters.push_back(std::move(chapter));
      }
      book.allChapters = ListOf(std::move(allChapters));
      book.allVerses = ListOf(std::move(allVerses));
      verses.books.push_back(std::move(book));
    }
  });
  return verses;
}

void AddEntryIndexes(BuiltBook& book, EntryTexts& texts, const BookOptions& options, const VersionFields& version) {
  std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages = texts.TakeWords();
  bool anyWord = false;
  for (const auto& [id, words] : languages) {
    book.distinctWords += static_cast<int>(words.size());
    if (!words.empty()) book.concordLanguages.push_back(id);
    anyWord = anyWord || !words.empty();
  }
  if (anyWord) book.files.push_back({"concord.idx", EncodeConcordance(std::move(languages), options, version)});
  if (const std::optional<VersesDescription> verses = texts.Verses(options, version)) {
    book.files.push_back({"verses.idx", EncodeVersesIndex(*verses)});
  }
  book.verseReferences = texts.Counts().verseReferences;
  book.otherReferences = texts.Counts().otherReferences;
}

}  // namespace orva::writer::build
