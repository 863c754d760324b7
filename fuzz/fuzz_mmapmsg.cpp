// Splits arbitrary bytes as a channel slot, with the slot's size and a few
// tight ones, then rebuilds what was parsed and checks it reads back the same.
#include "fuzz_util.h"
#include "MMapIPC.h"

#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const unsigned sizes[] = {MMAPIPC_MSG_SIZE, 1, 9, 16, 64, 255};
    unsigned msgSize = sizes[data[0] % (sizeof(sizes) / sizeof(sizes[0]))];
    // An exact copy without a terminator: the parser must stop at its end.
    std::vector<char> slot(data + 1, data + size);

    CMMapMsg msg;
    FUZZ_FAIL_IF(!msg.SetMessageSize(msgSize) || !msg.SetMsgStr(slot.data(), slot.size()));
    const char* text = msg.GetMsgStr();
    FUZZ_FAIL_IF(strnlen(text, msgSize) >= msgSize);
    if (!msg.IsParsed())
    {
        FUZZ_FAIL_IF(msg.GetMessage()[0] || msg.GetToId()[0] || msg.GetFromId()[0] || msg.GetTimeSent() ||
                     msg.GetTTL());
        return 0;
    }

    std::string to = msg.GetToId(), from = msg.GetFromId(), body = msg.GetMessage();
    DWORD sent = msg.GetTimeSent(), ttl = msg.GetTTL();
    FUZZ_FAIL_IF(to.size() >= MMAPIPC_ID_SIZE || from.size() >= MMAPIPC_ID_SIZE ||
                 to.find_first_of(":>") != std::string::npos ||
                 from.find_first_of(":>") != std::string::npos);

    // A parsed frame is never longer than the text it came from, so it must
    // build again within the same size and parse to the same parts.
    CMMapMsg again;
    again.SetMessageSize(msgSize);
    again.SetMessage(body.c_str());
    again.SetTimeSent(sent);
    again.SetTTL(ttl);
    if (!to.empty())
        again.SetToId(to.c_str());
    if (!from.empty())
        again.SetFromId(from.c_str());
    FUZZ_FAIL_IF(!again.BuildMessage());
    std::string built = again.GetMsgStr();
    CMMapMsg back;
    back.SetMessageSize(msgSize);
    back.SetMsgStr(built.c_str());
    FUZZ_FAIL_IF(!back.IsParsed() || to != back.GetToId() || from != back.GetFromId() ||
                 body != back.GetMessage() || sent != back.GetTimeSent() || ttl != back.GetTTL());
    return 0;
}
