// Language strings to tagged strings and back.
#include <string>

#include "langtext/tagged_string.h"

namespace {

constexpr unsigned short kDefaultLanguage = cLanguageString::kDefaultLanguage;

void AppendTag(std::string& out, const cLanguageDatum& language) {
  const CString name(cLanguageString(language.GetName(), kDefaultLanguage));
  out += static_cast<char>(ORVA_LANGUAGE_TAG_START);
  out.append(name, static_cast<size_t>(name.GetLength()));
  out += static_cast<char>(ORVA_LANGUAGE_TAG_END);
}

}  // namespace

void LangToTaggedStrings(const cLanguageString& text, CString& tagged, CStringArray& alternatives) {
  tagged.Empty();
  alternatives.RemoveAll();
  if (text.IsEmpty()) return;
  const OrvaToILI& languages = OrvaToILI::Instance();
  const cLanguageDatum* current = languages.OrvaLangIdToLanguageDatum(kDefaultLanguage);
  const unsigned short* chars = text.GetString();
  const unsigned short* ids = text.GetLanguageIDs();
  const int length = static_cast<int>(text.GetLength());
  std::string out;
  CString forms;
  AfxAllocating([&] {
    for (int position = 0; position < length;) {
      if (ids[position] != current->GetLanguageID()) {
        if (const cLanguageDatum* next = languages.OrvaLangIdToLanguageDatum(ids[position])) {
          current = next;
          AppendTag(out, *current);
        }
      }
      int used = 1;
      MapUnicodeToASCII(chars + position, used, forms, current->GetTable(), current->GetFirstValidIndex(),
                        current->GetValidCount());
      if (forms.GetLength() > 1) {
        out += static_cast<char>(ORVA_AMBIGUOUS_PLACEHOLDER);
        alternatives.Add(forms);
      } else {
        out.append(forms, static_cast<size_t>(forms.GetLength()));
      }
      position += used;
    }
    tagged = CString(out.data(), static_cast<int>(out.size()));
  });
}

CString LangToPackagedString(const cLanguageString& text) {
  CString tagged;
  CStringArray alternatives;
  LangToTaggedStrings(text, tagged, alternatives);
  return PackageAmbiguity(tagged, alternatives);
}

cLanguageString TaggedStringToLang(const char* tagged) {
  cLanguageString result;
  if (!tagged) return result;
  unsigned short current = kDefaultLanguage;
  cLanguageString run;
  int runStart = 0;
  int position = 0;
  const auto flush = [&](int end) {
    if (end <= runStart) return;
    run.SingleByteToWideChar(tagged + runStart, current, static_cast<unsigned>(end - runStart));
    result += run;
  };
  while (tagged[position] != 0) {
    int tagEnd = position;
    unsigned short language = current;
    if (tagged[position] != ORVA_LANGUAGE_TAG_START || !ParseLanguageTag(tagged, tagEnd, language)) {
      ++position;
      continue;
    }
    // A tag of the language already current changes nothing, but its bytes are not
    // text: ending the run there converts the same characters.
    flush(position);
    current = language;
    position = tagged[tagEnd] != 0 ? tagEnd + 1 : tagEnd;
    runStart = position;
  }
  flush(position);
  return result;
}
