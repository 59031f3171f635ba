// The back-end client against scripted fronts on the loopback: notifications, requests, heartbeats,
// failover, reconnection and every way of stopping.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BackendClient.h"
#include "ManualTimerSource.h"
#include "MarkedFrames.h"
#include "support/MisbehavingFronts.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Records the owner's notifications from the I/O thread; tests wait on them.
class CEventOwner final : public CConnectionOwner {
public:
    void OnFrontConnected() override {
        Record("connected");
        if (onConnected) {
            onConnected();
        }
    }
    void OnFrontDisconnected() override {
        // Before the event is recorded, so that whoever waits for the event sees the hook's effect.
        try {
            if (onDisconnected) {
                onDisconnected();
            }
        } catch (...) {
            Record("disconnected");
            throw;
        }
        Record("disconnected");
    }
    int DispatchPackage(CAPIPackage& package) override {
        Record("package " + std::to_string(package.ServiceNo) + " " + std::to_string(package.RequestID) + " " +
               ReadMarker(package));
        return onPackage ? onPackage(package) : 0;
    }

    bool WaitForCount(const std::string& prefix, std::size_t count, std::chrono::milliseconds timeout = 5s) {
        return events_.WaitUntil(
            [&](const std::vector<std::string>& events) { return CountOf(events, prefix) >= count; }, timeout);
    }
    std::size_t Count(const std::string& prefix) { return CountOf(events_.Events(), prefix); }
    std::vector<std::string> Events() { return events_.Events(); }
    // Callbacks that arrived after the test declared the client stopped.
    int LateCallbacks() const { return late_.load(); }
    void DeclareStopped() { stopped_ = true; }

    // Set before Init; called on the I/O thread.
    std::function<void()> onConnected;
    std::function<void()> onDisconnected;
    std::function<int(CAPIPackage&)> onPackage;

private:
    void Record(const std::string& event) {
        if (stopped_) {
            ++late_;
        }
        events_.Add(event);
    }
    static std::size_t CountOf(const std::vector<std::string>& events, const std::string& prefix) {
        std::size_t n = 0;
        for (const auto& event : events) {
            n += event.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        }
        return n;
    }

    CEventRecord<std::string> events_;
    std::atomic<bool> stopped_{false};
    std::atomic<int> late_{0};
};

// Every front an attempt is started on, with its time.
class CAttemptLog {
public:
    std::function<void(std::size_t)> Observer() {
        return [this](std::size_t index) { attempts_.Add({index, Clock::now()}); };
    }
    bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout = 5s) {
        return attempts_.WaitForCount(count, timeout);
    }
    std::vector<std::size_t> Indexes() {
        std::vector<std::size_t> indexes;
        for (const auto& attempt : attempts_.Events()) {
            indexes.push_back(attempt.first);
        }
        return indexes;
    }
    std::vector<Clock::time_point> Times() {
        std::vector<Clock::time_point> times;
        for (const auto& attempt : attempts_.Events()) {
            times.push_back(attempt.second);
        }
        return times;
    }

private:
    CEventRecord<std::pair<std::size_t, Clock::time_point>> attempts_;
};

int PostMarked(CBackendClient& client, std::int32_t requestId) {
    return client.PostRequest(122, requestId,
                              [marker = MarkerFor(requestId)](CAPIPackage& p) { return WriteMarker(p, marker); });
}

int SendMarked(CBackendClient& client, std::int32_t requestId) {
    return client.SendRequest(122, requestId,
                              [marker = MarkerFor(requestId)](CAPIPackage& p) { return WriteMarker(p, marker); });
}

class BackendClient : public ::testing::Test {
protected:
    // Short retry pacing unless a test measures the real one; `settings` otherwise as shipped unless
    // the test changes it first.
    void Start(const std::vector<std::string>& fronts, std::chrono::milliseconds reconnectDelay = 100ms,
               std::uint16_t heartbeatTimeout = 120) {
        settings.reconnectDelay = reconnectDelay;
        settings.onAttempt = attempts.Observer();
        client.SetTransportSettings(settings);
        client.SetHeartbeatTimeout(heartbeatTimeout);
        for (const auto& front : fronts) {
            client.RegisterFront(front.c_str());
        }
        ASSERT_EQ(client.Init(), 0);
    }

