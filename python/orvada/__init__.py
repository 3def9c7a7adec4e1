"""Books of the ORVA format, read through the ORVADA library.

Exceptions: Error, the base of BookNotFound, DamagedBook and BadReference.
Every look-up releases the GIL and holds the library's one lock, so books may
be read from several threads.

orvada.raw is the library's own interface (the book object BookBase and the
language text functions) for hosts that want what a C++ host has.
"""

import sys as _sys

from ._orvada import BadReference, BookNotFound, DamagedBook, Error, __version__, raw

# "import orvada.raw" finds the extension's submodule.
_sys.modules[__name__ + ".raw"] = raw

__all__ = ["Error", "BookNotFound", "DamagedBook", "BadReference", "raw", "__version__"]
