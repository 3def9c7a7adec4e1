// orva check: the consistency check of a book (query/check.h), printed.
#include <cstdio>

#include "tools/commands.h"
#include "tools/json.h"
#include "query/check.h"

namespace orva::tool {

namespace {

void PrintJson(const std::string& dir, const query::BookCheck& check) {
  JsonWriter out;
  out.BeginObject().Member("book", dir).Member("sound", check.Sound()).Member("faultCount", check.faultCount);
  out.Key("faults").BeginArray();
  for (const query::BookFault& fault : check.faults) {
    out.BeginObject().Member("file", fault.file).Member("place", fault.place).Member("message", fault.message);
    out.Member("kind", fault.kind).EndObject();
  }
  out.EndArray().Key("unlisted").BeginArray();
  for (const query::UnlistedFaults& more : check.unlisted) {
    out.BeginObject().Member("file", more.file).Member("kind", more.kind).Member("count", more.count).EndObject();
  }
  out.EndArray().Key("checked").BeginArray();
  for (const std::string& line : check.checked) out.Value(line);
  std::fputs(out.EndArray().EndObject().Text().c_str(), stdout);
}

}  // namespace

int RunCheck(const std::string& dir, bool json) {
  const query::BookCheck check = query::CheckBookFolder(dir);
  if (json) {
    PrintJson(dir, check);
    return check.Sound() ? 0 : 1;
  }
  for (const query::BookFault& fault : check.faults) {
    std::printf("%s: %s%s%s\n", fault.file.c_str(), fault.place.c_str(), fault.place.empty() ? "" : ": ",
                fault.message.c_str());
  }
  for (const query::UnlistedFaults& more : check.unlisted) {
    std::printf("%s: %lld more faults of the kind \"%s\", not listed\n", more.file.c_str(), more.count,
                more.kind.c_str());
  }
  if (check.Sound()) {
    std::printf("%s: the book is sound\n", dir.c_str());
  } else {
    std::printf("%s: %lld fault%s\n", dir.c_str(), check.faultCount, check.faultCount == 1 ? "" : "s");
  }
  for (const std::string& line : check.checked) std::printf("  %s\n", line.c_str());
  return check.Sound() ? 0 : 1;
}

}  // namespace orva::tool