    // Heartbeat and silence timers on a time the test moves itself; before Start.
    std::shared_ptr<CManualTimerSource> UseManualTimers() {
        auto timers = std::make_shared<CManualTimerSource>();
        settings.timers = timers;
        return timers;
    }
    // A message from the front, waited for until the client has dispatched it (and so seen the bytes).
    void PeerSends(CScriptedFront& front, std::int32_t requestId) {
        front.SendRaw(MarkedFrame(requestId));
        ASSERT_TRUE(owner.WaitForCount("package 123 " + std::to_string(requestId) + " ", 1));
    }

    CEventOwner owner;
    CAttemptLog attempts;
    TransportSettings settings;
    CBackendClient client{owner};
};

TEST_F(BackendClient, ConnectsCarriesRequestsAndRepliesAndReportsUpOnce) {
    CScriptedFront front;
    Start({front.Address()});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));

    ASSERT_EQ(PostMarked(client, 7), 0);
    auto request = front.WaitForService(122);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->RequestID, 7);
    EXPECT_EQ(request->EndFlag, 0);
    EXPECT_EQ(ReadMarker(request->package), MarkerFor(7));

    front.Send(123, 7, 0, [](CAPIPackage& p) { return WriteMarker(p, "reply"); });
    ASSERT_TRUE(owner.WaitForCount("package 123 7 reply", 1));

    // A writer that refuses sends nothing; the next request still goes out.
    EXPECT_EQ(client.PostRequest(122, 8, [](CAPIPackage&) { return -1; }), 0);
    ASSERT_EQ(PostMarked(client, 9), 0);
    auto next = front.WaitForService(122);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->RequestID, 9);
    EXPECT_EQ(owner.Count("connected"), 1u);
    EXPECT_EQ(owner.Count("disconnected"), 0u);
}

TEST_F(BackendClient, RequestBeforeTheConnectionIsUpReturnsMinusOne) {
    EXPECT_EQ(PostMarked(client, 1), -1);  // not even started
    EXPECT_EQ(SendMarked(client, 1), -1);
    CScriptedFront front(false);
    Start({front.Address()});
    EXPECT_EQ(PostMarked(client, 1), -1);
    ASSERT_TRUE(attempts.WaitForCount(1));
    front.SetAccepting(true);
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    EXPECT_EQ(PostMarked(client, 2), 0);
    auto request = front.WaitForService(122);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->RequestID, 2);
}

// Requests sent at once from the calling thread never overtake a posted request still on its way to
// the I/O thread, neither from an application thread nor from inside a dispatch.
TEST_F(BackendClient, RequestsSentAtOnceStayBehindPostedOnes) {
    CScriptedFront front;
    owner.onPackage = [&](CAPIPackage&) {  // the front's one message: two requests from inside the dispatch
        PostMarked(client, 10);
        SendMarked(client, 11);
        return 0;
    };
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    auto requestIdsInOrder = [&](std::vector<std::int32_t> ids) {
        for (std::int32_t id : ids) {
            auto request = front.WaitForService(122);
            if (!request || request->RequestID != id || ReadMarker(request->package) != MarkerFor(id)) return false;
        }
        return true;
    };

    // The posted writer holds the I/O thread until the later request has been made.
    std::promise<void> laterRequestMade;
    std::shared_future<void> released = laterRequestMade.get_future().share();
    ASSERT_EQ(client.PostRequest(122, 1,
                                 [released](CAPIPackage& p) {
                                     released.wait();
                                     return WriteMarker(p, MarkerFor(1));
                                 }),
              0);
    EXPECT_EQ(SendMarked(client, 2), 0);
    laterRequestMade.set_value();
    EXPECT_TRUE(requestIdsInOrder({1, 2}));
    EXPECT_EQ(SendMarked(client, 3), 0);  // nothing on its way: straight out
    EXPECT_TRUE(requestIdsInOrder({3}));

    front.Send(123, 3, 0, [](CAPIPackage& p) { return WriteMarker(p, "reply"); });
    EXPECT_TRUE(requestIdsInOrder({10, 11}));
}

// Once the loss is reported, requests are refused: none is accepted for the connection that is gone,
// neither from inside the notification nor from a thread that heard of it.
TEST_F(BackendClient, RequestsAreRefusedAsSoonAsTheLossIsReported) {
    CScriptedFront front;
    std::atomic<int> insideNotification{1};
    owner.onDisconnected = [&] { insideNotification = PostMarked(client, 5); };
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    front.SetAccepting(false);
    front.Drop();
    ASSERT_TRUE(owner.WaitForCount("disconnected", 1));
    EXPECT_EQ(PostMarked(client, 6), -1);
    EXPECT_EQ(insideNotification, -1);
    front.SetAccepting(true);
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
    EXPECT_EQ(PostMarked(client, 7), 0);
    auto request = front.WaitForService(122);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->RequestID, 7);
}

