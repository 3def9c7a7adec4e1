// OSIS documents (the open XML standard for Bibles) as scripture sources, read
// as a stream with expat: a document of tens of megabytes is parsed as it is
// decompressed and never held whole; what it leaves in memory is the Scripture.
//
// What is read:
// - Books: <div type="book" osisID="Gen">, as a container or as a pair of
//   milestones (sID ... eID). The osisID must be one of the list of books
//   (query/book_list.h), which gives the book its number. Chapters:
//   <chapter osisID="Gen.1">, containers or milestones, or none at all (a
//   verse's osisID names its chapter). Verses: <verse osisID="Gen.1.1">,
//   containers or milestones. An osisID that lists several verses of one
//   chapter ("Sir.11.15 Sir.11.16") is one verse covering each of the numbers;
//   a work named before an osisID ("Bible:Gen.1.1") is passed over.
// - A book's name: the short name the document gives it (a book title's `short`
//   attribute, else the n of its x-usfm-h milestone, else of its x-usfm-toc2
//   milestone: "John", "Juan", what a reader types), else its English name from
//   the list. Long titles ("THE GOSPEL ACCORDING TO ST. JOHN") name no book.
// - The document's title (<title> of the header's first <work>), its rights
//   (<rights>), and its language: xml:lang of <osisText> or <osis>, else the
//   header's <language>.
// - A verse's text: its character data, each run of blanks and line ends one
//   blank, trimmed; the words of every element in it (<w>, <transChange>,
//   <divineName>, <q>, <l>, <lg>, <seg>, <foreign>, ...) except these: a note
//   (<note>, with everything in it) is left out of the text and counted; a title
//   or speaker label (<title>, <speaker>) in a verse becomes a line above it.
//   Where a note, or the edge of a line, line group, paragraph, list item or
//   milestone, stands between two letters with no blank, a blank is put, so that
//   the words stay apart ("God<note>...</note>created").
// - Strong's numbers: each number of the lemma of a <w> in a verse
//   (lemma="strong:G25", "strong:H5315 H2416": a value without a prefix takes
//   the one before it; values under another prefix are not Strong's numbers)
//   tags every word of the <w>'s text.
// - Between the verses of a book, from its first chapter on, each title, speaker
//   label and piece of other text becomes a line shown above the next verse (a
//   psalm title, "BOOK 2"), or below the book's last verse when no verse follows
//   in the book (a letter's subscription).
// - Left out, and counted in words: text outside books (a preface, a glossary)
//   and text of a book before its first chapter other than its name (an
//   introduction). Chapters and books without verses are left out.
//
// Faults raise SourceError with the line: a document that is not well-formed
// XML (the parser's message); a book osisID that is not in the list, or a book
// that comes twice; a chapter or verse outside any book, or naming another book
// than the one it stands in; an osisID that is not Book.Chapter.Verse (or
// Book.Chapter) with numbers from 1 to 65535; a chapter or verse that comes
// twice (a chapter that comes again after another, a verse number not above the
// one before it in its chapter); a verse, chapter or book that starts inside a
// verse (or a chapter inside a chapter, a book inside a book); an end milestone
// that ends nothing open, or what another element opened; a book, chapter or
// verse that has no end; a "strong:" lemma value that is no Strong's number
// (zalang::StrongsWord); a document without verses.
#pragma once

#include <functional>
#include <string>

#include "writer/source_stream.h"
#include "writer/source_text.h"

namespace orva::writer {

// Whether the source looks like XML: after a byte order mark and blanks, its first
// byte is '<'. A verse-per-line text never starts so.
bool LooksLikeXml(SourceStream& in);

// Reads the whole OSIS document of `in`; `progress` (when given) is told how
// much of the file has been read, from 0 to 1, now and then.
Scripture ParseOsis(SourceStream& in, const std::function<void(double done)>& progress = {});

// The language library's id of an xml:lang value by its primary subtag (en 1033,
// de 1031, fr 1036, es 1034, el and grc 1032, he and hbo 1037; case does not
// count), 0 for another.
unsigned short LanguageOfTag(const std::string& tag);

}  // namespace orva::writer
