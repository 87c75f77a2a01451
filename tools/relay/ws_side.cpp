#include "ws_side.h"

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <deque>
#include <optional>
#include <vector>

#include "clock.h"

namespace relay {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;

namespace {

constexpr auto FirstRequestTime = std::chrono::seconds(10);
constexpr auto PeerSilence = std::chrono::seconds(30);
// A plain request may carry a little body (it is read and answered 404).
constexpr uint64_t MostRequestBody = 1024;

}  // namespace

class WsPeer : public std::enable_shared_from_this<WsPeer> {
public:
    WsPeer(WsSide& side, beast::tcp_stream&& stream, std::string address, uint16_t port)
        : side_(side), ws_(std::move(stream)), address_(std::move(address)), port_(port) {}

    void Start(http::request<http::string_body> request) {
        beast::get_lowest_layer(ws_).expires_never();
        // A peer gone without a word is found by pings: nothing heard for
        // this long and it is closed, and the other player told.
        websocket::stream_base::timeout timeout =
            websocket::stream_base::timeout::suggested(beast::role_type::server);
        timeout.idle_timeout = PeerSilence;
        timeout.keep_alive_pings = true;
        ws_.set_option(timeout);
        ws_.read_message_max(side_.relay().limits().max_message_bytes);
        ws_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
            if (error) return;
            self->Accepted();
        });
    }

    void Send(const uint8_t* bytes, size_t size) {
        if (closing_) return;
        queue_.emplace_back(bytes, bytes + size);
        queued_ += size;
        if (!writing_) Write();
    }

    void Drop() {
        closing_ = true;
        if (!writing_) Close();
    }

    size_t Queued() const { return queued_; }

private:
    void Accepted() {
        ws_.binary(true);
        id_ = side_.relay().NewId();
        side_.Joined(id_, shared_from_this());
        side_.relay().Connected(id_, Transport::Ws, address_, port_, NowMs());
        Read();
    }

    void Read() {
        ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code error, size_t) {
            self->OnRead(error);
        });
    }

    void OnRead(beast::error_code error) {
        // Beast closes a connection whose message passes the read limit
        // (close code 1009); the relay says why in its log.
        if (error == websocket::error::message_too_big && id_ != 0) side_.relay().TooLong(id_);
        if (error) {
            Gone();
            return;
        }
        if (!closing_) {
            const auto data = buffer_.data();
            side_.relay().Received(id_, static_cast<const uint8_t*>(data.data()), data.size(),
                                   NowMs());
        }
        buffer_.consume(buffer_.size());
        Read();
    }

    void Write() {
        writing_ = true;
        ws_.async_write(boost::asio::buffer(queue_.front()),
                        [self = shared_from_this()](beast::error_code error, size_t) {
                            self->OnWritten(error);
                        });
    }

    void OnWritten(beast::error_code error) {
        queued_ -= queue_.front().size();
        queue_.pop_front();
        writing_ = false;
        if (error) {
            queue_.clear();
            queued_ = 0;
            Gone();
            return;
        }
        if (!queue_.empty()) {
            Write();
        } else if (closing_) {
            Close();
        }
    }

    void Close() {
        if (closeSent_) return;
        closeSent_ = true;
        ws_.async_close(websocket::close_code::normal,
                        [self = shared_from_this()](beast::error_code) { self->Gone(); });
    }

    void Gone() {
        if (id_ == 0) return;
        const PeerId id = id_;
        id_ = 0;
        side_.Left(id);
    }

    WsSide& side_;
    websocket::stream<beast::tcp_stream> ws_;
    std::string address_;
    uint16_t port_;
    PeerId id_ = 0;
    beast::flat_buffer buffer_;
    std::deque<std::vector<uint8_t>> queue_;
    size_t queued_ = 0;
    bool writing_ = false;
    bool closing_ = false;
    bool closeSent_ = false;
};

