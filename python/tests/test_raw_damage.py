"""Damaged books and threads: exceptions, never a crash or wrong text."""

import random
import shutil
import threading

import pytest

import orvada
import orvada.raw as raw
from conftest import FILE_BITS


def read_everything(book):
    """Calls every reading member on the parts of `book`; the exceptions it raised."""
    raised = []

    def call(member, *args):
        try:
            return member(*args)
        except orvada.Error as e:
            raised.append(e)
            return None

    call(book.GetHeaderControlWordData, "TITLE")
    call(book.GetBookHeaderData)
    for area in range(6):
        call(book.GetViewableArea, area)
        call(book.GetViewableBlock, area)
        chunk = call(book.GetFirstViewableAreaChunk, area, 16)
        for _ in range(100):
            if not chunk:
                break
            chunk = call(book.GetNextViewableAreaChunk)
    call(book.GetSectionHeader)
    call(book.GetSectionKey, "John\\3\\16")
    call(book.GetNonBibleSections)
    for key in range(-2, 14):
        for member in (book.GetEntry, book.GetPathFromKey, book.GetSectionsArray, book.GetSiblingSectionCount,
                       book.SectionWordCount):
            call(member, key)
        call(book.GetFormattedPathFromKey, key, " ")
        call(book.EnumSections, key, lambda section: True)
        call(book.GetSectionNamesForRange, key, 0, 20)
    for language in call(book.ListLanguages) or []:
        call(book.WordCount, language)
        call(book.GetFirstWord, language)
        for _ in range(40):
            step = call(book.GetNextWord)
            if not step or step[0] < 0:
                break
        call(book.GetWordlistAtKey, 0, 40)
        for word_key in range(20):
            found = call(book.GetKeysForWord, word_key)
            for key in (found or (0, []))[1][:3]:
                call(book.GetWordPositionList, word_key, key)
    call(book.FindNearestMatchingWord, "l")
    call(book.GetKeysForWord, "light")
    call(book.GetVerseOccurrences, 1, 1, 1)
    call(book.GetChapterOccurrencesAllVerses, 1, 1)
    call(book.GetBookOccurrencesAllVerses, 1)
    call(book.GetVSyncKey, "43,3,16")
    call(book.GetWSyncKey, "bread")
    call(book.GetWSyncKeyPartialMatch, "b")
    call(book.GetSyncWordAt, 1)
    call(book.GetSyncFileData)
    return raised


def damaged_copies(book, tmp_path):
    """Copies of `book` with one file cut short or with bytes flipped, each with the name
    of its file: every file at five lengths and with eight seeded flips of one byte."""
    rng = random.Random(20240)
    for name in sorted(FILE_BITS):
        if not (book / name).exists():
            continue
        data = (book / name).read_bytes()
        variants = [data[:n] for n in (0, 1, 17, len(data) // 2, len(data) - 1)]
        for _ in range(8):
            at = rng.randrange(len(data))
            variants.append(data[:at] + bytes([data[at] ^ rng.randrange(1, 256)]) + data[at + 1:])
        for variant in variants:
            copy = tmp_path / "copy"
            shutil.rmtree(copy, ignore_errors=True)
            shutil.copytree(book, copy)
            (copy / name).write_bytes(variant)
            yield name, copy


@pytest.mark.parametrize("which", ["bible", "dictionary"])
def test_damaged_files_raise_damaged_book(which, request, tmp_path):
    book_folder = request.getfixturevalue(which)
    refused = set()
    for name, copy in damaged_copies(book_folder, tmp_path):
        book = raw.BookBase()
        raw.PointBookAt(book, book_folder)  # the identity of the intact book, the files of the copy
        for setter in (book.SetTextPath, book.SetViewablePath, book.SetSectionsPath, book.SetConcordPath,
                       book.SetVersesPath, book.SetWSyncPath, book.SetVSyncPath):
            setter(f"{copy}/")
        try:
            parts = sum(bit for file, bit in FILE_BITS.items() if (copy / file).exists())
            if book.Open(parts) != raw.ORVA_OK:
                refused.add(name)
                continue
        except orvada.DamagedBook:
            refused.add(name)
            continue
        try:
            if any(isinstance(e, orvada.DamagedBook) for e in read_everything(book)):
                refused.add(name)
        finally:
            book.Close()
    # Every file is refused at least once: cut to half its length, it cannot be read.
    assert refused == {name for name in FILE_BITS if (book_folder / name).exists()}


def test_separate_books_from_separate_threads(bible):
    def read(book):
        texts = [book.GetViewableArea(area) for area in range(1, 4)]
        words = book.GetWordlistAtKey(0, book.WordCount(1033))
        return texts, [book.GetKeysForWord(word) for word in words]

    def open_book():
        book = raw.BookBase()
        raw.PointBookAt(book, bible)
        assert book.Open(raw.ORVA_TEXT | raw.ORVA_VIEWABLE | raw.ORVA_CONCORD) == raw.ORVA_OK
        return book

    first = open_book()
    expected = read(first)
    results, failures = [], []

    def worker():
        book = open_book()
        try:
            for _ in range(300):
                results.append(read(book) == expected)
        except Exception as e:  # reported below
            failures.append(e)
        finally:
            book.Close()

    threads = [threading.Thread(target=worker) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    first.Close()
    assert failures == [] and results == [True] * 1200
