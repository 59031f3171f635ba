// The object a library calls back into: it takes the GIL and hands each callback to the Python object
// the application registered, as copies of the records it may keep.
//
// Once detached (by Release) no callback reaches Python any more, also one already waiting for the GIL.
// While the interpreter is finalising, callbacks are dropped without touching the GIL: a thread that
// takes the GIL then would be stopped inside the library.
//
// Threads: Deliver runs on the library's threads; Attach, Detach and the callbacks into Python run with
// the GIL held. The detached flag is atomic so Deliver can test it before taking the GIL.
#ifndef NARV_PYTHON_CALLBACK_BRIDGE_H
#define NARV_PYTHON_CALLBACK_BRIDGE_H

#include <pybind11/pybind11.h>

#include <atomic>
#include <exception>
#include <memory>

namespace narv_python {

namespace py = pybind11;

/// The bridge whose callback runs on this thread right now, if any (to tell a Release from inside one).
inline thread_local const void* currentBridge = nullptr;

inline py::object ToPython(const void*) { return py::none(); }  // positions without a record type
inline py::object ToPython(int value) { return py::int_(value); }
inline py::object ToPython(bool value) { return py::bool_(value); }
template <typename Record>
py::object ToPython(const Record* record) {
    return record == nullptr ? py::object(py::none()) : py::cast(*record, py::return_value_policy::copy);
}

template <typename Spi>
class CallbackBridge : public Spi, public std::enable_shared_from_this<CallbackBridge<Spi>> {
public:
    CallbackBridge() = default;
    CallbackBridge(const CallbackBridge&) = delete;
    CallbackBridge& operator=(const CallbackBridge&) = delete;
    ~CallbackBridge() = default;

    /// GIL held. None detaches the application's object but keeps the bridge usable.
    void Attach(py::object target) { target_ = std::move(target); }

    /// GIL held. Final: from here on every callback is dropped.
    void Detach() {
        detached_.store(true, std::memory_order_release);
        target_ = py::object();
    }

    [[nodiscard]] bool RunsCallbackOnThisThread() const { return currentBridge == this; }

protected:
    /// Calls the named method of the registered object with the converted arguments.
    template <typename... Args>
    void Deliver(const char* name, Args... args) {
        if (detached_.load(std::memory_order_acquire) || _Py_IsFinalizing()) return;
        const auto keepAlive = this->shared_from_this();  // Release from inside the callback drops the owner's
        py::gil_scoped_acquire gil;
        PinThreadState(gil);
        if (detached_.load(std::memory_order_acquire) || !target_) return;
        const py::object target = target_;
        const void* outer = std::exchange(currentBridge, this);
        py::object method;
        try {
            method = py::getattr(target, name, py::none());
            if (!method.is_none()) method(ToPython(args)...);
        } catch (py::error_already_set& error) {
            error.discard_as_unraisable(method ? method : target);
        } catch (const std::exception& error) {
            PyErr_SetString(PyExc_RuntimeError, error.what());
            PyErr_WriteUnraisable(method ? method.ptr() : target.ptr());
        }
        currentBridge = outer;
    }

private:
    /// Keeps this library thread's Python thread state for its whole life instead of making one per
    /// callback: cheaper, and threading.local values survive from one callback to the next.
    static void PinThreadState(py::gil_scoped_acquire& gil) {
        static thread_local bool pinned = false;
        if (!pinned) {
            gil.inc_ref();
            pinned = true;
        }
    }

    std::atomic<bool> detached_{false};
    py::object target_;
};

}  // namespace narv_python

#endif  // NARV_PYTHON_CALLBACK_BRIDGE_H
