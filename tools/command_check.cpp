// orva check: the consistency check of a book (query/check.h), or of each book of a
// library, printed.
#include <algorithm>
#include <cstdio>

#include "tools/commands.h"
#include "tools/print.h"

namespace orva::tool {

namespace {

void AppendCheck(JsonWriter& out, const std::string& dir, const query::BookCheck& check) {
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
  out.EndArray().EndObject();
}

void PrintCheck(const std::string& dir, const query::BookCheck& check) {
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
}

}  // namespace

int RunCheck(const std::string& dir, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    auto answers = library.Check();
    PrintEach(
        dir, answers, json, [](auto& answer) { PrintCheck(answer.book->Folder(), answer.answer); },
        [](JsonWriter& out, auto& answer) { AppendCheck(out, answer.book->Folder(), answer.answer); });
    const bool sound = std::all_of(answers.begin(), answers.end(), [](const auto& answer) { return answer.answer.Sound(); });
    return sound ? 0 : 1;
  }
  const query::BookCheck check = query::CheckBookFolder(dir);  // also when the identity cannot be read
  if (json) {
    JsonWriter out;
    AppendCheck(out, dir, check);
    Print(out);
  } else {
    PrintCheck(dir, check);
  }
  return check.Sound() ? 0 : 1;
}

}  // namespace orva::tool
