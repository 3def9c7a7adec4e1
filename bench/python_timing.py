#!/usr/bin/env python3
"""Times the Python module on the demo's KJV (build/kjv) against the figures it
must meet, each beside a baseline measured in the same run: the same Python loop
calling a built-in that does next to nothing (len): the cost of the loop itself.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_timing.py [BOOK] [ROUNDS]

(defaults: build/kjv, 5 rounds; prints the median of the rounds). Build the
demo first (scripts/demo.sh).
"""

import statistics
import sys
import time

import orvada


def median_seconds(run, rounds):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "build/kjv"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    book = orvada.Book(folder)
    references = ["%s %s:%s" % (b.name, c.name, v.name)
                  for b in book.toc() for c in b.children for v in c.children]
    words = [w.word for w in book.words()]

    def first_hits(search):
        hits = iter(search)
        for _ in range(10):
            next(hits)

    def read_all():
        for reference in references:
            book.read(reference)

    def find_all():
        for word in words:
            book.find(word)

    def loop(items):
        return lambda: [len(item) for item in items]

    def find_the_and_first_hits():
        first_hits(book.find("the"))

    # Iterating searches made beforehand, each once; then making the search
    # too, once right after another (the library keeps the key list of the
    # word it read last), once after a search of "and" (it decodes the list).
    the = [book.find("the") for _ in range(200 * rounds)]
    iterate_the = median_seconds(lambda: first_hits(the.pop()), 200 * rounds)
    both = median_seconds(find_the_and_first_hits, 200 * rounds)
    cold = []
    for _ in range(200 * rounds):
        book.find("and")
        cold.append(median_seconds(find_the_and_first_hits, 1))
    cold = statistics.median(cold)
    read = median_seconds(read_all, rounds)
    find = median_seconds(find_all, rounds)
    floor_refs = median_seconds(loop(references), rounds)
    floor_words = median_seconds(loop(words), rounds)

    print("| what | measured | must | loop baseline |")
    print("|---|---|---|---|")
    print('| `len(book.find("light"))` | %d | 235 | |' % len(book.find("light")))
    print('| iterating the first 10 hits of `book.find("the")` (%d hits) | %.3f ms | < 1 ms | |'
          % (len(book.find("the")), iterate_the * 1e3))
    print('| `book.find("the")` and its first 10 hits, found again | %.3f ms | | |' % (both * 1e3))
    print('| `book.find("the")` and its first 10 hits, after finding "and" | %.3f ms | | |' % (cold * 1e3))
    print("| `book.read(reference)` for every verse (%d) | %.3f s | < 2 s | %.4f s |"
          % (len(references), read, floor_refs))
    print("| `book.find(word)` for every distinct word (%d) | %.3f s | < 1 s | %.4f s |"
          % (len(words), find, floor_words))


if __name__ == "__main__":
    main()
