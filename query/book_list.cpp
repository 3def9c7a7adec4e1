#include "query/book_list.h"

#include <cctype>
#include <cstring>
#include <map>

namespace orva::query {

namespace {

const ListedBook kBooks[kListedBooks] = {
    {1, "Gen", "Genesis", "gen ge gn"},
    {2, "Exod", "Exodus", "ex exo exod"},
    {3, "Lev", "Leviticus", "lev le lv"},
    {4, "Num", "Numbers", "num nu nm nb"},
    {5, "Deut", "Deuteronomy", "deut de dt"},
    {6, "Josh", "Joshua", "josh jos jsh"},
    {7, "Judg", "Judges", "judg jdg jg jdgs"},
    {8, "Ruth", "Ruth", "rth ru"},
    {9, "1Sam", "1 Samuel", "1sam 1sa 1sm 1s"},
    {10, "2Sam", "2 Samuel", "2sam 2sa 2sm 2s"},
    {11, "1Kgs", "1 Kings", "1kgs 1ki 1kin 1k"},
    {12, "2Kgs", "2 Kings", "2kgs 2ki 2kin 2k"},
    {13, "1Chr", "1 Chronicles", "1chron 1chr 1ch"},
    {14, "2Chr", "2 Chronicles", "2chron 2chr 2ch"},
    {15, "Ezra", "Ezra", "ezr"},
    {16, "Neh", "Nehemiah", "neh ne"},
    {17, "Esth", "Esther", "esth est es"},
    {18, "Job", "Job", "jb"},
    {19, "Ps", "Psalms", "ps psalm pslm psa psm pss"},
    {20, "Prov", "Proverbs", "prov pro prv pr"},
    {21, "Eccl", "Ecclesiastes", "eccles eccle ecc ec qoh eccl"},
    {22, "Song", "Song of Solomon", "song sos so songofsongs sng ca can cant canticles"},
    {23, "Isa", "Isaiah", "isa is"},
    {24, "Jer", "Jeremiah", "jer je jr"},
    {25, "Lam", "Lamentations", "lam la"},
    {26, "Ezek", "Ezekiel", "ezek eze ezk"},
    {27, "Dan", "Daniel", "dan da dn"},
    {28, "Hos", "Hosea", "hos ho"},
    {29, "Joel", "Joel", "jl"},
    {30, "Amos", "Amos", "am"},
    {31, "Obad", "Obadiah", "obad ob"},
    {32, "Jonah", "Jonah", "jnh jon"},
    {33, "Mic", "Micah", "mic mc"},
    {34, "Nah", "Nahum", "nah na"},
    {35, "Hab", "Habakkuk", "hab hb"},
    {36, "Zeph", "Zephaniah", "zeph zep zp"},
    {37, "Hag", "Haggai", "hag hg"},
    {38, "Zech", "Zechariah", "zech zec zc"},
    {39, "Mal", "Malachi", "mal ml"},
    {40, "Matt", "Matthew", "matt mt"},
    {41, "Mark", "Mark", "mrk mar mk mr"},
    {42, "Luke", "Luke", "luk lk"},
    {43, "John", "John", "joh jhn jn"},
    {44, "Acts", "Acts", "act ac"},
    {45, "Rom", "Romans", "rom ro rm"},
    {46, "1Cor", "1 Corinthians", "1cor 1co"},
    {47, "2Cor", "2 Corinthians", "2cor 2co"},
    {48, "Gal", "Galatians", "gal ga"},
    {49, "Eph", "Ephesians", "eph ephes"},
    {50, "Phil", "Philippians", "phil php pp"},
    {51, "Col", "Colossians", "col co"},
    {52, "1Thess", "1 Thessalonians", "1thess 1thes 1th"},
    {53, "2Thess", "2 Thessalonians", "2thess 2thes 2th"},
    {54, "1Tim", "1 Timothy", "1tim 1ti"},
    {55, "2Tim", "2 Timothy", "2tim 2ti"},
    {56, "Titus", "Titus", "tit ti"},
    {57, "Phlm", "Philemon", "philem phm pm phlm"},
    {58, "Heb", "Hebrews", "heb"},
    {59, "Jas", "James", "jas jm"},
    {60, "1Pet", "1 Peter", "1pet 1pe 1pt 1p"},
    {61, "2Pet", "2 Peter", "2pet 2pe 2pt 2p"},
    {62, "1John", "1 John", "1jhn 1jn 1jo 1j"},
    {63, "2John", "2 John", "2jhn 2jn 2jo 2j"},
    {64, "3John", "3 John", "3jhn 3jn 3jo 3j"},
    {65, "Jude", "Jude", "jud jd"},
    {66, "Rev", "Revelation", "rev re rv revelations apocalypse"},
    {67, "Tob", "Tobit", "tob tb"},
    {68, "Jdt", "Judith", "jdt jdth"},
    {69, "EsthGr", "Esther (Greek)", "esthgr gkesth greekesther esg"},
    {70, "Wis", "Wisdom of Solomon", "wis ws wisd wisdom"},
    {71, "Sir", "Sirach", "sir ecclus ecclesiasticus"},
    {72, "Bar", "Baruch", "bar"},
    {73, "PrAzar", "Prayer of Azariah", "prazar praz azariah songofthethree"},
    {74, "Sus", "Susanna", "sus"},
    {75, "Bel", "Bel and the Dragon", "bel"},
    {76, "1Macc", "1 Maccabees", "1macc 1mac 1ma 1mc"},
    {77, "2Macc", "2 Maccabees", "2macc 2mac 2ma 2mc"},
    {78, "1Esd", "1 Esdras", "1esd 1esdr"},
    {79, "PrMan", "Prayer of Manasseh", "prman pman prayerofmanasses"},
    {80, "AddPs", "Psalm 151", "addps ps151 psa151"},
    {81, "3Macc", "3 Maccabees", "3macc 3mac 3ma 3mc"},
    {82, "2Esd", "2 Esdras", "2esd 2esdr"},
    {83, "4Macc", "4 Maccabees", "4macc 4mac 4ma 4mc"},
    {84, "EpJer", "Letter of Jeremiah", "epjer letjer lje epistleofjeremiah letterofjeremy"},
    {85, "AddEsth", "Additions to Esther", "addesth aes"},
    {86, "DanGr", "Daniel (Greek)", "dangr gkdan greekdaniel"},
    {87, "AddDan", "Additions to Daniel", "adddan"},
    {88, "Odes", "Odes", "odes ode"},
    {89, "PssSol", "Psalms of Solomon", "psssol pssol"},
    {90, "EpLao", "Laodiceans", "eplao laod lao"},
};

// Every normalised name and abbreviation -> its book's number.
const std::map<std::string, int>& EnglishNames() {
  static const std::map<std::string, int> table = [] {
    std::map<std::string, int> map;
    for (const ListedBook& book : kBooks) {
      map.emplace(NormaliseBookName(book.name), book.number);
      const std::string abbreviations = book.abbreviations;
      for (size_t at = 0; at < abbreviations.size();) {
        const size_t end = std::min(abbreviations.find(' ', at), abbreviations.size());
        map.emplace(abbreviations.substr(at, end - at), book.number);
        at = end + 1;
      }
    }
    return map;
  }();
  return table;
}

}  // namespace

const ListedBook* ListedBookAt(int number) {
  return number >= 1 && number <= kListedBooks ? &kBooks[number - 1] : nullptr;
}

int BookNumberOfOsisID(const std::string& osisID) {
  static const std::map<std::string, int> table = [] {
    std::map<std::string, int> map;
    for (const ListedBook& book : kBooks) map.emplace(book.osisID, book.number);
    return map;
  }();
  const auto found = table.find(osisID);
  return found == table.end() ? 0 : found->second;
}

int BookNumberOfEnglishName(const std::string& name) {
  const auto found = EnglishNames().find(NormaliseBookName(name));
  return found == EnglishNames().end() ? 0 : found->second;
}

std::string NormaliseBookName(const std::string& name) {
  const size_t begin = name.find_first_not_of(" \t");
  std::string text = begin == std::string::npos ? std::string() : name.substr(begin);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const std::pair<const char*, const char*> ordinals[] = {
      {"iii ", "3"}, {"ii ", "2"}, {"i ", "1"}, {"first ", "1"}, {"second ", "2"},
      {"third ", "3"}, {"1st ", "1"}, {"2nd ", "2"}, {"3rd ", "3"}};
  for (const auto& [word, digit] : ordinals) {
    if (text.compare(0, std::strlen(word), word) == 0) {
      text = digit + text.substr(std::strlen(word));
      break;
    }
  }
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '.') out += c;
  }
  return out;
}

}  // namespace orva::query
