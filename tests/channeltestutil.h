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

} // namespace wintest
