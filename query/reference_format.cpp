// ReferenceFormatter: keys written as references, many of one book.
#include <algorithm>
#include <charconv>
#include <cstring>

#include "query/book_access.h"
#include "query/reference.h"

namespace orva::query {

namespace {

bool HasBackslash(const CString& name) { return std::strchr(name, '\\') != nullptr; }

// What stands before a name at `depth` (ReferenceOfKey's joining).
const char* Separator(int depth) { return depth == 1 ? " " : depth == 2 ? ":" : "."; }

void AppendNumber(std::string& out, int number) {
  char digits[16];
  out.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
}

}  // namespace

ReferenceFormatter::ReferenceFormatter(cORVABookBase& book, unsigned short language)
    : m_book(book), m_language(language), m_lastSection(book.GetLastSectionKey()) {
  m_known.reserve(256);
}

void ReferenceFormatter::AppendUtf8(std::string& out, const CString& name) const {
  const char* text = name;
  const auto length = static_cast<size_t>(name.GetLength());
  if (std::all_of(text, text + length, [](char c) { return c > 0; })) out.append(text, length);
  else out += ToUtf8(text, length, m_language);
}

void ReferenceFormatter::AppendWalked(std::string& out, int key) {
  const std::string reference = ReferenceOfKey(m_book, key);
  out += ToUtf8(reference.data(), reference.size(), m_language);
}

const std::string& ReferenceFormatter::Of(int key) {
  m_reference.clear();
  AppendTo(m_reference, key);
  return m_reference;
}

void ReferenceFormatter::AppendTo(std::string& out, int key) {
  if (m_lastRun >= m_numbered.size() || key < m_numbered[m_lastRun].first || key > m_numbered[m_lastRun].last) {
    const auto after = std::upper_bound(m_numbered.begin(), m_numbered.end(), key,
                                        [](int k, const NumberedRun& run) { return k < run.first; });
    m_lastRun = after == m_numbered.begin() ? m_numbered.size() : static_cast<size_t>(after - m_numbered.begin()) - 1;
  }
  if (m_lastRun < m_numbered.size() && key <= m_numbered[m_lastRun].last) {
    const NumberedRun& run = m_numbered[m_lastRun];
    out.append(run.prefix);
    AppendNumber(out, key - run.parent);
    return;
  }
  cSectionsData section;
  if (key < 0 || key > m_lastSection || m_book.GetSection(key, section) != 0) return AppendWalked(out, key);
  const CString name = section.GetName();
  const int parent = section.GetParentKey();
  Known* above = nullptr;
  if (HasBackslash(name) || (parent != -1 && !(above = Above(parent, section.GetLevel(), 0)))) {
    return AppendWalked(out, key);
  }
  if (above) out.append(above->reference).append(Separator(above->depth + 1));
  AppendUtf8(out, name);
  if (above && section.GetChildKey() == -1) LookAtChapter(parent, *above, section.GetLevel());
}

// Section `key`, the parent of a section on level `childLevel`, `hops` steps up;
// null when the walk up from it is not the plain one. Levels fall at every step,
// so the walk ends within 256 steps.
ReferenceFormatter::Known* ReferenceFormatter::Above(int key, int childLevel, int hops) {
  const auto found = m_known.find(key);
  if (found != m_known.end()) return found->second.level < childLevel ? &found->second : nullptr;
  cSectionsData section;
  if (hops > 255 || m_book.GetSection(key, section) != 0 || section.GetLevel() >= childLevel) return nullptr;
  const CString name = section.GetName();
  if (HasBackslash(name)) return nullptr;
  Known known;
  known.parent = section.GetParentKey();
  known.next = section.GetNextKey();
  known.level = section.GetLevel();
  if (known.parent != -1) {
    const Known* above = Above(known.parent, known.level, hops + 1);
    if (!above) return nullptr;
    known.depth = above->depth + 1;
    known.reference.append(above->reference).append(Separator(known.depth));
  }
  AppendUtf8(known.reference, name);
  return &(m_known[key] = std::move(known));
}

// On the second section of `chapter` (section `key`) formatted by reading it, or
// the first when a sibling of the chapter was found numbered: when the chapter's
// range of keys, up to its next sibling (or its ancestor's), begins with a
// section named "1" and ends with one named by the count, both on `childLevel`
// right below it without sections below them, the range is formatted from now
// on without reading.
void ReferenceFormatter::LookAtChapter(int key, Known& chapter, int childLevel) {
  const auto parent = m_known.find(chapter.parent);
  const bool siblingNumbered = parent != m_known.end() && parent->second.numberedBelow;
  if (++chapter.asked != (siblingNumbered ? 1 : 2)) return;
  int end = chapter.next;
  for (const Known* at = &chapter; end == -1 && at->parent != -1;) {
    const auto above = m_known.find(at->parent);
    if (above == m_known.end()) return;
    at = &above->second;
    end = at->next;
  }
  if (end == -1) end = m_lastSection + 1;
  const int count = end - 1 - key;
  if (end <= key + 1 || end > m_lastSection + 1 || !IsNumbered(key + 1, key, childLevel, 1) ||
      !IsNumbered(end - 1, key, childLevel, count)) {
    return;
  }
  NumberedRun run{key + 1, end - 1, key, chapter.reference + Separator(chapter.depth + 1)};
  const auto at = std::upper_bound(m_numbered.begin(), m_numbered.end(), run.first,
                                   [](int k, const NumberedRun& r) { return k < r.first; });
  m_numbered.insert(at, std::move(run));
  m_lastRun = m_numbered.size();
  if (parent != m_known.end()) parent->second.numberedBelow = true;
}

bool ReferenceFormatter::IsNumbered(int key, int parent, int level, int number) {
  cSectionsData section;
  if (m_book.GetSection(key, section) != 0) return false;
  std::string digits;
  AppendNumber(digits, number);
  return section.GetParentKey() == parent && section.GetLevel() == level && section.GetChildKey() == -1 &&
         digits == static_cast<const char*>(section.GetName());
}

}  // namespace orva::query
