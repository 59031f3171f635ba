// Python views of the exported records: one property per field, built from the generated table.
//
// Texts are GBK in the records and str for the user. They decode with surrogateescape, so bytes that
// are not GBK come back unchanged when a record read from the library is sent again; a text that does
// not fit its field raises ValueError instead of being cut.
//
// Threads: these functions run with the GIL held, like every Python method.
#ifndef NARV_PYTHON_RECORD_FIELDS_H
#define NARV_PYTHON_RECORD_FIELDS_H

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstring>
#include <string>
#include <vector>

namespace narv_python {

namespace py = pybind11;

inline constexpr const char* kTextEncoding = "gbk";
inline constexpr const char* kTextErrors = "surrogateescape";

[[nodiscard]] inline py::str DecodeText(const char* text, std::size_t width) {
    PyObject* decoded =
        PyUnicode_Decode(text, static_cast<Py_ssize_t>(strnlen(text, width)), kTextEncoding, kTextErrors);
    if (decoded == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(decoded);
}

/// The GBK bytes of value; NUL would end the text early, so it is refused.
[[nodiscard]] inline std::string EncodeText(const py::str& value, const char* name) {
    PyObject* encoded = PyUnicode_AsEncodedString(value.ptr(), kTextEncoding, kTextErrors);
    if (encoded == nullptr) throw py::error_already_set();  // UnicodeEncodeError, a ValueError
    std::string bytes = py::reinterpret_steal<py::bytes>(encoded);
    if (bytes.find('\0') != std::string::npos) throw py::value_error(std::string(name) + ": the text contains NUL");
    return bytes;
}

inline void StoreText(const py::str& value, char* target, std::size_t width, const char* name) {
    const std::string bytes = EncodeText(value, name);
    if (bytes.size() >= width) {
        throw py::value_error(std::string(name) + " holds at most " + std::to_string(width - 1) +
                              " bytes of GBK text, got " + std::to_string(bytes.size()));
    }
    std::memset(target, 0, width);
    std::memcpy(target, bytes.data(), bytes.size());
}

template <typename Record, std::size_t Width>
void BindField(py::class_<Record>& cls, const char* name, char (Record::*member)[Width], const char* doc) {
    cls.def_property(
        name, [member](const Record& record) { return DecodeText(record.*member, Width); },
        [member, name](Record& record, const py::str& value) { StoreText(value, record.*member, Width, name); }, doc);
}

/// A code field: a one-character str, '' for a zero byte. Bytes map to code points 0-255 one to one.
template <typename Record>
void BindField(py::class_<Record>& cls, const char* name, char Record::*member, const char* doc) {
    cls.def_property(
        name,
        [member](const Record& record) -> py::str {
            const auto code = static_cast<unsigned char>(record.*member);
            if (code == 0) return py::str("");
            return py::reinterpret_steal<py::str>(PyUnicode_FromOrdinal(code));
        },
        [member, name](Record& record, const py::str& value) {
            const std::u32string text = value.cast<std::u32string>();
            if (text.size() > 1 || (text.size() == 1 && text[0] > 0xFF)) {
                throw py::value_error(std::string(name) + " takes one character (or '')");
            }
            record.*member = text.empty() ? '\0' : static_cast<char>(text[0]);
        },
        doc);
}

template <typename Record, typename Number>
void BindField(py::class_<Record>& cls, const char* name, Number Record::*member, const char* doc) {
    cls.def_readwrite(name, member, doc);
}

/// The class of one record: empty or keyword construction, repr, dict and byte conversions, equality.
template <typename Record>
py::class_<Record> BindRecordClass(py::module_& module, const char* name, const char* doc) {
    py::class_<Record> cls(module, name, doc);
    cls.def(py::init([](const py::kwargs& fields) {
                Record record{};
                if (fields.empty()) return record;
                py::object view = py::cast(record);
                for (const auto& item : fields) py::setattr(view, item.first, item.second);
                return view.cast<Record>();
            }),
            "An empty record (every byte zero); keyword arguments set fields by name.");
    cls.def(
        "to_dict",
        [](const py::object& self) {
            py::dict fields;
            for (const auto& field : self.attr("_fields")) fields[field] = self.attr(field);
            return fields;
        },
        "The fields as a dict, in the record's order.");
    cls.def("__repr__", [name](const py::object& self) {
        std::string text = std::string(name) + "(";
        const char* separator = "";
        for (const auto& field : self.attr("_fields")) {
            text += separator + field.cast<std::string>() + "=" + py::repr(self.attr(field)).cast<std::string>();
            separator = ", ";
        }
        return text + ")";
    });
    cls.def(
        "to_bytes",
        [](const Record& record) { return py::bytes(reinterpret_cast<const char*>(&record), sizeof record); },
        "The record's bytes, exactly as the library reads them.");
    cls.def_static(
        "from_bytes",
        [name](const py::bytes& data) {
            const std::string bytes = data;
            if (bytes.size() != sizeof(Record)) {
                throw py::value_error(std::string(name) + " is " + std::to_string(sizeof(Record)) + " bytes, got " +
                                      std::to_string(bytes.size()));
            }
            Record record;
            std::memcpy(&record, bytes.data(), sizeof record);
            return record;
        },
        "A record made of exactly its size in bytes.");
    cls.def(
        "__eq__", [](const Record& left, const Record& right) { return std::memcmp(&left, &right, sizeof left) == 0; },
        py::is_operator());
    cls.def("__copy__", [](const Record& record) { return record; });
    cls.def("__deepcopy__", [](const Record& record, const py::object&) { return record; });
    return cls;
}

}  // namespace narv_python

#endif  // NARV_PYTHON_RECORD_FIELDS_H
