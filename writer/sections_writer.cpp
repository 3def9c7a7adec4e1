#include "writer/sections_writer.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace orva::writer {

namespace {

constexpr std::uint32_t kNone = 0;

// The links and defaults of every entry, derived from the outline.
struct Links {
  std::vector<int> parent, prev, next, book;
};

Links Link(const SectionsDescription& d) {
  const int sections = static_cast<int>(d.sections.size());
  const int total = sections + static_cast<int>(d.glossary.size());
  Links links{std::vector<int>(total, -1), std::vector<int>(total, -1), std::vector<int>(total, -1),
              std::vector<int>(total, -1)};
  std::vector<int> open;                      // the ancestors of the current section
  std::vector<int> lastChild(total + 1, -1);  // index `total` stands for the top level
  for (int k = 0; k < sections; ++k) {
    const int level = d.sections[k].level;
    while (!open.empty() && d.sections[open.back()].level >= level) open.pop_back();
    const int parent = open.empty() ? -1 : open.back();
    int& previous = lastChild[parent == -1 ? total : parent];
    links.parent[k] = parent;
    links.prev[k] = previous;
    if (previous != -1) links.next[previous] = k;
    previous = k;
    links.book[k] = parent == -1 ? k : links.book[parent];
    open.push_back(k);
  }
  for (int k = sections + 1; k < total; ++k) {
    links.prev[k] = k - 1;
    links.next[k - 1] = k;
  }
  return links;
}

}  // namespace

std::uint32_t FirstRecordOffset(const SectionsDescription& d) {
  return static_cast<std::uint32_t>(std::max<std::uint16_t>(d.version.length, 2)) + d.headerLength;
}

std::uint32_t RecordOffset(const SectionsDescription& d, int key) {
  return FirstRecordOffset(d) + static_cast<std::uint32_t>(key) * d.recordSize;
}

std::vector<std::uint8_t> EncodeSectionsIndex(const SectionsDescription& d) {
  if (!d.nonBible.empty() && !d.wordCounts) {
    throw std::invalid_argument("a non-Bible list needs a word-count table after it");
  }
  const int sections = static_cast<int>(d.sections.size());
  const int total = sections + static_cast<int>(d.glossary.size());
  auto entry = [&](int k) -> const SectionEntry& { return k < sections ? d.sections[k] : d.glossary[k - sections]; };
  auto offsetOf = [&](int key) { return key == -1 ? kNone : RecordOffset(d, key); };

  // Positions after the table: the names, the non-Bible list, the word counts.
  const std::uint32_t namesAt = RecordOffset(d, total);
  std::vector<std::uint32_t> nameAt(total);
  std::vector<bool> written(total, true);
  std::map<std::string, std::uint32_t> shared;
  std::uint32_t at = namesAt;
  for (int k = 0; k < total; ++k) {
    const SectionEntry& e = entry(k);
    if (d.shareNames && !e.nameLength) {
      const auto [found, added] = shared.try_emplace(e.name, at);
      if (!added) {
        nameAt[k] = found->second;
        written[k] = false;
        continue;
      }
    }
    nameAt[k] = at;
    at += 2 + static_cast<std::uint32_t>(e.name.size());
  }
  const std::uint32_t listAt = d.wordCounts ? at : 0;
  const std::uint32_t countsAt = d.wordCounts ? at + 2 * static_cast<std::uint32_t>(d.nonBible.size()) : 0;

  ByteWriter out;
  WriteVersionRecord(out, d.version);
  {
    ByteWriter header;
    header.U16(d.headerLength);
    header.U32(static_cast<std::uint32_t>(d.sectionCount.value_or(sections)));
    header.U32(static_cast<std::uint32_t>(d.glossaryCount.value_or(total - sections)));
    header.U16(d.recordSize);
    header.U32(d.nonBibleOffset.value_or(listAt));
    header.U32(d.wordCountOffset.value_or(countsAt));
    out.Record(header, d.headerLength);
  }

  const Links links = Link(d);
  ByteWriter record;
  for (int k = 0; k < total; ++k) {
    const SectionEntry& e = entry(k);
    const bool glossary = k >= sections;
    const int book = links.book[k];
    record.Clear().U32(e.parentOffset.value_or(offsetOf(links.parent[k])));
    record.U32(e.prevOffset.value_or(offsetOf(links.prev[k])));
    record.U32(e.nextOffset.value_or(offsetOf(links.next[k])));
    record.U32(e.bookKey.value_or(glossary ? 0xFFFFFFFFu : static_cast<std::uint32_t>(book)));
    record.U16(static_cast<std::uint16_t>(e.levelCount.value_or(static_cast<std::int16_t>(k - (glossary ? sections : book)))));
    record.U8(e.level);
    record.U32(e.nameOffset.value_or(nameAt[k]));
    record.U32(e.syncWord).U16(e.syncHalf);
    out.Record(record, d.recordSize);
  }
  for (int k = 0; k < total; ++k) {
    if (!written[k]) continue;
    const SectionEntry& e = entry(k);
    out.U16(static_cast<std::uint16_t>(e.nameLength.value_or(static_cast<std::int16_t>(e.name.size()))));
    out.Text(e.name);
  }
  if (d.wordCounts) {
    for (std::uint16_t section : d.nonBible) out.U16(section);
    for (const SectionEntry& e : d.sections) out.U16(e.wordCount);
  }
  return out.Take();
}

}  // namespace orva::writer
