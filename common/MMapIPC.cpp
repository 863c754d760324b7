#include "MMapIPC.h"

#include <new>
#include <stdint.h>

#include "strutils.h"

int MMapIsValidId(const char* id)
{
    if (!id)
        return 0;
    size_t len = strnlen(id, MMAPIPC_ID_SIZE);
    if (len == 0 || len >= MMAPIPC_ID_SIZE)
        return 0;
    return !memchr(id, ':', len) && !memchr(id, '>', len);
}

// An identifier taken from a frame: [begin, end) must fit in 15 characters and
// hold no '>' (an empty one is well formed, it just matches nobody).
static int TakeId(char* dst, const char* begin, const char* end)
{
    size_t len = (size_t)(end - begin);
    if (len >= MMAPIPC_ID_SIZE || memchr(begin, '>', len))
        return 0;
    memcpy(dst, begin, len);
    dst[len] = '\0';
    return 1;
}

// A tick count or time-to-live: [begin, end) is all decimal digits and fits
// in 32 bits.
static int TakeNumber(DWORD* out, const char* begin, const char* end)
{
    if (begin == end)
        return 0;
    uint64_t value = 0;
    for (const char* p = begin; p < end; p++)
    {
        if (*p < '0' || *p > '9')
            return 0;
        value = value * 10 + (uint64_t)(*p - '0');
        if (value > 0xFFFFFFFFu)
            return 0;
    }
    *out = (DWORD)value;
    return 1;
}

CMMapMsg::CMMapMsg()
    : m_pszMsg(nullptr), m_pszBody(nullptr), m_dwTimeSent(0), m_dwTTL(0), m_bParsed(0), m_bChanged(0),
      m_nMsgSize(0)
{
    m_szFromId[0] = '\0';
    m_szToId[0] = '\0';
    SetMessageSize(MMAPIPC_MSG_SIZE);
}

CMMapMsg::~CMMapMsg()
{
    Free();
}

void CMMapMsg::Free()
{
    delete[] m_pszMsg;
    delete[] m_pszBody;
    m_pszMsg = nullptr;
    m_pszBody = nullptr;
}

int CMMapMsg::SetMessageSize(unsigned size)
{
    if (size == 0)
        size = 1;
    Free();
    m_nMsgSize = size;
    m_pszMsg = new (std::nothrow) char[size];
    m_pszBody = new (std::nothrow) char[size];
    m_szFromId[0] = '\0';
    m_szToId[0] = '\0';
    CleanUp();
    if (!m_pszMsg || !m_pszBody)
    {
        Free();
        return 0;
    }
    m_pszMsg[0] = '\0';
    m_pszBody[0] = '\0';
    return 1;
}

int CMMapMsg::SetMsgStr(const char* text)
{
    return SetMsgStr(text, (size_t)-1);
}

int CMMapMsg::SetMsgStr(const char* text, size_t length)
{
    if (!m_pszMsg)
        return 0;
    StrCopyN(m_pszMsg, m_nMsgSize, text, length);
    m_bParsed = 0;
    m_bChanged = 0;
    return 1;
}

const char* CMMapMsg::GetMsgStr()
{
    if (m_bChanged)
        BuildMessage();
    return m_pszMsg ? m_pszMsg : "";
}

void CMMapMsg::ParseIfNeeded()
{
    if (!m_bParsed && !m_bChanged)
        ParseMessage();
}

int CMMapMsg::SetMessage(const char* body)
{
    if (!m_pszBody)
        return 0;
    ParseIfNeeded();
    int fitted = StrCopy(m_pszBody, m_nMsgSize, body) ? 1 : 0;
    m_bParsed = 1;
    m_bChanged = 1;
    return fitted;
}

int CMMapMsg::SetFromId(const char* id)
{
    if (!MMapIsValidId(id))
        return 0;
    ParseIfNeeded();
    StrCopy(m_szFromId, id);
    m_bParsed = 1;
    m_bChanged = 1;
    return 1;
}