// A notification that throws costs neither the I/O thread nor the connection: requests, replies and
// the reconnection after a loss go on.
TEST_F(BackendClient, ThrowingNotificationsLeaveTheClientWorking) {
    CScriptedFront front;
    owner.onConnected = [] { throw std::runtime_error("connected handler failed"); };
    owner.onDisconnected = [] { throw std::runtime_error("disconnected handler failed"); };
    Start({front.Address()});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    ASSERT_EQ(PostMarked(client, 1), 0);
    ASSERT_TRUE(front.WaitForService(122));
    front.Send(123, 1, 0, [](CAPIPackage& p) { return WriteMarker(p, "reply"); });
    ASSERT_TRUE(owner.WaitForCount("package 123 1 reply", 1));
    front.Drop();
    ASSERT_TRUE(owner.WaitForCount("disconnected", 1));
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
}

TEST_F(BackendClient, HeartbeatLeavesAfterHalfTheTimeoutWithoutSending) {
    CScriptedFront front;
    Start({front.Address()}, 100ms, 2);  // heartbeat after 1 s
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    const auto connected = Clock::now();
    auto heartbeat = front.WaitForMessage(3s);
    ASSERT_TRUE(heartbeat);
    EXPECT_GE(Clock::now() - connected, 800ms);
    EXPECT_EQ(heartbeat->ServiceNo, 0);
    EXPECT_EQ(heartbeat->RequestID, 0);
    EXPECT_EQ(heartbeat->EndFlag, 0);
    EXPECT_EQ(heartbeat->bytes.size(), kAPIEnvelopeSize);  // empty body
}

// On the test's own time: a request moves the heartbeat half a timeout on, a received message moves the
// silence a whole timeout on. (A request sent from this thread has moved the deadline when the call
// returns; a message dispatched has moved the silence.)
TEST_F(BackendClient, TrafficPostponesTheHeartbeatAndPeerTrafficKeepsTheConnection) {
    const auto timers = UseManualTimers();
    CScriptedFront front;
    Start({front.Address()}, 100ms, 2);  // heartbeat after 1 s, dropped after 2 s of silence
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    // 3 s of traffic both ways every 500 ms, longer than the whole timeout.
    constexpr std::int32_t kRounds = 6;
    for (std::int32_t i = 1; i <= kRounds; ++i) {
        timers->Advance(500ms);
        ASSERT_EQ(SendMarked(client, i), 0);
        PeerSends(front, i);
    }
    for (std::int32_t i = 1; i <= kRounds; ++i) {
        auto message = front.WaitForMessage();
        ASSERT_TRUE(message);
        EXPECT_EQ(message->ServiceNo, 122) << "no heartbeat while requests flow";
    }
    // Just short of half the timeout after the last request nothing has left: the request sent now is
    // the next message. The peer talks too, so the silence never reaches the timeout.
    timers->Advance(999ms);
    PeerSends(front, kRounds + 1);
    ASSERT_EQ(SendMarked(client, kRounds + 1), 0);
    auto next = front.WaitForMessage();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->ServiceNo, 122) << "a heartbeat before half the timeout";
    // Half the timeout after that request, the heartbeat.
    timers->Advance(1000ms);
    auto heartbeat = front.WaitForMessage();
    ASSERT_TRUE(heartbeat);
    EXPECT_EQ(heartbeat->ServiceNo, 0);
    EXPECT_EQ(owner.Count("disconnected"), 0u);
}

TEST_F(BackendClient, ShortestTimeoutStillPacesTheHeartbeat) {
    // Half of a 1 s timeout rounds down to 0 s; heartbeats must still leave a second apart, not back to
    // back. The time stands still after the first: a request sent then must be the next message.
    const auto timers = UseManualTimers();
    CScriptedFront front;
    Start({front.Address()}, 100ms, 1);
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    timers->Advance(500ms);
    PeerSends(front, 1);  // keeps the client from dropping a silent peer
    timers->Advance(500ms);
    auto heartbeat = front.WaitForMessage();
    ASSERT_TRUE(heartbeat);
    EXPECT_EQ(heartbeat->ServiceNo, 0);
    ASSERT_EQ(SendMarked(client, 2), 0);
    auto next = front.WaitForMessage();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->ServiceNo, 122) << "heartbeats sent back to back";
    // Dispatched after the heartbeat's own handler on the same thread: the next one is armed by now.
    PeerSends(front, 3);
    timers->Advance(400ms);
    PeerSends(front, 4);  // the silence would end at 2 s
    timers->Advance(600ms);
    heartbeat = front.WaitForMessage();
    ASSERT_TRUE(heartbeat);
    EXPECT_EQ(heartbeat->ServiceNo, 0) << "a second later, the next one";
}

