// narv._narv: both libraries from Python, one to one with their C++ interfaces.
//
// Records, callbacks and requests come from tables generated out of the exported headers
// (NarvRecordTable.inc, NarvInterfaceTable.inc); only the operations that are not a plain
// "record and request id" request are written out here. The module links the two shared libraries and
// reaches them only through their exported factories and their virtual interfaces.
//
// Threads: see CallbackBridge.h and ApiHandle.h.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "ApiHandle.h"
#include "CallbackBridge.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "RecordFields.h"

namespace narv_python {
namespace {

class TraderBridge final : public CallbackBridge<CNarvSqelTraderSpi> {
public:
#define NARV_TRADER_CALLBACK(name, params, args) \
    void name params override { Deliver args; }
#define NARV_MD_CALLBACK(name, params, args)
#define NARV_TRADER_REQUEST(name, record, argument, doc)
#define NARV_MD_REQUEST(name, record, argument, doc)
#include "NarvInterfaceTable.inc"
#undef NARV_TRADER_CALLBACK
#undef NARV_MD_CALLBACK
};

class MdBridge final : public CallbackBridge<CNarvSqelMdSpi> {
public:
#define NARV_TRADER_CALLBACK(name, params, args)
#define NARV_MD_CALLBACK(name, params, args) \
    void name params override { Deliver args; }
#include "NarvInterfaceTable.inc"
#undef NARV_TRADER_CALLBACK
#undef NARV_MD_CALLBACK
#undef NARV_TRADER_REQUEST
#undef NARV_MD_REQUEST
};

// The trading library lets a callback call Release; the market-data library does not.
using TraderHandle = ApiHandle<CNarvSqelTraderApi, TraderBridge, true>;
using MdHandle = ApiHandle<CNarvSqelMdApi, MdBridge, false>;

void BindRecords(py::module_& module) {
#define NARV_RECORD(Record, size, doc)                                    \
    {                                                                     \
        static_assert(sizeof(Record) == (size), #Record " changed size"); \
        auto cls = BindRecordClass<Record>(module, #Record, doc);         \
        std::vector<const char*> names;
#define NARV_CHECK_FIELD(Record, Field, offset, width)                                     \
    static_assert(offsetof(Record, Field) == (offset) && sizeof(Record::Field) == (width), \
                  #Record "::" #Field " moved or changed width");
#define NARV_BIND_FIELD(Record, Field, offset, width, doc) \
    NARV_CHECK_FIELD(Record, Field, offset, width)         \
    BindField(cls, #Field, &Record::Field, doc);           \
    names.push_back(#Field);
#define NARV_FIELD_TEXT NARV_BIND_FIELD
#define NARV_FIELD_CHAR NARV_BIND_FIELD
#define NARV_FIELD_INT NARV_BIND_FIELD
#define NARV_FIELD_DOUBLE NARV_BIND_FIELD
#define NARV_FIELD_RESERVED(Record, Field, offset, width, doc) NARV_CHECK_FIELD(Record, Field, offset, width)
#define NARV_RECORD_END(Record)                       \
    cls.attr("_fields") = py::tuple(py::cast(names)); \
    }
#include "NarvRecordTable.inc"
}

/// Instrument ids as the NUL-terminated texts ReqQuotSubscribe takes; count as in C++ (None: all).
class InstrumentList {
public:
    InstrumentList(const std::vector<py::str>& ids, const py::object& count) {
        for (const auto& id : ids) texts_.push_back(EncodeText(id, "instrumentIDs"));
        count_ = count.is_none() ? static_cast<int>(texts_.size()) : count.cast<int>();
        if (count_ < 0 || static_cast<std::size_t>(count_) > texts_.size()) {
            throw py::value_error("count must lie between 0 and the number of instrument ids");
        }
        for (const auto& text : texts_) pointers_.push_back(text.c_str());
    }
    [[nodiscard]] const char* const* Pointers() const { return pointers_.data(); }
    [[nodiscard]] int Count() const { return count_; }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
    int count_ = 0;
};

/// The operations both interfaces share, under the same names.
template <typename Handle, typename Api>
void BindCommonOperations(py::class_<Handle>& cls) {
    cls.def("Release", &Handle::Release,
            "Stops the library and frees the object; further calls raise RuntimeError. From inside a "
            "callback of this object, that callback is the last one delivered.");
    cls.def(
        "Init",
        [](Handle& self) {
            py::gil_scoped_release nogil;
            self.Call([](Api& api) { api.Init(); });
        },
        "Connects to the registered fronts.");
    cls.def(
        "Join",
        [](Handle& self) {
            self.Live();
            Api* api = self.LockedApi();
            py::gil_scoped_release nogil;
            return api->Join();
        },
        "Trading: waits until Release has stopped the reply thread. Market data: returns 0 at once.");
    cls.def(
        "GetTradingDay",
        [](Handle& self) { return std::string(self.Call([](Api& api) { return api.GetTradingDay(); })); },
        "Trading day of the last successful login, YYYYMMDD; empty before.");
    cls.def(
        "RegisterFront",
        [](Handle& self, const py::str& frontAddress) {
            const std::string address = EncodeText(frontAddress, "frontAddress");
            py::gil_scoped_release nogil;
            self.Call([&](Api& api) { api.RegisterFront(address.c_str()); });
        },
        py::arg("frontAddress"),
        "Adds a front address such as tcp://127.0.0.1:17001; register every front before Init.");
    cls.def("RegisterSpi", &Handle::RegisterSpi, py::arg("spi").none(true),
            "Sets the callback object (None: no callbacks); this object keeps it alive.");
    cls.def("__enter__", [](py::object self) { return self; });
    cls.def("__exit__", [](Handle& self, const py::args&) { self.Release(); });
}

template <typename Handle, typename Api, typename Record>
void BindRequest(py::class_<Handle>& cls, const char* name, int (Api::*method)(const Record*, int),
                 const char* argument, const char* doc) {
    cls.def(
        name,
        [method](Handle& self, const Record* record, int requestId) { return self.Request(method, record, requestId); },
        py::arg(argument).none(true), py::arg("requestId"), doc);
}

void BindTraderApi(py::module_& module) {
    py::class_<TraderHandle> cls(module, "CNarvSqelTraderApi",
                                 "The trading API object: created by CreateSqelTraderApi, ended by Release (or "
                                 "when the interpreter exits). Requests return 0 accepted, -1 not sent, -3 not "
                                 "provided.");
    cls.def_static(
        "CreateSqelTraderApi",
        [](const std::string& flowPath) {
            return std::make_unique<TraderHandle>(CNarvSqelTraderApi::CreateSqelTraderApi(flowPath.c_str()));
        },
        py::arg("flow_path") = "", "Creates an API object; flow_path is accepted and ignored.");
    cls.def_static(
        "GetApiVersion", [] { return std::string(CNarvSqelTraderApi::GetApiVersion()); }, "Version of the library.");
    BindCommonOperations<TraderHandle, CNarvSqelTraderApi>(cls);
    cls.def(
        "SetAccountFlowResume",
        [](TraderHandle& self, int resumeMode) {
            py::gil_scoped_release nogil;
            self.Call([&](CNarvSqelTraderApi& api) { api.SetAccountFlowResume(resumeMode); });
        },
        py::arg("resumeMode"),
        "How the account push flow resumes after login: 0 from the beginning, 1 after the last push seen, 2 new "
        "pushes only, other values not at all (the default: no order or trade returns).");
    cls.def(
        "SetMarketFlowResume",
        [](TraderHandle& self, int resumeMode) {
            py::gil_scoped_release nogil;
            self.Call([&](CNarvSqelTraderApi& api) { api.SetMarketFlowResume(resumeMode); });
        },
        py::arg("resumeMode"), "Same as SetAccountFlowResume, for the market-wide push flow.");
#define NARV_TRADER_CALLBACK(name, params, args)
#define NARV_MD_CALLBACK(name, params, args)
#define NARV_TRADER_REQUEST(name, record, argument, doc) \
    BindRequest(cls, #name, &CNarvSqelTraderApi::name, argument, doc);
#define NARV_MD_REQUEST(name, record, argument, doc)
#include "NarvInterfaceTable.inc"
#undef NARV_TRADER_REQUEST
#undef NARV_MD_REQUEST
}

void BindSubscription(py::class_<MdHandle>& cls, const char* name,
                      int (CNarvSqelMdApi::*method)(const char* const*, int), const char* doc) {
    cls.def(
        name,
        [method](MdHandle& self, const std::vector<py::str>& instrumentIDs, const py::object& count) {
            self.Live();
            const InstrumentList list(instrumentIDs, count);
            py::gil_scoped_release nogil;
            return self.Call([&](CNarvSqelMdApi& api) { return (api.*method)(list.Pointers(), list.Count()); });
        },
        py::arg("instrumentIDs"), py::arg("count") = py::none(), doc);
}

void BindMdApi(py::module_& module) {
    py::class_<MdHandle> cls(module, "CNarvSqelMdApi",
                             "The market-data API object: created by CreateSqelMdApi, ended by Release (or when "
                             "the interpreter exits). Release may be called from its callbacks too: it then "
                             "completes on a thread of its own.");
    cls.def_static(
        "CreateSqelMdApi",
        [](const std::string& flowPath, bool usingUdp, bool multicast) {
            return std::make_unique<MdHandle>(CNarvSqelMdApi::CreateSqelMdApi(flowPath.c_str(), usingUdp, multicast));
        },
        py::arg("flow_path") = "", py::arg("usingUdp") = false, py::arg("multicast") = false,
        "Creates an API object; the arguments are accepted and ignored.");
    cls.def_static(
        "GetApiVersion", [] { return std::string(CNarvSqelMdApi::GetApiVersion()); }, "Version of the library.");
    BindCommonOperations<MdHandle, CNarvSqelMdApi>(cls);
    BindSubscription(cls, "ReqQuotSubscribe", &CNarvSqelMdApi::ReqQuotSubscribe,
                     "Subscribes the instruments (the first count of them), one request each; always returns 0: "
                     "OnQuotSubscribeRsp tells whether it was sent.");
    BindSubscription(cls, "ReqQuotUnSubscribe", &CNarvSqelMdApi::ReqQuotUnSubscribe,
                     "Unsubscribes the instruments (the first count of them), one request each; returns 0.");
#define NARV_TRADER_CALLBACK(name, params, args)
#define NARV_MD_CALLBACK(name, params, args)
#define NARV_TRADER_REQUEST(name, record, argument, doc)
#define NARV_MD_REQUEST(name, record, argument, doc) BindRequest(cls, #name, &CNarvSqelMdApi::name, argument, doc);
#include "NarvInterfaceTable.inc"
}

}  // namespace
}  // namespace narv_python

PYBIND11_MODULE(_narv, module) {
    using namespace narv_python;
    module.doc() = "Both narv libraries, one to one with their C++ interfaces (use the narv package).";
    BindRecords(module);
    BindTraderApi(module);
    BindMdApi(module);
    // Library threads must be stopped while the interpreter is whole: atexit runs before finalisation.
    module.def("_release_all", &LiveHandles::ReleaseAll, "Releases every API object still alive.");
    py::module_::import("atexit").attr("register")(module.attr("_release_all"));
}
