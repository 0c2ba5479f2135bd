// The request handling and the desktop-side calls, joined by an in-memory link.
#include <gtest/gtest.h>

#include <random>

#include "remote/protocol/client.h"
#include "remote/protocol/session.h"
#include "remote/protocol/wire.h"
#include "tests/remote/fake_handheld.h"

namespace glimmora::remote {
namespace {

using testing::FakeHandheld;

const std::string kSecret = "0123456789abcdef0123456789abcdef";

// Carries each request through the frame encoder and decoder, as the sockets would.
class LoopTransport : public Transport {
  public:
    explicit LoopTransport(AgentSession& session) : session_(session) {}
    uint32_t Exchange(const std::vector<uint8_t>& request, std::vector<uint8_t>* reply) override {
        if (closed) return 10054;  // connection reset
        auto frame = MakeFrame(request);
        FrameDecoder d;
        std::size_t used = 0;
        if (d.Feed(frame.data(), frame.size(), &used) != FrameDecoder::Status::kFrame) return 10054;
        auto body = d.TakeFrame();
        SessionReply r = session_.Handle(body.data(), body.size());
        if (!r.problem.empty()) problems.push_back(r.problem);
        if (r.close_link) closed = true;
        if (r.body.empty()) return 10054;
        *reply = r.body;
        return 0;
    }
    bool closed = false;
    std::vector<std::string> problems;

