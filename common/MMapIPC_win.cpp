#include <windows.h>

#include "MMapIPC_win.h"
#include "strutils.h"

// Below this a frame with two full identifiers and two 10-digit numbers
// would not fit.
static const unsigned MIN_MSG_SIZE = 64;
static const unsigned MAX_MSG_SIZE = 65536;

CMMapIPC::CMMapIPC()
    : m_hWnd(nullptr), m_hMutex(nullptr), m_pView(nullptr), m_hMap(nullptr), m_bCreator(0), m_bInit(0),
      m_nError(0), m_nRetries(10), m_dwPause(100), m_dwTTL(250), m_dwWait(250), m_nMsgSize(MMAPIPC_MSG_SIZE),
      m_uNotifyMsg(0)
{
    m_szId[0] = '\0';
    m_szLastFrom[0] = '\0';
    SetDefaults(10, 100, 250, 250, MMAPIPC_MSG_SIZE);
}

CMMapIPC::~CMMapIPC()
{
    Close();
}

void CMMapIPC::Close()
{
    if (m_pView)
        UnmapViewOfFile(m_pView);
    if (m_hMap)
        CloseHandle(m_hMap);
    if (m_hMutex)
        CloseHandle(m_hMutex);
    m_pView = nullptr;
    m_hMap = nullptr;
    m_hMutex = nullptr;
    m_bInit = 0;
    m_bCreator = 0;
}

void CMMapIPC::SetDefaults(int retries, DWORD pauseMs, DWORD ttlMs, DWORD waitMs, unsigned msgSize)
{
    m_nRetries = retries < 1 ? 1 : retries;
    m_dwPause = pauseMs;
    m_dwTTL = ttlMs;
    m_dwWait = waitMs;
    // The view is mapped with the size it had at Init.
    if (!m_bInit)
        m_nMsgSize = msgSize < MIN_MSG_SIZE ? MIN_MSG_SIZE : msgSize > MAX_MSG_SIZE ? MAX_MSG_SIZE : msgSize;
}

int CMMapIPC::Init(HWND owner, const char* id, const char* mutexName, const char* mapName)
{
    Close();
    m_nError = MMAPIPC_ERR_NONE;
    m_szLastFrom[0] = '\0';
    if (!MMapIsValidId(id))
    {
        m_nError = MMAPIPC_ERR_BADID;
        return 0;
    }
    m_hWnd = owner;
    StrCopy(m_szId, id);

    m_hMap = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, m_nMsgSize, mapName);
    if (!m_hMap)
    {
        m_nError = MMAPIPC_ERR_CREATEMAP;
        return 0;
    }
    // Fails when another program made the mapping with a smaller size.
    m_pView = (char*)MapViewOfFile(m_hMap, FILE_MAP_ALL_ACCESS, 0, 0, m_nMsgSize);
    if (!m_pView)
    {
        m_nError = MMAPIPC_ERR_MAPVIEW;
        Close();
        return 0;
    }
    m_hMutex = CreateMutexA(nullptr, FALSE, mutexName);
    if (!m_hMutex)
    {
        m_nError = MMAPIPC_ERR_CREATEMUTEX;
        Close();
        return 0;
    }
    m_bCreator = GetLastError() != ERROR_ALREADY_EXISTS;

    if (!m_msg.SetMessageSize(m_nMsgSize) || !m_outMsg.SetMessageSize(m_nMsgSize) ||
        !m_inbox.SetMessageSize(m_nMsgSize))
    {
        m_nError = MMAPIPC_ERR_TAKETEXT;
        Close();
        return 0;
    }
    GetNotifyMsg();
    m_bInit = 1;
    return 1;
}

UINT CMMapIPC::GetNotifyMsg()
{
    // Registered on first use, so a window procedure never compares against 0
    // (WM_NULL) before Init.
    if (!m_uNotifyMsg)
        m_uNotifyMsg = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    return m_uNotifyMsg;
}

DWORD CMMapIPC::GetTick()
{
    return GetTickCount();
}

