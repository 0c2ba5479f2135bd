#include "fuzz/agent_link.h"

#include <algorithm>

#include "fuzz/fuzz_input.h"
#include "remote/protocol/link_numbers.h"
#include "remote/protocol/wire.h"

namespace glimmora::fuzz {

namespace {

void Check(bool holds, const char* what) { Require(holds, "agent link", what); }

// The next whole frame body, as the agent's receive loop gets it; false when the link ends
// (the stream runs out, or a frame is longer than allowed).
bool NextFrame(remote::FrameDecoder& decoder, const std::uint8_t* stream, std::size_t size,
               std::size_t piece, std::size_t& pos, std::vector<std::uint8_t>& body) {
    for (;;) {
        const std::size_t offered = piece == 0 ? size - pos : std::min(piece, size - pos);
        std::size_t used = 0;
        const auto status = decoder.Feed(stream + pos, offered, &used);
        Check(used <= offered, "the frame reader took more than it was given");
        pos += used;
        if (status == remote::FrameDecoder::Status::kTooLarge) return false;
        if (status == remote::FrameDecoder::Status::kFrame) {
            body = decoder.TakeFrame();
            return true;
        }
        Check(used == offered, "the frame reader left bytes without a complete frame");
        if (pos == size) return false;
    }
}

}  // namespace

std::uint32_t DirectTransport::Exchange(const std::vector<std::uint8_t>& request,
                                        std::vector<std::uint8_t>* reply) {
    requests.push_back(request);
    remote::SessionReply answer = session_.Handle(request.data(), request.size());
    if (answer.body.empty()) return remote::err::kNotConnected;
    *reply = std::move(answer.body);
    return 0;
}

void ServeStream(remote::AgentSession& session, remote::testing::FakeHandheld& handheld,
                 const std::uint8_t* stream, std::size_t size, std::size_t piece) {
    remote::FrameDecoder decoder(kGreetingBodyLimit);
    std::size_t pos = 0;
    std::vector<std::uint8_t> body;
    for (;;) {
        if (session.authenticated()) decoder.set_max_body(remote::kMaxFrameBody);
        if (!NextFrame(decoder, stream, size, piece, pos, body)) break;
        const bool paired = session.authenticated();
        const int callsBefore = handheld.calls;
        const remote::SessionReply reply = session.Handle(body.data(), body.size());
        if (!paired) Check(handheld.calls == callsBefore, "the handheld was used before pairing");
        if (!reply.body.empty()) {
            remote::Reader request(body.data(), body.size());
            remote::Reader answer(reply.body.data(), reply.body.size());
            const std::uint16_t op = request.U16();
            const std::uint16_t replyOp = answer.U16();
            answer.U32();
            Check(answer.ok() && replyOp == (op | remote::kReplyBit),
                  "a reply that does not answer its request");
            Check(reply.body.size() <= remote::kMaxFrameBody, "a reply too long for one frame");
        }
        if (reply.close_link) break;
    }
    handheld.CloseAll();
}

}  // namespace glimmora::fuzz