namespace {

// A connection's first request: the status, an upgrade, or 404.
class Request : public std::enable_shared_from_this<Request> {
public:
    Request(WsSide& side, tcp::socket&& socket, std::shared_ptr<size_t> count)
        : side_(side), stream_(std::move(socket)), count_(std::move(count)) {
        ++*count_;
    }
    ~Request() { --*count_; }

    void Start() {
        parser_.emplace();
        parser_->header_limit(side_.relay().limits().http_header_bytes);
        parser_->body_limit(MostRequestBody);
        stream_.expires_after(FirstRequestTime);
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, size_t) {
                             if (!error) self->Answer();
                         });
    }

private:
    void Answer() {
        http::request<http::string_body> request = parser_->release();
        if (websocket::is_upgrade(request)) {
            beast::error_code error;
            const tcp::endpoint remote = stream_.socket().remote_endpoint(error);
            if (error) return;
            std::make_shared<WsPeer>(side_, std::move(stream_), remote.address().to_string(),
                                     remote.port())
                ->Start(std::move(request));
            return;
        }
        const std::string_view target(request.target().data(), request.target().size());
        const bool status = request.method() == http::verb::get &&
                            (target == "/status" || target.rfind("/status?", 0) == 0);
        response_.version(request.version());
        response_.keep_alive(false);
        response_.set(http::field::server, "volleen-relay");
        if (status) {
            response_.result(http::status::ok);
            response_.set(http::field::content_type, "application/json");
            response_.set(http::field::cache_control, "no-store");
            response_.body() = side_.Status() + "\n";
        } else {
            response_.result(http::status::not_found);
            response_.set(http::field::content_type, "text/plain");
            response_.body() = "not found\n";
        }
        response_.prepare_payload();
        http::async_write(stream_, response_,
                          [self = shared_from_this()](beast::error_code, size_t) {
                              beast::error_code ignored;
                              self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                          });
    }

    WsSide& side_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    http::response<http::string_body> response_;
    std::shared_ptr<size_t> count_;
};

}  // namespace

WsSide::WsSide(boost::asio::io_context& io, Relay& relay, StatusJson status)
    : relay_(relay), status_(std::move(status)), acceptor_(io) {}

bool WsSide::Open(const std::string& bind, uint16_t port, std::string* why) {
    beast::error_code error;
    const auto address = boost::asio::ip::make_address(bind, error);
    if (error) {
        *why = "'" + bind + "' is not an address";
        return false;
    }
    const tcp::endpoint at(address, port);
    acceptor_.open(at.protocol(), error);
    if (!error) acceptor_.set_option(boost::asio::socket_base::reuse_address(true), error);
    if (!error) acceptor_.bind(at, error);
    if (!error) acceptor_.listen(boost::asio::socket_base::max_listen_connections, error);
    if (error) {
        *why = "TCP port " + std::to_string(port) + " on " + bind + " cannot be had (" +
               error.message() + ")";
        return false;
    }
    Accept();
    return true;
}

void WsSide::Accept() {
    acceptor_.async_accept([this](beast::error_code error, tcp::socket socket) {
        if (error == boost::asio::error::operation_aborted || !acceptor_.is_open()) return;
        // Connections still on their first request count as peers: a
        // flood of idle ones cannot grow past the peers allowed.
        if (!error && *requests_ + peers_.size() < relay_.limits().max_peers) {
            std::make_shared<Request>(*this, std::move(socket), requests_)->Start();
        }
        Accept();
    });
}

bool WsSide::Send(PeerId id, const uint8_t* bytes, size_t size, bool) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    found->second->Send(bytes, size);
    return true;
}

bool WsSide::Drop(PeerId id) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    found->second->Drop();
    return true;
}

bool WsSide::Queued(PeerId id, size_t* bytes) const {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    *bytes = found->second->Queued();
    return true;
}

void WsSide::Joined(PeerId id, std::shared_ptr<WsPeer> peer) { peers_[id] = std::move(peer); }

void WsSide::Left(PeerId id) {
    peers_.erase(id);
    relay_.Disconnected(id, NowMs());
}

void WsSide::Close() {
    beast::error_code ignored;
    acceptor_.close(ignored);
}

}  // namespace relay
