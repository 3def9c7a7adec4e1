// Small sources of the study works (a lexicon, a topical index, a reading plan)
// and a small English Bible in OSIS, for the tests of those books and of a
// library (with the Spanish OSIS sample of tests/osis_sample.h).
#pragma once

namespace orva::test {

// Greek polytonic (psili, oxia, perispomeni, ypogegrammeni), Hebrew with points
// and maqaf, transliterations with macron, breve, cedilla, the reversed-9 mark,
// a circumflex on y and a grave over a macron (which the English table lacks).
constexpr const char* kLexicon =
    "G0026\tἀγάπη\tagápē\tag-ah'-pay\tfrom {\\strongs:G25};\tlove, i.e. affection\n"
    "G25\tἀγαπάω\tagapáō\tag-ap-ah'-o\tto love (in a social sense); compare {\\strongs:H157|H0157}\n"
    "G5624\tᾠδῇ ŷ ḕ\t\t\tNot Used\n"
    "H430\tאֱלֹהִים\t'ĕlôhîym ţ‛\tel-o-heem'\tgods; see {\\verse:Gen.1.1|Gen 1:1} and {\\verse:1,2}\n"
    "H157\tאָהַב־\t'âhab\taw-hab'\tto love\n";

constexpr const char* kTopics =
    "Faith\t→ General {\\verse:John.3.16|Joh 3:16}; {\\verse:Ps.34.1-Ps.34.3|Ps 34:1-3}\t→ WEAK\tSee "
    "{\\word:DOUBTING}\n"
    "DOUBTING\tSee {\\verse:Rom.2|Ro 2}; {\\verse:43,3,16|Joh 3:16}; {\\word:Faith}\n";

constexpr const char* kPlan =
    "01-01\t{\\verse:Gen.1-Gen.3|Genesis 1-3}\n"
    "02-29\tNo reading\n"
    "12-25\t{\\verse:1John.2-1John.5|1 John 2-5}; {\\verse:2John.1|2 John 1}\n";

// An English Bible with Strong's numbers: Genesis 1:1, Psalm 23:1, Psalm 34:1-3
// (which kTopics names) and John 3:16-17, where "loved" translates G25 as "amó"
// does in the Spanish sample.
constexpr const char* kOsisEnglishSample =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<osis><osisText osisIDWork=\"E\" xml:lang=\"en\"><header><work osisWork=\"E\"><title>Small English Bible</title>"
    "</work></header>\n"
    "<div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><verse osisID=\"Gen.1.1\">In the beginning "
    "<w lemma=\"strong:H430\">God</w> created the heaven and the earth.</verse></chapter></div>\n"
    "<div type=\"book\" osisID=\"Ps\"><chapter osisID=\"Ps.23\"><verse osisID=\"Ps.23.1\">The "
    "<w lemma=\"strong:H3068\">LORD</w> is my shepherd.</verse></chapter>\n"
    "<chapter osisID=\"Ps.34\"><verse osisID=\"Ps.34.1\">I will bless the LORD at all times.</verse>"
    "<verse osisID=\"Ps.34.2\">My soul shall make her boast in the LORD.</verse>"
    "<verse osisID=\"Ps.34.3\">O magnify the LORD with me.</verse></chapter></div>\n"
    "<div type=\"book\" osisID=\"John\"><chapter osisID=\"John.3\"><verse osisID=\"John.3.16\">For God so "
    "<w lemma=\"strong:G25\">loved</w> the <w lemma=\"strong:G2889\">world</w>.</verse>"
    "<verse osisID=\"John.3.17\">For God sent not his Son to condemn the world.</verse></chapter></div>\n"
    "</osisText></osis>\n";

}  // namespace orva::test