// One wait for the mutex; 1 when this thread holds it.
int CMMapIPC::WaitForMutex(DWORD wait)
{
    switch (WaitForSingleObject(m_hMutex, wait))
    {
        case WAIT_OBJECT_0:
            return 1;
        case WAIT_ABANDONED:
            // Its holder died and the wait handed the mutex to us. Waiting
            // again while owning it would lock everybody else out for good.
            ReleaseMutex(m_hMutex);
            m_nError = MMAPIPC_ERR_ABANDONED;
            return 0;
        case WAIT_TIMEOUT:
            m_nError = MMAPIPC_ERR_WAITTIMEOUT;
            return 0;
        case WAIT_FAILED:
            m_nError = MMAPIPC_ERR_WAITFAILED;
            return 0;
        default:
            m_nError = MMAPIPC_ERR_WAITUNEXPECTED;
            return 0;
    }
}

// Copies the slot into msg; 0 when it holds no terminated text. Another
// program may have left anything here, so nothing past the slot is read.
int CMMapIPC::TakeSlot(CMMapMsg& msg)
{
    if (!memchr(m_pView, 0, m_nMsgSize))
    {
        msg.SetMsgStr("");
        return 0;
    }
    return msg.SetMsgStr(m_pView, m_nMsgSize);
}

void CMMapIPC::ClearSlot()
{
    memset(m_pView, 0, m_nMsgSize);
}

// A text that is not a well-formed message never holds the slot.
int CMMapIPC::IsMsgTimedOut(CMMapMsg& msg)
{
    if (!msg.IsParsed())
        return 1;
    // Unsigned difference: harmless across the tick counter's wrap-around.
    return (DWORD)(GetTick() - msg.GetTimeSent()) > msg.GetTTL() ? 1 : 0;
}

// Addressed to us by someone else: only our read can free the slot.
int CMMapIPC::IsForMeAlone(CMMapMsg& msg)
{
    return msg.IsParsed() && StrCompareNoCase(msg.GetToId(), m_szId) == 0 &&
           StrCompareNoCase(msg.GetFromId(), m_szId) != 0;
}

// Two programs that talk back and forth keep the slot busy but for a moment
// between one's read and its next send; a sender that only looked again
// after a pause missed that moment time after time and gave up. So the slot
// is watched instead, every millisecond, without the mutex: a look torn by a
// writer only ends the watch early, and whatever is there is judged again
// under the mutex.
void CMMapIPC::WatchSlot(const char* seen, DWORD ms)
{
    size_t length = strnlen(seen, m_nMsgSize - 1) + 1;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
    {
        Sleep(1);
        if (memcmp(m_pView, seen, length) != 0)
            return;
    }
}

int CMMapIPC::IsTimedOut()
{
    return IsMsgTimedOut(m_msg);
}

const char* CMMapIPC::GetMessage()
{
    return m_msg.GetMessage();
}

int CMMapIPC::Frame(const char* body, const char* toId, DWORD ttl)
{
    m_outMsg.SetMsgStr("");
    int fitted = m_outMsg.SetMessage(body);
    m_outMsg.SetFromId(m_szId);
    m_outMsg.SetToId(toId);
    m_outMsg.SetTTL(ttl);
    m_outMsg.SetTimeSent(GetTick());
    return m_outMsg.BuildMessage() && fitted;
}

int CMMapIPC::SendMessage(const char* body, const char* toId, HWND toWnd, DWORD ttl, DWORD wait)
{
    if (!m_bInit)
    {
        m_nError = MMAPIPC_ERR_NOTINIT;
        return 0;
    }
    m_nError = MMAPIPC_ERR_NONE;
    if (!ttl)
        ttl = m_dwTTL;
    if (!wait)
        wait = m_dwWait;
    if (!MMapIsValidId(toId))
    {
        m_nError = MMAPIPC_ERR_BADID;
        return 0;
    }
    // Refused at once rather than after every attempt: a body too long for
    // the slot never fits.
    if (!Frame(body ? body : "", toId, ttl))
    {
        m_nError = MMAPIPC_ERR_TOOLONG;
        return 0;
    }

    // Failed waits for the mutex count as attempts; a busy slot is waited
    // for, as long as all the attempts' pauses would take together.
    const DWORD patience = (DWORD)m_nRetries * m_dwPause;
    const DWORD begun = GetTickCount();
    for (int attempt = 0; attempt < m_nRetries;)
    {
        if (!WaitForMutex(wait))
        {
            if (++attempt < m_nRetries)
                Sleep(m_dwPause);
            continue;
        }
        if (TakeSlot(m_outMsg) && !IsMsgTimedOut(m_outMsg))
        {
            // A message for us came in while we want to send: nobody else
            // will take it, and waiting here it would expire unread. Kept
            // aside, it is what our next read returns (its notification is
            // already on its way to us).
            if (!IsForMeAlone(m_outMsg) || !m_inbox.IsEmpty())
            {
                ReleaseMutex(m_hMutex);
                m_nError = MMAPIPC_ERR_BUSY;
                DWORD waited = GetTickCount() - begun;
                if (waited >= patience)
                    return 0;
                WatchSlot(m_outMsg.GetMsgStr(),
                          patience - waited < m_dwPause ? patience - waited : m_dwPause);
                continue;
            }
            m_inbox.SetMsgStr(m_outMsg.GetMsgStr());
            ClearSlot();
        }
        // Framed again for the time of sending; only a longer tick count
        // could make it not fit now.
        int fitted = Frame(body ? body : "", toId, ttl);
        if (fitted)
        {
            const char* text = m_outMsg.GetMsgStr();
            size_t len = strlen(text);
            memcpy(m_pView, text, len);
            memset(m_pView + len, 0, m_nMsgSize - len);
        }
        ReleaseMutex(m_hMutex);
        if (!fitted)
        {
            m_nError = MMAPIPC_ERR_TOOLONG;
            return 0;
        }
        PostMessageA(toWnd ? toWnd : HWND_BROADCAST, GetNotifyMsg(), (WPARAM)m_hWnd, 0);
        return 1;
    }
    return 0;
}

