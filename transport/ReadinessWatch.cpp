#include "ReadinessWatch.h"

#include <boost/asio/detail/config.hpp>
#include <boost/version.hpp>

// The reactor's registrations that stay in place across events (the kind it keeps for its own
// descriptors) are reached through its detail interface, whose shape is checked for this release only.
#if defined(BOOST_ASIO_HAS_EPOLL) && BOOST_VERSION / 100 == 1074
#define NARV_HAS_READINESS_WATCH 1
#endif

#if defined(NARV_HAS_READINESS_WATCH)

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <boost/asio/detail/epoll_reactor.hpp>
#include <boost/asio/detail/reactor_op.hpp>
#include <boost/asio/detail/scheduler.hpp>
#include <cerrno>
#include <utility>

namespace {

using Reactor = boost::asio::detail::epoll_reactor;

Reactor& ReactorOf(void* reactor) { return *static_cast<Reactor*>(reactor); }

Reactor::per_descriptor_data& RegistrationOf(void*& registration) {
    static_assert(sizeof(Reactor::per_descriptor_data) == sizeof(void*), "the registration is one pointer");
    return reinterpret_cast<Reactor::per_descriptor_data&>(registration);
}

// The reactor keeps its epoll descriptor private. An explicit instantiation may name a private member
// (access is not checked there), and the friend function it defines hands out the member's pointer.
struct CReactorEpollTag {
    using Member = int Reactor::*;
    friend Member EpollMember(CReactorEpollTag);
};

template <class Tag, typename Tag::Member Pointer>
struct TMemberExposer {
    friend typename Tag::Member EpollMember(Tag) { return Pointer; }
};

template struct TMemberExposer<CReactorEpollTag, &Reactor::epoll_fd_>;

// The reactor registers every descriptor edge-triggered. The watch wants to be told again while
// anything is left to read: after a read that did not fill the buffer, the only way to learn of an end
// of stream that came with the bytes would be one more read, on every round trip. Level-triggered,
// the reactor reports it by itself.
[[nodiscard]] bool MakeLevelTriggered(Reactor& reactor, int descriptor, void* registration) {
    epoll_event event{};
    event.events = EPOLLIN | EPOLLERR | EPOLLHUP;
    event.data.ptr = registration;
    return ::epoll_ctl(reactor.*EpollMember(CReactorEpollTag{}), EPOLL_CTL_MOD, descriptor, &event) == 0;
}

}  // namespace

// The operation queued with the registration. Performing it reads nothing: it only says the socket is
// ready, as "done and exhausted", which tells the reactor not to try the socket by itself when the
// operation is queued again. Its completion runs outside the reactor's locks, reads and delivers, and
// queues the operation again (the registration is not touched: no system call). Destroyed without
// completion when the registration is taken down or the reactor shuts down.
class CReadinessWatch::COperation final : public boost::asio::detail::reactor_op {
public:
    COperation(CReadinessWatch& watch, std::shared_ptr<void> keepAlive)
        : reactor_op(boost::system::error_code(), &COperation::Perform, &COperation::Complete),
          watch_(watch),
          keepAlive_(std::move(keepAlive)) {}

private:
    static status Perform(reactor_op* /*base*/) { return done_and_exhausted; }

    static void Complete(void* owner, boost::asio::detail::operation* base, const boost::system::error_code& /*error*/,
                         std::size_t /*bytes*/) {
        auto* operation = static_cast<COperation*>(base);
        CReadinessWatch& watch = operation->watch_;
        if (owner == nullptr) {
            if (!watch.unwatching_) {
                watch.Dropped();
            }
            delete operation;  // last: the reference may be the target's last, and the watch is part of it
            return;
        }
        bool goOn = true;
        try {
            goOn = watch.OnReadable();
        } catch (...) {
            // The failure is the loop's to report; the socket is read on as a new read would be.
            if (watch.IsWatching()) {
                watch.Requeue(operation);
            } else {
                delete operation;
            }
            throw;
        }
        if (goOn && watch.IsWatching()) {
            watch.Requeue(operation);
            return;
        }
        if (watch.IsWatching()) {
            watch.End();  // nothing more to read: the operation is not queued, so nothing is destroyed
        }
        delete operation;
    }

    CReadinessWatch& watch_;
    std::shared_ptr<void> keepAlive_;
};