int CMMapMsg::SetToId(const char* id)
{
    if (!MMapIsValidId(id))
        return 0;
    ParseIfNeeded();
    StrCopy(m_szToId, id);
    m_bParsed = 1;
    m_bChanged = 1;
    return 1;
}

void CMMapMsg::SetTimeSent(DWORD ticks)
{
    ParseIfNeeded();
    m_dwTimeSent = ticks;
    m_bParsed = 1;
    m_bChanged = 1;
}

void CMMapMsg::SetTTL(DWORD ms)
{
    ParseIfNeeded();
    m_dwTTL = ms;
    m_bParsed = 1;
    m_bChanged = 1;
}

const char* CMMapMsg::GetMessage()
{
    ParseIfNeeded();
    return m_pszBody ? m_pszBody : "";
}

const char* CMMapMsg::GetFromId()
{
    ParseIfNeeded();
    return m_szFromId;
}

const char* CMMapMsg::GetToId()
{
    ParseIfNeeded();
    return m_szToId;
}

DWORD CMMapMsg::GetTimeSent()
{
    ParseIfNeeded();
    return m_dwTimeSent;
}

DWORD CMMapMsg::GetTTL()
{
    ParseIfNeeded();
    return m_dwTTL;
}

int CMMapMsg::IsEmpty()
{
    return GetMsgStr()[0] == '\0';
}

int CMMapMsg::IsParsed()
{
    ParseIfNeeded();
    return m_bParsed;
}

int CMMapMsg::BuildMessage()
{
    if (!m_pszMsg || !m_pszBody)
        return 0;
    m_bChanged = 0;
    m_bParsed = 1;
    // A cut frame would carry a wrong body: leave nothing rather than that.
    if (!StrFormat(m_pszMsg, m_nMsgSize, "<%s:%s:%u:%u>%s", m_szToId, m_szFromId, (unsigned)m_dwTimeSent,
                   (unsigned)m_dwTTL, m_pszBody))
    {
        m_pszMsg[0] = '\0';
        return 0;
    }
    return 1;
}

// The text is always terminated within its buffer (SetMsgStr cuts it), so
// the searches below stay inside it whatever another program wrote.
int CMMapMsg::ParseMessage()
{
    CleanUp();
    m_szFromId[0] = '\0';
    m_szToId[0] = '\0';
    if (!m_pszMsg || !m_pszBody)
        return 0;

    const char* open = strchr(m_pszMsg, '<');
    if (!open)
        return 0;
    const char* colon1 = strchr(open + 1, ':');
    if (!colon1)
        return 0;
    const char* colon2 = strchr(colon1 + 1, ':');
    if (!colon2)
        return 0;
    const char* colon3 = strchr(colon2 + 1, ':');
    if (!colon3)
        return 0;
    const char* close = strchr(colon3 + 1, '>');
    if (!close)
        return 0;

    char to[MMAPIPC_ID_SIZE];
    char from[MMAPIPC_ID_SIZE];
    DWORD sent = 0;
    DWORD ttl = 0;
    if (!TakeId(to, open + 1, colon1) || !TakeId(from, colon1 + 1, colon2) ||
        !TakeNumber(&sent, colon2 + 1, colon3) || !TakeNumber(&ttl, colon3 + 1, close))
        return 0;

    StrCopy(m_szToId, to);
    StrCopy(m_szFromId, from);
    m_dwTimeSent = sent;
    m_dwTTL = ttl;
    StrCopy(m_pszBody, m_nMsgSize, close + 1);
    m_bParsed = 1;
    return 1;
}

void CMMapMsg::CleanUp()
{
    if (m_pszBody)
        m_pszBody[0] = '\0';
    m_bParsed = 0;
    m_bChanged = 0;
    m_dwTimeSent = 0;
    m_dwTTL = 0;
}
