#include "python/src/errors.h"

#include <exception>
#include <new>
#include <string>

#include "orvada.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

PyObject* g_error = nullptr;
PyObject* g_bookNotFound = nullptr;
PyObject* g_damagedBook = nullptr;
PyObject* g_badReference = nullptr;

PyObject* NewClass(py::module_& module, const char* name, const char* doc, PyObject* base) {
  const std::string qualified = std::string("orvada.") + name;
  PyObject* cls = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, base, nullptr);
  if (cls == nullptr) throw py::error_already_set();
  module.add_object(name, py::reinterpret_borrow<py::object>(cls));
  return cls;  // the module keeps it, and the module lives as long as the process
}

// Sets the Python error `cls(message)`, with `cause` as its attribute when given.
// Messages quote paths, which need not be UTF-8: their other bytes show escaped.
void Raise(PyObject* cls, const std::string& message, py::object cause = py::none()) {
  PyObject* text = PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "backslashreplace");
  if (text == nullptr) throw py::error_already_set();
  py::object error = py::reinterpret_borrow<py::object>(cls)(py::reinterpret_steal<py::str>(text));
  error.attr("cause") = cause;
  PyErr_SetObject(cls, error.ptr());
}

// The library's message of a file exception cause, and the file when it names one.
std::string FileMessage(const CFileException& e) {
  cORVABookBase messages;
  std::string text = static_cast<const char*>(messages.GetErrorString(e.m_cause));
  if (!e.m_strFileName.IsEmpty()) text = std::string(e.m_strFileName) + ": " + text;
  return text;
}

void RaiseFileException(const CFileException& e) {
  PyObject* cls = g_error;
  if (e.m_cause == CFileException::generic || e.m_cause == CFileException::endOfFile) cls = g_damagedBook;
  if (e.m_cause == CFileException::fileNotFound || e.m_cause == CFileException::badPath) cls = g_bookNotFound;
  Raise(cls, FileMessage(e), py::int_(e.m_cause));
}

// The framework's exception `e` as a Python exception; deletes `e`.
void RaiseAndDelete(CException* e) {
  struct Deleter {
    CException* e;
    ~Deleter() { e->Delete(); }
  } deleter{e};
  if (dynamic_cast<CMemoryException*>(e) != nullptr) {
    PyErr_NoMemory();
  } else if (const auto* file = dynamic_cast<CFileException*>(e)) {
    RaiseFileException(*file);
  } else {
    Raise(g_error, "the library failed");
  }
}

void Translate(std::exception_ptr thrown) {
  try {
    std::rethrow_exception(thrown);
  } catch (CException* e) {
    RaiseAndDelete(e);
  } catch (const ClassedError& e) {
    Raise(e.pythonClass, e.message);
  } catch (const py::builtin_exception&) {
    throw;
  } catch (const py::error_already_set&) {
    throw;
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    Raise(g_error, e.what());
  } catch (...) {
    Raise(g_error, "unknown C++ exception");
  }
}

}  // namespace

void RegisterErrors(py::module_& module) {
  g_error = NewClass(module, "Error",
                     "The base of the exceptions this module raises. `cause` is the file exception's\n"
                     "cause (1 malformed, 14 past the end of a file, ...) when one was raised, else None.",
                     PyExc_Exception);
  PyObject_SetAttrString(g_error, "cause", Py_None);
  g_bookNotFound =
      NewClass(module, "BookNotFound", "A folder that holds no book, or a book file that cannot be opened.", g_error);
  g_damagedBook = NewClass(module, "DamagedBook",
                           "A book file that is malformed or ends early: the library refused to read it.", g_error);
  g_badReference = NewClass(module, "BadReference", "A reference that names nothing in the book.", g_error);
  py::register_exception_translator(Translate);
}

PyObject* ErrorClass() { return g_error; }
PyObject* BookNotFoundClass() { return g_bookNotFound; }
PyObject* DamagedBookClass() { return g_damagedBook; }
PyObject* BadReferenceClass() { return g_badReference; }

}  // namespace orvada_python
