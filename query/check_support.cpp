#include <algorithm>
#include <fstream>

#include "concordance/coded_list.h"
#include "files/endian.h"
#include "query/book_access.h"
#include "query/check_internal.h"
#include "book/book_folder.h"

namespace orva::query::check {

namespace {

// Entries are held below this bound: anything at 2^32 or more is already a
// fault, and the bound keeps sums of damaged values from wrapping.
constexpr std::uint64_t kHuge = 1ull << 62;

std::uint64_t Capped(std::uint64_t value) { return value < kHuge ? value : kHuge; }

}  // namespace

void FaultList::Finish() {
  for (const auto& [where, count] : m_seen) {
    if (count > BookCheck::kListedPerKind) {
      m_out.unlisted.push_back({where.first, where.second, count - BookCheck::kListedPerKind});
    }
  }
}

FileBytes::FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return;
  const std::streamoff size = in.tellg();
  if (size < 0) return;
  m_bytes.resize(static_cast<size_t>(size));
  in.seekg(0);
  m_loaded = static_cast<bool>(in.read(reinterpret_cast<char*>(m_bytes.data()), size));
}

std::uint16_t FileBytes::U16(std::uint64_t position) const { return DecodeU16(m_bytes.data() + position); }
std::uint32_t FileBytes::U32(std::uint64_t position) const { return DecodeU32(m_bytes.data() + position); }

void FileBytes::CopyOut(std::uint64_t position, std::uint64_t count, void* to) const {
  std::copy(m_bytes.begin() + static_cast<std::ptrdiff_t>(position),
            m_bytes.begin() + static_cast<std::ptrdiff_t>(position + count), static_cast<unsigned char*>(to));
}

bool ListReader::Spend(std::uint64_t values) {
  if (m_over || values > m_budget) {
    m_over = true;
    return false;
  }
  m_budget -= values;
  return true;
}

ListReader::Result ListReader::Coded(std::uint64_t position, std::uint32_t count, std::uint32_t values,
                                     std::uint32_t range, const std::uint64_t* start, std::vector<std::uint64_t>& out) {
  out.clear();
  // Every value takes at least one bit.
  if (!m_file.Has(position, (static_cast<std::uint64_t>(values) + 7) / 8)) return kPastEnd;
  if (!Spend(values)) return kOverBudget;
  const GolombParameter p = GolombParameterFor(range, count == 0 ? 1 : count);
  const std::uint64_t end = 8 * m_file.Size();
  std::uint64_t bit = 8 * position;
  auto next = [&](int& value) {
    if (bit >= end) return false;
    value = (m_file.U8(bit >> 3) >> (7 - (bit & 7))) & 1;
    ++bit;
    return true;
  };
  out.reserve(values);
  std::uint64_t entry = start ? *start : 0;
  for (std::uint32_t i = 0; i < values; ++i) {
    std::uint64_t ones = 0;
    int b = 0;
    for (;;) {
      if (!next(b)) return kPastEnd;
      if (b == 0) break;
      ++ones;
    }
    std::uint64_t r = 0;
    if (p.b > 1) {
      for (int k = 1; k < p.k; ++k) {
        if (!next(b)) return kPastEnd;
        r = 2 * r + static_cast<std::uint64_t>(b);
      }
      if (r >= p.t) {
        if (!next(b)) return kPastEnd;
        r = 2 * r + static_cast<std::uint64_t>(b) - p.t;
      }
    }
    const std::uint64_t v = Capped(std::min<std::uint64_t>(ones, 1ull << 32) * p.b + r);
    entry = (i == 0 && start == nullptr) ? v : Capped(entry + v + 1);
    out.push_back(entry);
  }
  return kRead;
}

ListReader::Result ListReader::Plain(std::uint64_t position, std::uint64_t count, int width,
                                     std::vector<std::uint64_t>& out) {
  if (count > m_file.Size() / static_cast<unsigned>(width) ||
      !m_file.Has(position, count * static_cast<unsigned>(width))) {
    return kPastEnd;
  }
  if (!Spend(count)) return kOverBudget;
  out.reserve(out.size() + count);
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t at = position + i * static_cast<unsigned>(width);
    out.push_back(width == 1 ? m_file.U8(at) : width == 2 ? m_file.U16(at) : m_file.U32(at));
  }
  return kRead;
}

const char* ListFailure(ListReader::Result result) {
  return result == ListReader::kPastEnd ? "runs past the end of the file"
                                        : "is one list too many: the lists read so far hold more values than the "
                                          "file has bits (lists overlap)";
}

long long FirstNotAscending(const std::vector<std::uint64_t>& list) {
  for (size_t i = 1; i < list.size(); ++i) {
    if (list[i] <= list[i - 1]) return static_cast<long long>(i);
  }
  return -1;
}

Checker::Checker(cORVABookBase& b, BookCheck& o) : book(b), faults(o), out(o) {}

std::string Checker::PathOf(DWORD bit) const {
  CString folder;
  switch (bit) {
    case ORVA_TEXT:
      folder = book.GetTextPath();
      break;
    case ORVA_VIEWABLE:
      folder = book.GetViewablePath();
      break;
    case ORVA_SECTIONS:
      folder = book.GetSectionsPath();
      break;
    case ORVA_CONCORD:
      folder = book.GetConcordPath();
      break;
    case ORVA_VERSES:
      folder = book.GetVersesPath();
      break;
    case ORVA_WSYNC:
      folder = book.GetWSyncPath();
      break;
    case ORVA_VSYNC:
      folder = book.GetVSyncPath();
      break;
    case ORVA_SSYNC:
      folder = book.GetSSyncPath();
      break;
    case ORVA_DSYNC:
      folder = book.GetDSyncPath();
      break;
    default:
      return std::string();
  }
  return std::string(static_cast<const char*>(folder)) + FileNameOfBit(bit);
}

std::string Checker::KeyPlace(std::uint64_t key) {
  std::string place = "key " + std::to_string(key);
  if (!sections.IsEntry(key) || !book.IsOpen(ORVA_SECTIONS)) return place;
  try {
    const CString path = book.GetPathFromKey(static_cast<int>(key));
    const char* text = path;
    return place + " (" + Text(*text == '\\' ? text + 1 : text) + ")";
  } catch (CException* e) {
    e->Delete();
    return place;
  }
}

std::string Checker::Text(const std::string& narrow) const { return ToUtf8(narrow.data(), narrow.size(), language); }

}  // namespace orva::query::check