TEST_F(BackendClient, SilentPeerIsDroppedAndTheClientReconnectsAtOnce) {
    const auto timers = UseManualTimers();
    CScriptedFront front;
    Start({front.Address()}, 100ms, 2);
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    // Just short of the timeout the connection still carries a request.
    timers->Advance(1999ms);
    ASSERT_EQ(SendMarked(client, 1), 0);
    ASSERT_TRUE(front.WaitForService(122));
    EXPECT_EQ(owner.Count("disconnected"), 0u);
    timers->Advance(1ms);
    ASSERT_TRUE(owner.WaitForCount("disconnected", 1));
    ASSERT_TRUE(front.WaitForDisconnect());
    ASSERT_TRUE(front.WaitForConnection(1s));
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
    EXPECT_EQ(owner.Count("disconnected"), 1u);
}

TEST_F(BackendClient, OversizedFrameFromThePeerDisconnectsOnce) {
    CScriptedFront front;
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    front.SendRaw({0x00, 0x00, 0x1F, 0xFD});  // 8189, no payload
    ASSERT_TRUE(owner.WaitForCount("disconnected", 1));
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected", "disconnected", "connected"}));
}

TEST_F(BackendClient, FailingDispatchDisconnectsAfterTheFramesBeforeIt) {
    CScriptedFront front;
    owner.onPackage = [](CAPIPackage& p) { return p.RequestID == 2 ? -1 : 0; };
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    front.SendRaw(Concat({MarkedFrame(1), MarkedFrame(2), MarkedFrame(3)}));
    ASSERT_TRUE(owner.WaitForCount("disconnected", 1));
    const auto events = owner.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(
        std::vector<std::string>(events.begin(), events.begin() + 4),
        (std::vector<std::string>{"connected", "package 123 1 frame-1", "package 123 2 frame-2", "disconnected"}));
    EXPECT_EQ(owner.Count("package 123 3"), 0u);
}

TEST_F(BackendClient, FailoverGoesThroughTheFrontsInOrderOncePerSecond) {
    CScriptedFront a(false), b(false), c(false);
    Start({a.Address(), b.Address(), c.Address()}, kReconnectDelay);
    ASSERT_TRUE(attempts.WaitForCount(4, 6s));
    client.Stop();
    const auto indexes = attempts.Indexes();
    EXPECT_EQ(std::vector<std::size_t>(indexes.begin(), indexes.begin() + 4), (std::vector<std::size_t>{0, 1, 2, 0}));
    const auto times = attempts.Times();
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_GE(times[i] - times[i - 1], 900ms) << "attempt " << i;
        EXPECT_LT(times[i] - times[i - 1], 2000ms) << "attempt " << i;
    }
    EXPECT_TRUE(owner.Events().empty()) << "failed attempts are not reported";
}

TEST_F(BackendClient, LostConnectionIsRetriedAtOnceFromTheFirstFront) {
    CScriptedFront a(false), b;
    settings.shortConnectionLife = 0ms;  // B's connection counts as one that had been up for long
    Start({a.Address(), b.Address()}, kReconnectDelay);
    ASSERT_TRUE(b.WaitForConnection(3s));
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0, 1}));

    a.SetAccepting(true);
    b.Drop();
    const auto dropped = Clock::now();
    ASSERT_TRUE(a.WaitForConnection(3s));
    EXPECT_LT(Clock::now() - dropped, 700ms) << "no pause before the first front";
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0, 1, 0}));
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected", "disconnected", "connected"}));
}

// A connection lost within its short life is a failed attempt on its front: the pause passes and the
// next front is tried, so a front that accepts and closes neither storms nor holds the client.
TEST_F(BackendClient, ConnectionLostWithinItsShortLifeIsAFailedAttemptOnItsFront) {
    CClosingFront closing;
    CScriptedFront good;
    Start({closing.Address(), good.Address()}, 200ms);
    ASSERT_TRUE(good.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 2));
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected", "disconnected", "connected"}));
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0, 1}));
    const auto times = attempts.Times();
    EXPECT_GE(times[1] - times[0], 200ms) << "no pause after the short-lived connection";
}

