// A bare client of the simulated front for wire-level tests: writes framed messages built with the
// envelope, reads whole frames with a deadline, and reports the end of the connection.
#pragma once

#include <array>
#include <boost/asio.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "APIPackage.h"
#include "TZOByteOrder.h"

struct SimWireMessage {
    std::vector<std::uint8_t> bytes;  // the message without its frame length
    std::uint16_t serviceNo = 0;
    std::int32_t requestId = 0;
    std::int32_t endFlag = 0;

    // Makes `package` the reader of this message's body; valid while this message lives.
    void Open(CAPIPackage& package) const {
        package.OpenReceived(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
};

class CSimWireClient {
public:
    enum class Read { Message, Closed, TimedOut };

    explicit CSimWireClient(std::uint16_t port) : socket_(io_) {
        socket_.connect({boost::asio::ip::make_address("127.0.0.1"), port});
    }

    void Send(
        std::uint16_t serviceNo, std::int32_t requestId,
        const std::function<void(CAPIPackage&)>& body = [](CAPIPackage&) {}) {
        std::array<std::uint8_t, kAPIMessageMaxSize + 4> frame{};
        CAPIPackage package;
        package.Begin(serviceNo, requestId, frame.data() + 4);
        body(package);
        tzo_wire::StoreU32(frame.data(), package.Length());
        boost::asio::write(socket_, boost::asio::buffer(frame.data(), package.Length() + 4));
    }

    // The next frame's declared length and message, heartbeats (ServiceNo 0) included when asked for.
    Read Next(SimWireMessage& message, bool keepHeartbeats = false,
              std::chrono::milliseconds patience = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            std::uint8_t header[4];
            const Read head = ReadExactly(header, sizeof header, deadline);
            if (head != Read::Message) return head;
            lastDeclaredLength_ = tzo_wire::LoadU32(header);
            // A frame above the limit is reported without its body, which never needs to follow.
            if (lastDeclaredLength_ > kAPIMessageMaxSize) return Read::Message;
            message.bytes.assign(lastDeclaredLength_, 0);
            const Read body = ReadExactly(message.bytes.data(), lastDeclaredLength_, deadline);
            if (body != Read::Message) return body;
            CAPIPackage package;
            message.Open(package);
            message.serviceNo = package.ServiceNo;
            message.requestId = package.RequestID;
            message.endFlag = package.EndFlag;
            if (message.serviceNo != 0 || keepHeartbeats) return Read::Message;
        }
    }

    // Length field of the last frame read.
    std::uint32_t LastDeclaredLength() const { return lastDeclaredLength_; }

private:
    Read ReadExactly(std::uint8_t* into, std::size_t n, std::chrono::steady_clock::time_point deadline) {
        bool done = false;
        boost::system::error_code error;
        boost::asio::async_read(socket_, boost::asio::buffer(into, n),
                                [&](const boost::system::error_code& e, std::size_t) {
                                    error = e;
                                    done = true;
                                });
        io_.restart();
        while (!done && io_.run_one_until(deadline) > 0) {
        }
        if (!done) {
            socket_.cancel();
            io_.restart();
            io_.run();  // lets the cancelled read finish before its buffer goes away
            return Read::TimedOut;
        }
        return error ? Read::Closed : Read::Message;
    }

    boost::asio::io_context io_;
    boost::asio::ip::tcp::socket socket_;
    std::uint32_t lastDeclaredLength_ = 0;
};
