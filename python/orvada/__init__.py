"""Books of the ORVA format, read through the ORVADA library.

    import orvada

    with orvada.Book("build/kjv") as kjv:
        print(kjv.read("John 3:16")[0].text)
        print(len(kjv.find("light")))

Book and Library are the way in; their answers are Verse, Section, Entry,
Info, Word, Translation, Search (of Hit), Row, Study and Usage objects, text
always str. Errors raise Error or one of its subclasses BookNotFound,
DamagedBook and BadReference, with the library's message.

Threads: every question releases the GIL and holds the library's one lock
while it reads, so other Python threads run meanwhile. A Book (or Library) may
be used from one thread at a time; separate objects, of the same book too,
from separate threads.

orvada.raw is the library's own interface (the book object BookBase and the
language text functions) for hosts that want what a C++ host has.
"""

import sys as _sys

from ._orvada import (BadReference, Book, BookNotFound, DamagedBook, Entry, Error, Hit, Info, Library, Row,
                      Search, Section, Study, Translation, Usage, Verse, Word, __version__, raw)

# "import orvada.raw" finds the extension's submodule.
_sys.modules[__name__ + ".raw"] = raw

# Documented, and shown by repr, under the package's name.
for _cls in (Book, Library, Verse, Section, Entry, Info, Word, Translation, Search, Hit, Row, Study, Usage):
    _cls.__module__ = __name__
del _cls

__all__ = ["Book", "Library", "Verse", "Section", "Entry", "Info", "Word", "Translation", "Search", "Hit", "Row",
           "Study", "Usage", "Error", "BookNotFound", "DamagedBook", "BadReference", "raw", "__version__"]