// An attempt that neither connects nor fails is cut short by the connect timeout, and then counts as
// a failed one: the pause, then the next front.
TEST_F(BackendClient, ConnectThatNeverCompletesFailsAfterTheConnectTimeout) {
    CUnansweringFront silent;
    CScriptedFront good;
    settings.connectTimeout = 300ms;
    Start({silent.Address(), good.Address()}, 100ms);
    ASSERT_TRUE(good.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected"})) << "the failed attempt is not reported";
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0, 1}));
    const auto times = attempts.Times();
    EXPECT_GE(times[1] - times[0], 400ms) << "the timeout and the pause";

    // Stopped while an attempt hangs: nothing further is tried.
    CBackendClient second(owner);
    settings.onAttempt = {};
    second.SetTransportSettings(settings);
    second.RegisterFront(silent.Address().c_str());
    ASSERT_EQ(second.Init(), 0);
    second.Stop();
}

TEST_F(BackendClient, FrontsThatCannotBeResolvedCountAsFailedAttempts) {
    CScriptedFront good;
    const std::vector<std::string> fronts = {
        "no-colon-here",
        std::string(200, 'h') + ":17001",
        "bad..host:17001",  // refused by the resolver without asking anyone
        good.Address(),
    };
    Start(fronts);
    ASSERT_TRUE(good.WaitForConnection(5s));
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST_F(BackendClient, PortIsTruncatedTo16Bits) {
    CScriptedFront front;
    Start({"127.0.0.1:" + std::to_string(front.Port() + 65536)});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
}

TEST_F(BackendClient, LocalhostIsReachable) {
    CScriptedFront front;
    Start({"localhost:" + std::to_string(front.Port())});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
}

TEST_F(BackendClient, EmptyFrontListNeverConnects) {
    Start({});
    EXPECT_EQ(PostMarked(client, 1), -1);
    // The stop runs on the I/O thread after anything Init left queued there.
    EXPECT_EQ(client.Stop(), 0);
    EXPECT_TRUE(attempts.Indexes().empty());
}

TEST_F(BackendClient, InitTwiceIsRefused) {
    CScriptedFront front;
    Start({front.Address()});
    EXPECT_EQ(client.Init(), -1);
    ASSERT_TRUE(front.WaitForConnection());
    EXPECT_EQ(client.Stop(), 0);
    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0}));
    EXPECT_EQ(front.ConnectionsBeforeMarker(), 1);
}

TEST_F(BackendClient, StopWhileConnectedClosesWithoutNotificationOrRetry) {
    CScriptedFront front;
    Start({front.Address()});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    EXPECT_EQ(client.Stop(), 0);
    owner.DeclareStopped();
    ASSERT_TRUE(front.WaitForDisconnect());
    EXPECT_EQ(front.ConnectionsBeforeMarker(), 1) << "no new connection after Stop";
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected"}));
    EXPECT_EQ(attempts.Indexes().size(), 1u);
    EXPECT_EQ(PostMarked(client, 1), -1);
    EXPECT_EQ(client.Stop(), 0);  // again: nothing left to do
}