CReadinessWatch::~CReadinessWatch() {
    if (state_ == State::Dropped && descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool CReadinessWatch::Watch(boost::asio::io_context& io, int socket, Callback callback, void* target,
                            std::shared_ptr<void> keepAlive) {
    if (state_ != State::Idle || socket < 0) {
        return false;
    }
    const int duplicate = ::fcntl(socket, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0) {
        return false;
    }
    Reactor& reactor = boost::asio::use_service<Reactor>(io);
    reactor.init_task();
    scheduler_ = &boost::asio::use_service<boost::asio::detail::scheduler>(io);
    descriptor_ = duplicate;
    callback_ = callback;
    target_ = target;
    reactor_ = &reactor;
    auto* operation = new COperation(*this, std::move(keepAlive));
    if (reactor.register_internal_descriptor(Reactor::read_op, duplicate, RegistrationOf(registration_), operation) !=
            0 ||
        !MakeLevelTriggered(reactor, duplicate, registration_)) {
        // The operation sits in the registration's queue: taking the registration down destroys it.
        unwatching_ = true;
        reactor.deregister_internal_descriptor(duplicate, RegistrationOf(registration_));
        reactor.cleanup_descriptor_data(RegistrationOf(registration_));
        unwatching_ = false;
        ::close(duplicate);
        descriptor_ = -1;
        return false;
    }
    // The queued operation counts as outstanding work, as a read under way does (the reactor does not
    // count the operation of a registration of its own kind): a loop run without a work guard goes on
    // while the socket is read. Each completion ends the count, each requeue starts it again.
    static_cast<boost::asio::detail::scheduler*>(scheduler_)->work_started();
    state_ = State::Watching;
    return true;
}

bool CReadinessWatch::OnReadable() {
    struct CCallbackScope {
        explicit CCallbackScope(bool& flag) : flag_(flag) { flag_ = true; }
        ~CCallbackScope() { flag_ = false; }
        bool& flag_;
    } scope(inCallback_);
    return callback_(target_);
}

void CReadinessWatch::Requeue(COperation* operation) {
    // The operation said the socket was exhausted, so the reactor queues it without trying the socket,
    // and the registration stays as it is: no system call. The next report comes from the reactor's wait.
    ReactorOf(reactor_).start_op(Reactor::read_op, descriptor_, RegistrationOf(registration_), operation,
                                 /*is_continuation=*/true, /*allow_speculative=*/true);
}

void CReadinessWatch::Unwatch() {
    if (state_ != State::Watching) {
        return;
    }
    if (inCallback_) {
        // The operation is completing, not queued: it ends the count of work it started, and is
        // deleted once the callback has returned.
        End();
        return;
    }
    unwatching_ = true;
    // Destroys the queued operation, and with it the operation's reference to the target: the caller
    // holds one of its own (the target is the caller).
    ReactorOf(reactor_).deregister_internal_descriptor(descriptor_, RegistrationOf(registration_));
    unwatching_ = false;
    Release();
    static_cast<boost::asio::detail::scheduler*>(scheduler_)->work_finished();
}

void CReadinessWatch::End() {
    ReactorOf(reactor_).deregister_internal_descriptor(descriptor_, RegistrationOf(registration_));
    Release();
}

void CReadinessWatch::Release() {
    ReactorOf(reactor_).cleanup_descriptor_data(RegistrationOf(registration_));
    ::close(descriptor_);
    descriptor_ = -1;
    state_ = State::Idle;
}

void CReadinessWatch::Dropped() {
    // The reactor has freed its record; the duplicate is closed with the watch.
    registration_ = nullptr;
    state_ = State::Dropped;
}

CReadinessWatch::ReadResult CReadinessWatch::ReadSome(void* buffer, std::size_t size, std::size_t& received) const {
    for (;;) {
        const ssize_t result = ::recv(descriptor_, buffer, size, MSG_DONTWAIT);
        if (result > 0) {
            received = static_cast<std::size_t>(result);
            return ReadResult::Received;
        }
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return ReadResult::WouldBlock;
        }
        return ReadResult::Ended;
    }
}

#else  // no watch on this platform: the caller reads with asynchronous operations

CReadinessWatch::~CReadinessWatch() = default;

bool CReadinessWatch::Watch(boost::asio::io_context& /*io*/, int /*socket*/, Callback /*callback*/, void* /*target*/,
                            std::shared_ptr<void> /*keepAlive*/) {
    return false;
}

void CReadinessWatch::Unwatch() {}

CReadinessWatch::ReadResult CReadinessWatch::ReadSome(void* /*buffer*/, std::size_t /*size*/,
                                                      std::size_t& /*received*/) const {
    return ReadResult::Ended;
}

#endif
