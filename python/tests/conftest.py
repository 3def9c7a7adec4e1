"""Fixtures of the Python tests: small books built by the orva program.

ctest runs these tests with the package of the build tree on PYTHONPATH, the
orva program in ORVA_PROGRAM and, but under the sanitizers, the KJV book it
builds in ORVA_KJV (python/CMakeLists.txt).
"""

import contextlib
import os
import subprocess

import pytest

import orvada.raw as raw

SCRIPTURE = (
    "Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
    "Genesis 1:2\tAnd the earth was without form, and void.\n"
    "Genesis 1:3\tAnd God said, Let there be light: and there was light.\n"
    "Genesis 2:1\tThus the heavens and the earth were finished.\n"
    "John 1:1\tIn the beginning was the Word.\n"
    "John 1:5\tAnd the light shineth in darkness.\n"
    "John 3:16\tFor God so loved the world.\n"
)

DICTIONARY = "Abba\tfather\nbread\tfood made of flour\n"

# A Bible whose words carry Strong's numbers, and a lexicon of two of them.
OSIS = """<osis><osisText>
<div type="book" osisID="Gen"><chapter osisID="Gen.1">
<verse osisID="Gen.1.1">In the beginning <w lemma="strong:H430">God</w> created the heaven.</verse>
</chapter></div>
<div type="book" osisID="John"><chapter osisID="John.3">
<verse osisID="John.3.16">For <w lemma="strong:G2316">God</w> so <w lemma="strong:G25">loved</w> the world.</verse>
</chapter></div>
</osisText></osis>
"""

LEXICON = ("G25\t\u1f00\u03b3\u03b1\u03c0\u03ac\u03c9\tagapao\tag-ap-ah'-o\tto love\n"
           "G2316\t\u03b8\u03b5\u03cc\u03c2\ttheos\ttheh'-os\ta deity\n")

# The flag bit of each file of a book.
FILE_BITS = {"book.dat": raw.ORVA_TEXT, "viewable.idx": raw.ORVA_VIEWABLE, "sections.idx": raw.ORVA_SECTIONS,
             "concord.idx": raw.ORVA_CONCORD, "verses.idx": raw.ORVA_VERSES, "wsync.idx": raw.ORVA_WSYNC,
             "vsync.idx": raw.ORVA_VSYNC, "ssync.idx": raw.ORVA_SSYNC, "dsync.idx": raw.ORVA_DSYNC}


def build(tmp_path_factory, name, source, *options):
    """Builds a book from `source` text with `orva build` and returns its folder."""
    folder = tmp_path_factory.mktemp(name)
    text = folder / "source.txt"
    text.write_text(source, encoding="utf-8")
    book = folder / "book"
    # Under the sanitizers the interpreter has their runtime preloaded, which the
    # orva program carries itself.
    environment = {name: value for name, value in os.environ.items() if name != "LD_PRELOAD"}
    subprocess.run([os.environ["ORVA_PROGRAM"], "build", *options, str(text), "-o", str(book)],
                   check=True, capture_output=True, env=environment)
    return book


@pytest.fixture(scope="session")
def bible(tmp_path_factory):
    """A Bible of seven verses: compressed text, coded lists, publisher 3, book 9."""
    return build(tmp_path_factory, "bible", SCRIPTURE, "--compress", "--coded", "--publisher", "3",
                 "--book", "9", "--title", "Small Bible")


@pytest.fixture(scope="session")
def dictionary(tmp_path_factory):
    """A glossary of two headwords with a word sync index."""
    return build(tmp_path_factory, "dictionary", DICTIONARY, "--dictionary", "--publisher", "3", "--book", "10")


@pytest.fixture(scope="session")
def library(tmp_path_factory):
    """A library: the OSIS Bible ("tagged"), a Bible from text ("plain"), the lexicon ("greek")."""
    folder = tmp_path_factory.mktemp("library")
    for name, source, options in (("tagged", OSIS, ()), ("plain", SCRIPTURE, ()), ("greek", LEXICON, ("--lexicon",))):
        build(tmp_path_factory, name, source, *options).rename(folder / name)
    return folder


@pytest.fixture(scope="session")
def kjv():
    """The KJV that ctest builds for the end-to-end tests (ORVA_KJV); not under the sanitizers."""
    if "ORVA_KJV" not in os.environ:
        pytest.skip("no KJV book (ORVA_KJV): not built under the sanitizers")
    return os.environ["ORVA_KJV"]


@contextlib.contextmanager
def opened(folder, book=None):
    """A BookBase pointed at `folder` with every part it has opened, closed afterwards.

    Books of one identity share their open files: a test that opens a changed
    copy of a book must close the original first.
    """
    book = book if book is not None else raw.BookBase()
    raw.PointBookAt(book, folder)
    parts = sum(bit for name, bit in FILE_BITS.items() if (folder / name).exists())
    assert book.Open(parts) == raw.ORVA_OK
    try:
        yield book
    finally:
        book.Close(raw.ORVA_ALL_OPEN)
