#include "writer/builder_support.h"

#include <algorithm>
#include <stdexcept>

#include "platform/exceptions.h"
#include "writer/concord_writer.h"
#include "writer/text_writer.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::writer::build {

std::u16string TextConverter::Wide(const std::string& utf8, int line) const {
  try {
    return zalang::Utf8ToUtf16(utf8);
  } catch (const zalang::TextError& e) {
    throw SourceError(m_source, line, e.what());
  }
}

std::string TextConverter::Narrow(const std::u16string& text, int line) const {
  try {
    return zalang::EncodeForLanguage(text, m_language);
  } catch (const zalang::TextError& e) {
    throw SourceError(m_source, line, e.what());
  }
}

std::string TextConverter::NarrowLeniently(const std::string& utf8, int line, int& leftOut) const {
  std::u16string text = Wide(utf8, line);
  bool cut = false;
  for (;;) {
    try {
      const std::string narrow = zalang::EncodeForLanguage(text, m_language);
      if (!cut) return narrow;
      std::string collapsed;
      for (char c : narrow) {
        if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) collapsed += c;
      }
      if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
      return collapsed;
    } catch (const zalang::TextError& e) {
      // One character at a time: real texts lack a few.
      text.erase(e.Index(), 1);
      ++leftOut;
      cut = true;
    }
  }
}

void TextConverter::Fail(int line, const std::string& message) const { throw SourceError(m_source, line, message); }

std::string DefaultTitle(const std::string& sourceName) {
  std::string name = sourceName.substr(sourceName.find_last_of('/') + 1);
  name = name.substr(0, name.find('.'));
  return name.empty() ? "Untitled" : name;
}

VersionFields Version(const BookOptions& options) {
  VersionFields version;
  version.publisherID = options.publisherID;
  version.bookID = options.bookID;
  return version;
}

std::uint16_t Capped(long long count) { return static_cast<std::uint16_t>(std::min<long long>(count, kMaxCount)); }

std::string HeaderText(const BookOptions& options, const std::string& title, const std::string& copyright,
                       const char* syncType, const TextConverter& text) {
  const std::pair<const char*, std::string> words[] = {
      {"TITLE", title},
      {"ABBREV", options.abbreviation},
      {"LANG", std::to_string(text.Language())},
      {"EDITION", options.edition},
      {"COPYRIGHT", copyright},
      {"SYNCTYPE", syncType},
  };
  std::string header;
  for (const auto& [name, data] : words) {
    if (data.empty()) continue;
    if (data.find('}') != std::string::npos) {
      throw std::invalid_argument(std::string("the ") + name + " of a book cannot hold '}'");
    }
    header += ControlWord(name, text.Narrow(data, 0));
  }
  return header;
}

void AddTextFiles(BuiltBook& book, const VersionFields& version, const std::string& header,
                  std::vector<std::string> blocks, bool compress) {
  TextDataDescription text;
  text.version = version;
  text.headerText = header;
  text.blocks = std::move(blocks);
  text.compressed = compress;
  text.smaller = true;
  EncodedTextData data = EncodeTextData(text);
  ViewableDescription index;
  index.version = version;
  index.descriptors = std::move(data.descriptors);
  index.compression = compress ? 1 : 0;
  book.files.push_back({"book.dat", std::move(data.bytes)});
  book.files.push_back({"viewable.idx", EncodeViewableIndex(index)});
}

namespace {

// A language's words; records no longer than a word needs (a coded record ends
// in two bytes of the book's own, which this builder leaves out).
ConcordLanguage LanguageOf(std::uint16_t id, std::vector<IndexedWord> indexed, bool coded) {
  ConcordLanguage language;
  language.id = id;
  language.wordRecSize = coded ? 16 : 18;
  AfxAllocating([&] {
    language.words.reserve(indexed.size());
    for (IndexedWord& word : indexed) {
      ConcordWord out;
      out.text = std::move(word.text);
      out.keys = std::move(word.keys);
      out.positions = std::move(word.positions);
      language.words.push_back(std::move(out));
    }
  });
  return language;
}

}  // namespace

namespace {

ConcordDescription DescribeConcordance(std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages,
                                       const BookOptions& options, const VersionFields& version) {
  ConcordDescription concord;
  concord.version = version;
  concord.coded = options.coded;
  concord.shareLists = true;
  AfxAllocating([&] {
    concord.languages.clear();
    for (auto& [id, words] : languages) concord.languages.push_back(LanguageOf(id, std::move(words), options.coded));
  });
  return concord;
}

}  // namespace

std::vector<std::uint8_t> EncodeConcordance(std::vector<IndexedWord> words, std::uint16_t language,
                                            std::vector<IndexedWord> strongs, std::uint32_t sections,
                                            const BookOptions& options, const VersionFields& version) {
  std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages;
  AfxAllocating([&] {
    languages.emplace_back(language, std::move(words));
    if (!strongs.empty()) languages.emplace_back(zalang::kStrongsLanguage, std::move(strongs));
  });
  const bool withStrongs = languages.size() > 1;
  ConcordDescription concord = DescribeConcordance(std::move(languages), options, version);
  if (withStrongs) {
    for (ConcordWord& word : concord.languages.back().words) {
      for (std::uint32_t key : word.keys) word.data |= zalang::StrongsKeyBits(key, sections);
    }
  }
  return EncodeConcordIndex(concord);
}

std::vector<std::uint8_t> EncodeConcordance(std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages,
                                            const BookOptions& options, const VersionFields& version) {
  return EncodeConcordIndex(DescribeConcordance(std::move(languages), options, version));
}

size_t IndexWords(WordIndexBuilder& words, std::uint32_t key, const std::u16string& text, int line,
                  const TextConverter& converter) {
  try {
    return words.Add(key, text);
  } catch (const std::length_error& e) {
    converter.Fail(line, e.what());
  }
}

void CheckFileSizes(const BuiltBook& book, const TextConverter& converter) {
  for (const BookFile& file : book.files) {
    if (file.bytes.size() > 0xFFFFFFFFu) {
      converter.Fail(0, "the book's " + file.name + " would be larger than the 4 GiB its offsets reach");
    }
  }
}

}  // namespace orva::writer::build
