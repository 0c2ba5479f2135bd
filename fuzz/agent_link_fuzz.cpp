// A connection to the handheld agent from its first byte: the frame reader and the request
// handling. The first input byte is the size of the pieces the bytes arrive in (0: all at
// once). Built twice: for a stranger, and for a desktop that has already paired (the
// pairing itself is not part of the input there).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/agent_link.h"
#include "fuzz/fuzz_input.h"

#ifndef GLIMMORA_FUZZ_PAIRED
#error "define GLIMMORA_FUZZ_PAIRED as 0 or 1"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const glimmora::fuzz::CpuLimit limit;
    using namespace glimmora;
    if (size < 1) return 0;
    remote::testing::FakeHandheld handheld;
    remote::AgentSession session(handheld, fuzz::kLinkSecret);
    if (GLIMMORA_FUZZ_PAIRED) {
        fuzz::DirectTransport transport(session);
        remote::RemoteClient client(transport);
        if (client.Hello(fuzz::kLinkSecret) != 0 || !session.authenticated()) std::abort();
    }
    fuzz::ServeStream(session, handheld, data + 1, size - 1, data[0]);
    return 0;
}
