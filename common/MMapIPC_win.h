// One program's end of the shared-memory channel (the slot and its framing
// are in MMapIPC.h).
#pragma once

#include <windows.h>

#include "MMapIPC.h"

// One program's end of the channel. All calls come from the thread that owns
// the window given to Init; waiting for the mutex blocks that thread for at
// most retries x (wait + pause) ms, and a send waits at most retries x pause
// ms for a busy slot.
class CMMapIPC
{
  public:
    CMMapIPC();
    virtual ~CMMapIPC();
    CMMapIPC(const CMMapIPC&) = delete;
    CMMapIPC& operator=(const CMMapIPC&) = delete;

    // Retries is the number of attempts (at least 1). The message size must be
    // the same in every program; it cannot change once the channel is open.
    void SetDefaults(int retries, DWORD pauseMs, DWORD ttlMs, DWORD waitMs, unsigned msgSize);
    int Init(HWND owner, const char* id, const char* mutexName, const char* mapName);

    // ttl and wait 0 take the defaults; toWnd null posts the notification to
    // every top-level window.
    int SendMessage(const char* body, const char* toId, HWND toWnd, DWORD ttl, DWORD wait);
    // Takes the message in the slot when it is addressed to us or to
    // everybody; one addressed to us is removed from the slot as it is taken.
    int ReadMessage(DWORD wait);
    // Answers the sender of the last message read.
    int ReplyToMessage(const char* body, DWORD ttl, DWORD wait);
    // Takes back a message we sent to toId that its recipient has not read
    // yet, live or expired: 1 when it was still in the slot (and is gone now,
    // so it can be sent again without being served twice), 0 otherwise.
    int Withdraw(const char* toId);

    const char* GetMessage();
    CMMapMsg* GetMsgObj()
    {
        return &m_msg;
    }
    int IsTimedOut();
    int GetError() const
    {
        return m_nError;
    }
    int IsCreator() const
    {
        return m_bCreator;
    }
    const char* GetId() const
    {
        return m_szId;
    }
    // The registered notification: wParam is the sender's window, lParam 0.
    UINT GetNotifyMsg();

  protected:
    // The clock of "time sent"; a test can pin it.
    virtual DWORD GetTick();

  private:
    void Close();
    int WaitForMutex(DWORD wait);
    int TakeSlot(CMMapMsg& msg);
    void ClearSlot();
    void WatchSlot(const char* seen, DWORD ms);
    int IsMsgTimedOut(CMMapMsg& msg);
    int IsForMeAlone(CMMapMsg& msg);
    int Frame(const char* body, const char* toId, DWORD ttl);

    HWND m_hWnd;
    char m_szId[MMAPIPC_ID_SIZE];
    HANDLE m_hMutex;
    char* m_pView;
    HANDLE m_hMap;
    int m_bCreator;
    int m_bInit;
    CMMapMsg m_msg;
    int m_nError;
    int m_nRetries;
    DWORD m_dwPause;
    DWORD m_dwTTL;
    DWORD m_dwWait;
    unsigned m_nMsgSize;
    char m_szLastFrom[MMAPIPC_ID_SIZE];
    // Sending frames into its own object, so the last message read stays
    // readable while a reply goes out.
    CMMapMsg m_outMsg;
    // A message for us found in the slot while sending; the next read
    // returns it.
    CMMapMsg m_inbox;
    UINT m_uNotifyMsg;
};