int CMMapIPC::ReadMessage(DWORD wait)
{
    if (!m_bInit)
    {
        m_nError = MMAPIPC_ERR_NOTINIT;
        return 0;
    }
    if (!wait)
        wait = m_dwWait;
    m_nError = MMAPIPC_ERR_NONE;

    if (!m_inbox.IsEmpty())
    {
        m_msg.SetMsgStr(m_inbox.GetMsgStr());
        m_inbox.SetMsgStr("");
        StrCopy(m_szLastFrom, m_msg.GetFromId());
        return 1;
    }

    int held = 0;
    for (int attempt = 0; attempt < m_nRetries && !held; attempt++)
    {
        if (attempt > 0)
            Sleep(m_dwPause);
        held = WaitForMutex(wait);
    }
    if (!held)
        return 0;

    int result = 0;
    if (!TakeSlot(m_msg))
        m_nError = MMAPIPC_ERR_TAKETEXT;
    else if (m_msg.IsEmpty())
        m_nError = MMAPIPC_ERR_EMPTY;
    else if (IsMsgTimedOut(m_msg))
    {
        ClearSlot();
        m_nError = MMAPIPC_ERR_TIMEDOUT;
    }
    else if (StrCompareNoCase(m_msg.GetToId(), m_szId) != 0 &&
             StrCompareNoCase(m_msg.GetToId(), MMAPIPC_BROADCAST) != 0)
        m_nError = MMAPIPC_ERR_NOTFORME;
    else
    {
        // A message addressed to us is ours alone once taken: freeing the
        // slot now lets the reply (or the next request) go at once instead of
        // waiting out the time-to-live. A broadcast stays for the others
        // until it expires, unless it is our own coming back.
        int toMe = StrCompareNoCase(m_msg.GetToId(), m_szId) == 0;
        int fromMe = StrCompareNoCase(m_msg.GetFromId(), m_szId) == 0;
        if (toMe || fromMe)
            ClearSlot();
        if (!fromMe)
            StrCopy(m_szLastFrom, m_msg.GetFromId());
        result = 1;
    }
    ReleaseMutex(m_hMutex);
    return result;
}

int CMMapIPC::ReplyToMessage(const char* body, DWORD ttl, DWORD wait)
{
    return SendMessage(body, m_szLastFrom, nullptr, ttl, wait);
}

// The recipient takes a message under the mutex too, so either it has read
// the message or it never will.
int CMMapIPC::Withdraw(const char* toId)
{
    if (!m_bInit || !WaitForMutex(m_dwWait))
        return 0;
    CMMapMsg slot;
    int ours = slot.SetMessageSize(m_nMsgSize) && TakeSlot(slot) && !slot.IsEmpty() && slot.IsParsed() &&
               StrCompareNoCase(slot.GetFromId(), m_szId) == 0 && StrCompareNoCase(slot.GetToId(), toId) == 0;
    if (ours)
        ClearSlot();
    ReleaseMutex(m_hMutex);
    return ours;
}
