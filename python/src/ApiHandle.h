// The Python object standing for one API object of either library.
//
// It owns the library's object and the callback bridge registered with it. Release detaches the bridge
// first (no callback reaches Python afterwards), then releases the library's object with the GIL
// released, so callbacks waiting for the GIL can finish. Called from inside one of its own callbacks,
// Release goes straight to the library when the library allows that (trading) and is otherwise handed
// to a thread of its own, which waits for the callback to return (market data). Requests release the
// GIL while in the library; a lock keeps Release from freeing the object under a request in flight.
// Every live handle is released when the interpreter exits, before it starts finalising.
//
// Threads: every method may be called from any Python thread and from inside callbacks; Python state is
// touched only with the GIL held, the library's pointer only under lifeLock_.
#ifndef NARV_PYTHON_API_HANDLE_H
#define NARV_PYTHON_API_HANDLE_H

#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "CallbackBridge.h"

namespace narv_python {

namespace py = pybind11;

/// Handles not yet released, for the exit hook. Only touched with the GIL held.
class LiveHandles {
public:
    using Releaser = void (*)(void* handle);

    static void Add(void* handle, Releaser releaser) { Entries().insert({handle, releaser}); }
    static void Remove(void* handle) { Entries().erase({handle, nullptr}); }

    /// Releases every live handle (the interpreter is about to finalise).
    static void ReleaseAll() {
        while (!Entries().empty()) {
            const Entry entry = *Entries().begin();
            entry.second(entry.first);  // removes the entry
        }
    }

private:
    using Entry = std::pair<void*, Releaser>;
    struct ByHandle {
        bool operator()(const Entry& left, const Entry& right) const { return left.first < right.first; }
    };
    static std::set<Entry, ByHandle>& Entries() {
        static auto* entries = new std::set<Entry, ByHandle>();  // outlives static destruction at exit
        return *entries;
    }
};

/// Api: the exported interface; Bridge: its callback bridge; releaseInCallback: whether the library
/// lets a callback call Release itself.
template <typename Api, typename Bridge, bool releaseInCallback>
class ApiHandle {
public:
    explicit ApiHandle(Api* api) : api_(api), bridge_(std::make_shared<Bridge>()) {
        if (api_ == nullptr) throw std::runtime_error("the library could not create the API object");
        LiveHandles::Add(this, [](void* handle) { static_cast<ApiHandle*>(handle)->Release(); });
    }
    ApiHandle(const ApiHandle&) = delete;
    ApiHandle& operator=(const ApiHandle&) = delete;
    ~ApiHandle() { Release(); }

    /// GIL held.
    void Release() {
        if (released_) return;
        released_ = true;
        LiveHandles::Remove(this);
        bridge_->Detach();
        const bool fromOwnCallback = bridge_->RunsCallbackOnThisThread();
        std::shared_ptr<Bridge> bridge = std::move(bridge_);
        py::gil_scoped_release nogil;
        Api* api = TakeApi();
        if (fromOwnCallback && !releaseInCallback) {
            // The callback's thread is inside the library; that thread cannot stop itself.
            std::thread([api, bridge] { api->Release(); }).detach();
            return;
        }
        api->Release();
    }

    /// GIL held. None unregisters the application's object.
    void RegisterSpi(const py::object& spi) {
        Live();
        bridge_->Attach(spi);
        Bridge* bridge = spi.is_none() ? nullptr : bridge_.get();
        py::gil_scoped_release nogil;
        Call([bridge](Api& live) { live.RegisterSpi(bridge); });
    }

    /// Runs operation on the library's object with the GIL released; raises once released.
    template <typename Operation>
    auto Call(Operation operation) {
        std::shared_lock<std::shared_mutex> lock(lifeLock_);
        if (api_ == nullptr) throw std::runtime_error("the API object was released");
        return operation(*api_);
    }

    /// A request with one record: the record is copied while the GIL is held, then sent without it.
    template <typename Record>
    int Request(int (Api::*method)(const Record*, int), const Record* record, int requestId) {
        Live();
        Record copy{};
        if (record != nullptr) copy = *record;
        const Record* sent = record != nullptr ? &copy : nullptr;
        py::gil_scoped_release nogil;
        return Call([&](Api& api) { return (api.*method)(sent, requestId); });
    }

    /// The library's object for an operation that may wait for Release itself (Join): not held under
    /// the lock, as Release would wait for it.
    [[nodiscard]] Api* LockedApi() {
        std::shared_lock<std::shared_mutex> lock(lifeLock_);
        return api_;
    }

    void Live() const {
        if (released_) throw std::runtime_error("the API object was released");
    }

private:
    Api* TakeApi() {
        std::unique_lock<std::shared_mutex> lock(lifeLock_);
        return std::exchange(api_, nullptr);
    }

    bool released_ = false;  // GIL held
    std::shared_mutex lifeLock_;
    Api* api_;  // under lifeLock_
    std::shared_ptr<Bridge> bridge_;
};

}  // namespace narv_python

#endif  // NARV_PYTHON_API_HANDLE_H