// A twin client with the same fronts and delay, started after the stop, shows when the stopped client's
// retry would have come: once the twin has retried, so would it have.
TEST_F(BackendClient, StopWhileWaitingToRetryEndsTheAttempts) {
    CScriptedFront refusing(false), accepting;
    Start({refusing.Address(), accepting.Address()}, kReconnectDelay);
    ASSERT_TRUE(attempts.WaitForCount(1));
    EXPECT_EQ(client.Stop(), 0);

    CEventOwner twinOwner;
    CBackendClient twin{twinOwner};
    TransportSettings twinSettings;
    twinSettings.reconnectDelay = kReconnectDelay;
    twin.SetTransportSettings(twinSettings);
    twin.RegisterFront(refusing.Address().c_str());
    twin.RegisterFront(accepting.Address().c_str());
    ASSERT_EQ(twin.Init(), 0);
    ASSERT_TRUE(accepting.WaitForConnection(kReconnectDelay + 10s)) << "the twin's retry";
    EXPECT_EQ(accepting.ConnectionsBeforeMarker(), 1) << "only the twin's connection";
    EXPECT_EQ(twin.Stop(), 0);

    EXPECT_EQ(attempts.Indexes(), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(owner.Events().empty());
}

TEST_F(BackendClient, StopFromInsideTheConnectedCallbackDoesNotWaitForItself) {
    CScriptedFront front;
    std::atomic<int> stopResult{1};
    owner.onConnected = [&] { stopResult = client.Stop(); };
    Start({front.Address()});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(front.WaitForDisconnect());
    EXPECT_EQ(client.Stop(), 0);  // from this thread: waits for the I/O thread to end
    EXPECT_EQ(front.ConnectionsBeforeMarker(), 1) << "no new connection after the stop";
    EXPECT_EQ(stopResult, 0);
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected"}));
}

TEST_F(BackendClient, StopFromInsideDispatchDeliversNothingMoreFromTheRead) {
    CScriptedFront front;
    owner.onPackage = [&](CAPIPackage&) {
        client.Stop();
        return 0;
    };
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    front.SendRaw(Concat({MarkedFrame(1), MarkedFrame(2), MarkedFrame(3)}));
    ASSERT_TRUE(front.WaitForDisconnect());
    owner.DeclareStopped();
    EXPECT_EQ(client.Stop(), 0);  // from this thread: returns once the I/O thread has ended
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected", "package 123 1 frame-1"}));
}

TEST_F(BackendClient, NoCallbackRunsOnceStopHasReturned) {
    CScriptedFront front;
    Start({front.Address()});
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    std::vector<std::vector<std::uint8_t>> burst;
    for (std::int32_t i = 0; i < 2000; ++i) {
        burst.push_back(MarkedFrame(i));
    }
    front.SendRaw(Concat(burst));
    ASSERT_TRUE(owner.WaitForCount("package", 10));
    std::atomic<bool> posting{true};
    std::thread poster([&] {
        std::int32_t id = 0;
        while (posting) {
            PostMarked(client, ++id);  // racing the stop: -1 or 0, never a crash
        }
    });
    client.Stop();
    owner.DeclareStopped();
    front.Send(123, 1, 0);
    posting = false;
    poster.join();
    ASSERT_TRUE(front.WaitForDisconnect(kTestPatience)) << "the client closed its end: what was sent finds no reader";
    EXPECT_EQ(owner.LateCallbacks(), 0);
    EXPECT_EQ(owner.Count("disconnected"), 0u);
}

// Stop is safe from any application thread, several at once included: each returns 0 once nothing of
// the client runs any more.
TEST_F(BackendClient, ConcurrentStopsFromSeveralThreads) {
    CScriptedFront front;
    Start({front.Address()});
    ASSERT_TRUE(owner.WaitForCount("connected", 1));
    std::atomic<int> results{0};
    std::vector<std::thread> stoppers;
    for (int i = 0; i < 4; ++i) {
        stoppers.emplace_back([&] { results += client.Stop() == 0 ? 1 : 0; });
    }
    for (auto& stopper : stoppers) {
        stopper.join();
    }
    owner.DeclareStopped();
    EXPECT_EQ(results, 4);
    ASSERT_TRUE(front.WaitForDisconnect());
    EXPECT_EQ(PostMarked(client, 1), -1);
    EXPECT_EQ(owner.LateCallbacks(), 0);
    EXPECT_EQ(owner.Events(), (std::vector<std::string>{"connected"}));
}

TEST(BackendClientLifetime, DestroyingAStartedClientStopsIt) {
    CScriptedFront front;
    CEventOwner owner;
    {
        CBackendClient client(owner);
        client.RegisterFront(front.Address().c_str());
        ASSERT_EQ(client.Init(), 0);
        ASSERT_TRUE(front.WaitForConnection());
        ASSERT_TRUE(owner.WaitForCount("connected", 1));
    }
    owner.DeclareStopped();
    ASSERT_TRUE(front.WaitForDisconnect());
    EXPECT_EQ(front.ConnectionsBeforeMarker(), 1) << "no new connection after the destruction";
    EXPECT_EQ(owner.LateCallbacks(), 0);
}

TEST(BackendClientLifetime, DestroyedFromItsOwnCallback) {
    CScriptedFront front;
    CEventOwner owner;
    auto* client = new CBackendClient(owner);
    CEventCounter destroyed;
    owner.onConnected = [&] {
        delete client;
        destroyed.Add();
    };
    client->RegisterFront(front.Address().c_str());
    ASSERT_EQ(client->Init(), 0);
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(front.WaitForDisconnect());
    EXPECT_TRUE(destroyed.WaitFor(1));
    EXPECT_EQ(front.ConnectionsBeforeMarker(), 1) << "only the first connection";
}

}  // namespace
