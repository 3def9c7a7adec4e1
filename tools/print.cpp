#include "tools/print.h"

#include <algorithm>

namespace orva::tool {

void PrintBookHeader(query::Book& book, bool first) {
  const std::string title = book.Info().title;
  std::printf("%s== %s%s%s ==\n", first ? "" : "\n", book.Name().c_str(), title.empty() ? "" : ": ", title.c_str());
}

void PrintPassages(const std::vector<query::Passage>& passages, const std::map<int, std::string>& headings,
                   bool eachWithReference) {
  if (eachWithReference || (passages.size() == 1 && !passages[0].name.empty())) {
    for (const query::Passage& passage : passages) {
      std::printf("%s %s\n", passage.reference.c_str(), passage.text.c_str());
    }
    return;
  }
  int parent = -2;
  for (const query::Passage& passage : passages) {
    if (passage.name.empty()) {
      std::printf("%s\n", passage.text.c_str());
      continue;
    }
    if (passage.parentKey != parent) {
      if (parent != -2) std::printf("\n");
      parent = passage.parentKey;
      const auto heading = headings.find(parent);
      if (heading != headings.end()) std::printf("%s\n", heading->second.c_str());
    }
    for (const std::string& line : passage.above) std::printf("%s\n", line.c_str());
    std::printf("%s %s\n", passage.name.c_str(), passage.text.c_str());
    for (const std::string& line : passage.below) std::printf("%s\n", line.c_str());
  }
}

std::string WithNumbers(const std::string& text, const std::vector<query::NumberedWord>& words) {
  std::string out;
  size_t copied = 0;
  for (size_t w = 0; w < words.size(); ++w) {
    std::string marks;
    for (const std::string& number : words[w].numbers) {
      const bool runGoesOn = w + 1 < words.size() && std::find(words[w + 1].numbers.begin(), words[w + 1].numbers.end(),
                                                               number) != words[w + 1].numbers.end();
      if (runGoesOn) continue;
      marks += marks.empty() ? "<" : " ";
      marks += number;
    }
    if (marks.empty()) continue;
    out.append(text, copied, words[w].end - copied).append(marks).append(">");
    copied = words[w].end;
  }
  return out.append(text, copied, std::string::npos);
}

void PrintEntry(const query::Entry& entry, bool lexicon, bool withKey) {
  if (!entry.inBook) {
    std::printf("%s: sync key %d\n", entry.query.c_str(), entry.key);
    return;
  }
  if (withKey) std::printf("%s: key %d, %s\n", entry.query.c_str(), entry.key, entry.path.c_str());
  if (!entry.keyed) {
    PrintPassages(entry.passages, entry.headings);
    return;
  }
  // A lexicon's headword, transliteration and pronunciation stand beside its number.
  const size_t onNameLine = lexicon ? 3 : 1;
  const std::vector<std::string>& paragraphs = entry.shown.paragraphs;
  std::string line = entry.reference;
  for (size_t i = 0; i < paragraphs.size() && i < onNameLine; ++i) {
    if (!paragraphs[i].empty()) line += ' ' + paragraphs[i];
  }
  std::printf("%s\n", line.c_str());
  for (size_t i = onNameLine; i < paragraphs.size(); ++i) std::printf("%s\n", paragraphs[i].c_str());
}

std::string LanguageNames(const std::vector<std::uint16_t>& languages) {
  std::string names;
  for (std::uint16_t language : languages) names += (names.empty() ? "" : ", ") + query::LanguageName(language);
  return names;
}

}  // namespace orva::tool
