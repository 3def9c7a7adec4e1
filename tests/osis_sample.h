// A small OSIS document in Spanish for the tests of the OSIS reader and of orva
// build: books, chapters and verses as milestones (Psalms) and as containers
// (Tobit, John), notes, titles, Strong's numbers with and without leading zeros
// and several in one lemma, a verse of two numbers, text outside the books.
#pragma once

namespace orva::test {

// Line 5 starts Psalms (its verses on 7 and 8), line 11 Tobit (13, 14), line 18 John.
constexpr const char* kOsisSample =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<osis xmlns=\"http://www.bibletechnologies.net/2003/OSIS/namespace\"><osisText osisIDWork=\"T\" xml:lang=\"es\">\n"
    "<header><work osisWork=\"T\"><title>Biblia de prueba</title><rights>Dominio p\xC3\xBA" "blico</rights></work></header>\n"
    "<div type=\"front\">Pr\xC3\xB3logo que no es texto.</div>\n"
    "<div type=\"book\" osisID=\"Ps\" sID=\"b1\"/><milestone type=\"x-usfm-h\" n=\"Salmos\"/><title type=\"main\">El libro de los Salmos</title>\n"
    "<chapter osisID=\"Ps.23\" sID=\"c1\"/><title type=\"psalm\">Salmo de <w lemma=\"strong:H1732\">David</w>.</title>\n"
    "<verse osisID=\"Ps.23.1\" sID=\"v1\"/><w lemma=\"strong:H3068\">JEHOV\xC3\x81</w> es mi "
    "<w lemma=\"strong:H07462\">pastor</w>; nada me faltar\xC3\xA1.<verse eID=\"v1\"/>\n"
    "<verse osisID=\"Ps.23.2\" sID=\"v2\"/>En lugares de delicados pastos me har\xC3\xA1 "
    "<w lemma=\"strong:H7257 H1878\">yacer</w><note>Heb. una nota</note>junto a aguas.<verse eID=\"v2\"/>\n"
    "<chapter eID=\"c1\"/>\n"
    "<div type=\"book\" eID=\"b1\"/>\n"
    "<div type=\"book\" osisID=\"Tob\"><title type=\"main\" short=\"Tob\xC3\xAD" "as\">Libro de Tob\xC3\xAD" "as</title>\n"
    "<chapter osisID=\"Tob.1\">\n"
    "<verse osisID=\"Tob.1.1\">Libro de las palabras de <w lemma=\"strong:G5103\">Tobit</w>.</verse>\n"
    "<verse osisID=\"Tob.1.2 Tob.1.3\">En tiempo de <w lemma=\"strong:G0025 strong:G26\">Enemessar el rey</w>.</verse>\n"
    "</chapter>\n"
    "<title>Escrito en N\xC3\xADnive.</title>\n"
    "</div>\n"
    "<div type=\"book\" osisID=\"John\"><chapter osisID=\"John.3\"><verse osisID=\"John.3.16\">Porque de tal manera "
    "<w lemma=\"strong:G25\">am\xC3\xB3</w> Dios al mundo, <q who=\"Jesus\">que ha dado \xC3\xA1 su "
    "<divineName>Hijo</divineName></q>.</verse></chapter></div>\n"
    "</osisText></osis>\n";

}  // namespace orva::test
