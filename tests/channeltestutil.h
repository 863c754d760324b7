// Helpers of the tests that use the suite's channel: one end of it in this
// process, and the slot itself, read and written as a peer would.
#pragma once

#include <windows.h>
#include <string.h>
#include <string>

#include "MMapIPC_win.h"
#include "wintestutil.h"

namespace wintest
{

// One end of the channel in this process: a hidden top-level window of that
// class (a reply is announced to every top-level window) and that
// identifier. A stale end stamps its messages as sent ten minutes ago.
class ChannelEnd : public CMMapIPC
{
  public:
    ChannelEnd(const char* className, const char* id, bool stale = false)
        : m_stale(stale), m_window(id, NULL, 0, 0, 0, WS_POPUP, 10, 10, TestClass(className))
    {
        m_ok = m_window.Get() && Init(m_window, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME);
    }
    bool Ok() const
    {
        return m_ok;
    }
    HWND Window() const
    {
        return m_window;
    }
    // The message in the slot, as its receiver reads it.
    bool Read(std::string* from, std::string* body)
    {
        if (!ReadMessage(0))
            return false;
        *from = GetMsgObj()->GetFromId();
        *body = GetMessage();
        return true;
    }

  protected:
    DWORD GetTick() override
    {
        return CMMapIPC::GetTick() - (m_stale ? 600000 : 0);
    }

  private:
    bool m_stale;
    TestWindow m_window;
    bool m_ok = false;
};

// The channel's slot, opened (or made) by name; writes take the channel's
// mutex as a peer does, once a channel has made it.
class SlotView
{
  public:
    SlotView()
        : m_map(CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, MMAPIPC_MSG_SIZE,
                                   MMAPIPC_MEMMAP_NAME)),
          m_view(m_map ? (char*)MapViewOfFile(m_map, FILE_MAP_ALL_ACCESS, 0, 0, MMAPIPC_MSG_SIZE) : NULL)
    {
    }
    ~SlotView()
    {
        if (m_view)
            UnmapViewOfFile(m_view);
        if (m_map)
            CloseHandle(m_map);
    }
    SlotView(const SlotView&) = delete;
    SlotView& operator=(const SlotView&) = delete;

    bool Ok() const
    {
        return m_view != NULL;
    }
    std::string Text() const
    {
        return std::string(m_view, strnlen(m_view, MMAPIPC_MSG_SIZE));
    }
    // The bytes, cut to the slot; the rest of it zero.
    bool Write(const std::string& bytes)
    {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, MMAPIPC_MUTEX_NAME);
        DWORD waited = mutex ? WaitForSingleObject(mutex, 15000) : WAIT_FAILED;
        bool locked = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        if (locked || !mutex)
        {
            memset(m_view, 0, MMAPIPC_MSG_SIZE);
            memcpy(m_view, bytes.data(), bytes.size() < MMAPIPC_MSG_SIZE ? bytes.size() : MMAPIPC_MSG_SIZE);
        }
        if (locked)
            ReleaseMutex(mutex);
        if (mutex)
            CloseHandle(mutex);
        return locked || !mutex;
    }
    // The whole slot, zeros included.
    std::string Bytes() const
    {
        return std::string(m_view, MMAPIPC_MSG_SIZE);
    }

  private:
    HANDLE m_map;
    char* m_view;
};

} // namespace wintest
