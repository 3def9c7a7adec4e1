from typing import Optional

from . import raw as raw

__version__: str

class Error(Exception):
    """The base of the exceptions this module raises."""
    cause: Optional[int]

class BookNotFound(Error):
    """A folder that holds no book, or a book file that cannot be opened."""

class DamagedBook(Error):
    """A book file that is malformed or ends early."""

class BadReference(Error):
    """A reference that names nothing in the book."""
