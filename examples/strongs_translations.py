#!/usr/bin/env python3
"""How each Bible of a library renders a Strong's number, beside its lexicon entry.

    PYTHONPATH=build/python python3 examples/strongs_translations.py [LIBRARY] [NUMBER]

(defaults: build/library, the demo's study library, and G25).
"""

import sys

import orvada


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "build/library"
    number = sys.argv[2] if len(sys.argv) > 2 else "G25"
    try:
        with orvada.Library(folder) as library:
            study = library.strongs(number, verses=1)
            for lexicon, entry in study.entries.items():
                print("%s, %s: %s" % (lexicon, entry.reference, " ".join(entry.paragraphs)[:100]))
            for bible, usage in study.bibles.items():
                renderings = ", ".join("%s %d" % (t.words, t.count) for t in usage.translations[:6])
                print("%-6s %4d verses: %s" % (bible, usage.count, renderings))
                for verse in usage.verses:
                    tagged = [word for word, numbers in verse.strongs if study.number in numbers]
                    print("       %s: %s  [%s]" % (verse.reference, verse.text, " ".join(tagged)))
    except orvada.Error as e:
        sys.exit("strongs_translations: %s" % e)


if __name__ == "__main__":
    main()
