// BookBase members of the text: book.dat and viewable.idx.
#include <memory>

#include "python/src/book_base.h"
#include "python/src/conversions.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// A buffer of `size` bytes, left uninitialised: the pages of a large one that a
// damaged descriptor asks for are never touched when the library then refuses it.
std::unique_ptr<char[]> Buffer(size_t size) { return std::unique_ptr<char[]>(new char[size == 0 ? 1 : size]); }

}  // namespace

void BindBookText(BookClass& cls) {
  cls.def(
         "GetViewableAreaSize",
         [](cORVABookBase& b, int area) { return BookCall(b, [&] { return b.GetViewableAreaSize(area); }); },
         py::arg("area"),
         "The size of area `area` in bytes (the preamble's and its block's); 0 when it cannot be read.")
      .def(
          "GetViewableArea",
          [](cORVABookBase& b, int area) -> py::object {
            std::unique_ptr<char[]> buffer;
            int size = 0;
            const int result = BookCall(b, [&] {
              size = b.GetViewableAreaSize(area);
              buffer = Buffer(static_cast<size_t>(size));
              return b.GetViewableArea(area, buffer.get());
            });
            if (result != 0) return py::none();
            return ToBytes(buffer.get(), static_cast<size_t>(size));
          },
          py::arg("area"),
          "Area `area`: the preamble followed by the text of its block, GetViewableAreaSize(area) bytes; None "
          "when the library returns 1 (the preamble or the descriptor cannot be read).")
      .def(
          "GetFirstViewableAreaChunk",
          [](cORVABookBase& b, int area, unsigned int chunkSize) {
            std::unique_ptr<char[]> buffer;
            const int length = BookCall(b, [&] {
              buffer = Buffer(chunkSize);
              Host(b).chunkSize = chunkSize;
              return b.GetFirstViewableAreaChunk(area, chunkSize, buffer.get());
            });
            return ToBytes(buffer.get(), static_cast<size_t>(length > 0 ? length : 0));
          },
          py::arg("area"), py::arg("chunkSize"),
          "Starts reading area `area` in chunks of at most `chunkSize` bytes (below 2 GiB) and returns the "
          "first; empty at failure.")
      .def(
          "GetNextViewableAreaChunk",
          [](cORVABookBase& b) {
            std::unique_ptr<char[]> buffer;
            const int length = BookCall(b, [&] {
              buffer = Buffer(Host(b).chunkSize);
              return b.GetNextViewableAreaChunk(buffer.get());
            });
            return ToBytes(buffer.get(), static_cast<size_t>(length > 0 ? length : 0));
          },
          "The next chunk of the area begun by GetFirstViewableAreaChunk; empty when it is exhausted or at "
          "failure.")
      .def(
          "GetViewableBlockSize",
          [](cORVABookBase& b, int block) { return BookCall(b, [&] { return b.GetViewableBlockSize(block); }); },
          py::arg("block"), "The text size of block `block`; 0 when the number is not valid.")
      .def(
          "GetViewableBlock",
          [](cORVABookBase& b, int block) -> py::object {
            std::unique_ptr<char[]> buffer;
            int size = 0;
            const int result = BookCall(b, [&] {
              size = b.GetViewableBlockSize(block);
              buffer = Buffer(static_cast<size_t>(size));
              return b.GetViewableBlock(block, buffer.get());
            });
            if (result != 0) return py::none();
            return ToBytes(buffer.get(), static_cast<size_t>(size));
          },
          py::arg("block"), "The text of block `block` alone, without the preamble; None when the library returns 1.")
      .def(
          "GetBookHeaderData",
          [](cORVABookBase& b) {
            sVersionRecord record{};
            BookCall(b, [&] { b.GetBookHeaderData(record); });
            return record;
          },
          "book.dat's version record (its first 18 bytes; those the record lacks are zero).")
      .def(
          "GetHeaderControlWordData",
          [](cORVABookBase& b, py::handle word) {
            const CString name = Bytes8(word);
            return ToBytes(BookCall(b, [&] { return b.GetHeaderControlWordData(name); }));
          },
          py::arg("word"),
          "The data of control word `word` (\"{\\\\NAME:data}\" in book.dat's header text) as the header holds "
          "it; empty when the word is missing.");
}

}  // namespace orvada_python