  private:
    AgentSession& session_;
};

struct Link {
    FakeHandheld handheld;
    AgentSession session{handheld, kSecret};
    LoopTransport transport{session};
    RemoteClient client{transport};
};

TEST(Pairing, NothingHappensBeforeTheSecretIsShown) {
    Link link;
    uint32_t h = 0;
    EXPECT_EQ(link.client.MakeFile(u"\\x", 0x40000000, 0, 2, 0x80, &h), err::kAccessDenied);
    EXPECT_TRUE(link.transport.closed);
    EXPECT_EQ(link.handheld.calls, 0);
    EXPECT_EQ(link.client.RemoveFile(u"\\x"), 10054u);  // the link is gone
}

TEST(Pairing, WrongShortOrMissingSecretsAreRefused) {
    for (const std::string& guess : {std::string("0123456789abcdef0123456789abcdeX"),
                                     kSecret.substr(0, 31), kSecret + "0", std::string()}) {
        Link link;
        EXPECT_EQ(link.client.Hello(guess), err::kAccessDenied);
        EXPECT_TRUE(link.transport.closed);
        EXPECT_FALSE(link.session.authenticated());
    }
    FakeHandheld h;
    AgentSession unset(h, "");  // an agent without a secret lets nobody in
    LoopTransport t(unset);
    RemoteClient c(t);
    EXPECT_EQ(c.Hello(""), err::kAccessDenied);

    Link good;
    EXPECT_EQ(good.client.Hello(kSecret), 0u);
    EXPECT_EQ(good.client.Hello(kSecret), err::kInvalidParameter);  // once per link
}

TEST(Secret, NormalizedFromItsFileForm) {
    EXPECT_EQ(NormalizeSecret("  " + kSecret + "\r\n"), kSecret);
    EXPECT_EQ(NormalizeSecret("short"), "");
    EXPECT_EQ(NormalizeSecret("0123456789abcdef 0123"), "");
    EXPECT_EQ(NormalizeSecret(std::string(kMaxSecretLength + 1, 'a')), "");
    EXPECT_TRUE(SecretsEqual(kSecret, kSecret));
    EXPECT_FALSE(SecretsEqual(kSecret, kSecret.substr(1)));
}

TEST(Files, WriteLargerThanOneFrameArrivesWholeInPieces) {
    Link link;
    ASSERT_EQ(link.client.Hello(kSecret), 0u);
    uint32_t h = 0;
    ASSERT_EQ(link.client.MakeFile(u"\\My Documents\\big.jpg", 0x40000000, 0, 2, 0x80, &h), 0u);
    std::vector<uint8_t> data(kMaxDataChunk + 12345);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    uint32_t written = 0;
    ASSERT_EQ(link.client.WriteFile(h, data.data(), data.size(), &written), 0u);
    EXPECT_EQ(written, data.size());
    ASSERT_EQ(link.handheld.writes.size(), 2u);
    EXPECT_EQ(link.handheld.writes[0].size(), kMaxDataChunk);
    EXPECT_EQ(link.handheld.files[u"\\My Documents\\big.jpg"], data);

    uint8_t back[16] = {};
    uint32_t read = 0;
    ASSERT_EQ(link.client.ReadFile(h, back, sizeof back, &read), 0u);
    EXPECT_EQ(read, 16u);
    EXPECT_TRUE(std::equal(back, back + 16, data.begin()));

    EXPECT_EQ(link.client.CloseHandle(h), 0u);
    EXPECT_EQ(link.client.WriteFile(h, data.data(), 1, &written), err::kInvalidHandle);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(link.client.MakeFile(u"\\..\\escape", 0x40000000, 0, 2, 0x80, &h), err::kInvalidName);
}

TEST(Registry, QueryFollowsTheLocalRegistryRules) {
    Link link;
    ASSERT_EQ(link.client.Hello(kSecret), 0u);
    uint32_t key = 0;
    EXPECT_EQ(link.client.OpenKey(kHkeyCurrentUser, u"Software\\Missing", &key),
              err::kFileNotFound);
    ASSERT_EQ(link.client.OpenKey(kHkeyCurrentUser, u"Software\\Test", &key), 0u);
    const uint8_t text[] = {'h', 0, 'i', 0, 0, 0};
    ASSERT_EQ(link.client.SetValue(key, u"Name", 1, text, sizeof text), 0u);

    uint32_t type = 0, size = 0;
    EXPECT_EQ(link.client.QueryValue(key, u"Name", &type, nullptr, &size), 0u);  // size only
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(size, 6u);

    uint8_t small[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    size = sizeof small;
    EXPECT_EQ(link.client.QueryValue(key, u"Name", &type, small, &size), err::kMoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(small[0], 0xAA);  // nothing half-copied

    uint8_t buffer[32] = {};
    size = sizeof buffer;
    EXPECT_EQ(link.client.QueryValue(key, u"Name", &type, buffer, &size), 0u);
    EXPECT_EQ(size, 6u);
    EXPECT_TRUE(std::equal(text, text + 6, buffer));

    EXPECT_EQ(link.client.QueryValue(key, u"Name", &type, buffer, nullptr), err::kInvalidParameter);
    size = 32;
    type = 99;
    EXPECT_EQ(link.client.QueryValue(key, u"Absent", &type, buffer, &size), err::kFileNotFound);
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(link.client.SetValue(key, u"X", 4, nullptr, 4), err::kInvalidParameter);
    EXPECT_EQ(link.client.CloseKey(key), 0u);
}

TEST(Folders, SmallBuffersFollowEachCallsConvention) {
    Link link;
    ASSERT_EQ(link.client.Hello(kSecret), 0u);
    char16_t buffer[260];
    uint32_t error = 0;
    EXPECT_EQ(link.client.SpecialFolder(5, 13, buffer, &error), 0u);  // no room for the NUL
    EXPECT_EQ(error, err::kInsufficientBuffer);
    EXPECT_EQ(link.client.SpecialFolder(0x2a, 260, buffer, &error), 0u);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(link.client.TempPath(3, buffer, &error), 7u);  // size needed, NUL included
    EXPECT_EQ(error, 0u);
}

// A transport whose replies are wrong in a given way.
class ScriptedTransport : public Transport {
  public:
    std::vector<uint8_t> next;
    int exchanges = 0;
    uint32_t Exchange(const std::vector<uint8_t>&, std::vector<uint8_t>* reply) override {
        ++exchanges;
        *reply = next;
        return 0;
    }
};

TEST(Client, RepliesThatDoNotFitBreakTheLinkForGood) {
    ScriptedTransport t;
    RemoteClient c(t);
    t.next = Writer().U16(static_cast<uint16_t>(Op::kDeleteFile) | kReplyBit).U32(0).Take();
    EXPECT_EQ(c.MakeDirectory(u"\\x"), err::kInvalidData);  // reply to another request
    EXPECT_TRUE(c.link_failed());
    EXPECT_EQ(c.RemoveFile(u"\\x"), err::kInvalidData);
    EXPECT_EQ(t.exchanges, 1);  // no second request on a stream out of step

    ScriptedTransport t2;
    RemoteClient c2(t2);
    // Claims more registry bytes than the caller's buffer holds.
    t2.next = Writer()
                  .U16(static_cast<uint16_t>(Op::kRegQueryValue) | kReplyBit)
                  .U32(0)
                  .U32(3)
                  .U32(8)
                  .Blob(std::vector<uint8_t>(8, 1))
                  .Take();
    uint8_t buf[4];
    uint32_t size = sizeof buf;
    EXPECT_EQ(c2.QueryValue(1, u"v", nullptr, buf, &size), err::kInvalidData);
    EXPECT_EQ(size, 4u);
}

// Every proper prefix of a valid request is refused before it reaches the handheld.
TEST(Robustness, TruncatedRequestsNeverReachTheHandheld) {
    std::vector<std::vector<uint8_t>> requests = {
        Writer().U16(2).Str(u"\\a.jpg").U32(0x40000000).U32(0).U32(2).U32(0x80).Take(),
        Writer().U16(3).U32(0x100).Blob(std::vector<uint8_t>(10, 1)).Take(),
        Writer().U16(6).Str(u"\\dir").Take(),
        Writer().U16(7).Str(u"\\a.jpg").Take(),
        Writer().U16(9).U32(kHkeyCurrentUser).Str(u"Software\\Test").Take(),
        Writer().U16(10).U32(0x1000).Str(u"v").U32(4).Blob(std::vector<uint8_t>(4, 0)).Take(),
        Writer().U16(16).U8(1).Str(u"\\app.exe").U8(1).Str(u"args").Take(),
    };
    for (const auto& req : requests) {
        for (std::size_t n = 2; n < req.size(); ++n) {
            FakeHandheld h;
            AgentSession s(h, kSecret);
            auto hello = Writer()
                             .U16(1)
                             .U32(kHelloMagic)
                             .U32(kProtocolVersion)
                             .Blob(reinterpret_cast<const uint8_t*>(kSecret.data()), kSecret.size())
                             .Take();
            ASSERT_FALSE(s.Handle(hello.data(), hello.size()).close_link);
            SessionReply r = s.Handle(req.data(), n);
            EXPECT_EQ(h.calls, 0) << "op " << req[0] << " cut to " << n;
            EXPECT_FALSE(r.problem.empty());
            Reader rr(r.body.data(), r.body.size());
            rr.U16();
            EXPECT_EQ(rr.U32(), err::kInvalidData);
        }
    }
}

// Random bodies, before and after pairing: always a reply or a closed link, never a crash
// (the sanitizer build turns any overread into a failure here).
TEST(Robustness, RandomRequestsGetAnAnswerOrAClosedLink) {
    std::mt19937 rng(12345);
    FakeHandheld h;
    AgentSession paired(h, kSecret);
    auto hello = Writer()
                     .U16(1)
                     .U32(kHelloMagic)
                     .U32(kProtocolVersion)
                     .Blob(reinterpret_cast<const uint8_t*>(kSecret.data()), kSecret.size())
                     .Take();
    ASSERT_FALSE(paired.Handle(hello.data(), hello.size()).close_link);
    for (int i = 0; i < 20000; ++i) {
        std::vector<uint8_t> body(rng() % 64);
        for (auto& b : body) b = static_cast<uint8_t>(rng());
        // Mostly real operation numbers, so the field decoders are what gets exercised.
        if (body.size() >= 2 && rng() % 4 != 0) {
            body[0] = static_cast<uint8_t>(rng() % 18);
            body[1] = 0;
        }
        FakeHandheld fresh;
        AgentSession stranger(fresh, kSecret);
        SessionReply a = stranger.Handle(body.data(), body.size());
        EXPECT_TRUE(a.close_link);
        EXPECT_EQ(fresh.calls, 0);
        SessionReply b = paired.Handle(body.data(), body.size());
        EXPECT_TRUE(b.close_link || !b.body.empty());
    }
    EXPECT_TRUE(paired.authenticated());
}

}  // namespace
}  // namespace glimmora::remote
