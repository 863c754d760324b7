// The shared-memory channel between the programs of the suite: one message
// slot in a named mapping, guarded by a named mutex, and a registered window
// message that tells the recipient to look.
//
// A slot holds one framed message, "<to:from:sent:ttl>body", or an empty
// string. Identifiers are at most 15 characters without ':' or '>', and are
// compared ignoring case; "broadcast" addresses everybody. Its recipient's
// read frees the slot; a broadcast, and a message nobody reads, hold it until
// their time-to-live runs out.
#pragma once

#include "platform.h"

const unsigned MMAPIPC_MSG_SIZE = 1024; // the slot, with its terminating zero
const unsigned MMAPIPC_ID_SIZE = 16;    // an identifier and its terminator

const char MMAPIPC_MUTEX_NAME[] = "__TV2_MMAPIPC_MUTEX__";
const char MMAPIPC_MEMMAP_NAME[] = "__TV2_MMAPIPC_MEMMAP__";
const char MMAPIPC_NOTIFY_NAME[] = "B7088433-88D8-4af1-B922-B18D1C574283";
const char MMAPIPC_BROADCAST[] = "broadcast";

// Error codes (CMMapIPC::GetError).
enum
{
    MMAPIPC_ERR_NONE = 0,
    MMAPIPC_ERR_BUSY = 2,            // slot holds another live message (send)
    MMAPIPC_ERR_NOTFORME = 3,        // the message is for someone else (read)
    MMAPIPC_ERR_CREATEMAP = 5,       // mapping not created or opened
    MMAPIPC_ERR_MAPVIEW = 6,         // view not mapped
    MMAPIPC_ERR_CREATEMUTEX = 7,     // mutex not created or opened
    MMAPIPC_ERR_TAKETEXT = 8,        // the slot's text could not be taken
    MMAPIPC_ERR_EMPTY = 9,           // nothing in the slot (read)
    MMAPIPC_ERR_TIMEDOUT = 10,       // an expired or unreadable message was removed (read)
    MMAPIPC_ERR_WAITUNEXPECTED = 11, // unexpected result waiting for the mutex
    MMAPIPC_ERR_WAITFAILED = 12,     // waiting for the mutex failed
    MMAPIPC_ERR_ABANDONED = 13,      // the mutex's holder ended while holding it
    MMAPIPC_ERR_WAITTIMEOUT = 14,    // the mutex was not free within the wait
    MMAPIPC_ERR_NOTINIT = 15,        // the channel is not initialised
    MMAPIPC_ERR_TOOLONG = 16,        // the framed message does not fit in the slot (send)
    MMAPIPC_ERR_BADID = 17           // an identifier is empty, too long or holds ':' or '>'
};

// 1 when id can stand in a frame: 1 to 15 characters, no ':' or '>'.
int MMapIsValidId(const char* id);

// One message, either taken as a framed text and split on demand, or built
// from its parts. The framed text and the body are buffers of the message
// size; everything written into them is cut to fit and terminated.
class CMMapMsg
{
  public:
    CMMapMsg();
    ~CMMapMsg();
    CMMapMsg(const CMMapMsg&) = delete;
    CMMapMsg& operator=(const CMMapMsg&) = delete;

    // Takes a framed text: up to its zero, or up to length bytes when the text
    // may not be terminated (another program's slot). 0 when the buffers are
    // missing.
    int SetMsgStr(const char* text);
    int SetMsgStr(const char* text, size_t length);
    // The framed text, rebuilt first when a part changed; empty when the parts
    // do not fit in the message size.
    const char* GetMsgStr();

    // 0 when the body was cut or an identifier is not valid (it is then left
    // as it was).
    int SetMessage(const char* body);
    int SetFromId(const char* id);
    int SetToId(const char* id);
    void SetTimeSent(DWORD ticks);
    void SetTTL(DWORD ms);

    // The parts; an unreadable framed text gives empty texts and zeros.
    const char* GetMessage();
    const char* GetFromId();
    const char* GetToId();
    DWORD GetTimeSent();
    DWORD GetTTL();

    int IsEmpty();
    // 1 when the parts are valid: taken from a well-formed text, or set.
    int IsParsed();

    // 1 when the framed text fitted; otherwise it is left empty.
    int BuildMessage();
    // 1 when the framed text was well formed.
    int ParseMessage();
    void CleanUp();
    // Drops both buffers and allocates them anew, empty (at least 1 byte).
    int SetMessageSize(unsigned size);
    unsigned GetMessageSize() const
    {
        return m_nMsgSize;
    }

  private:
    void ParseIfNeeded();
    void Free();

    char* m_pszMsg;
    char* m_pszBody;
    char m_szFromId[MMAPIPC_ID_SIZE];
    char m_szToId[MMAPIPC_ID_SIZE];
    DWORD m_dwTimeSent;
    DWORD m_dwTTL;
    int m_bParsed;
    int m_bChanged;
    unsigned m_nMsgSize;
};
