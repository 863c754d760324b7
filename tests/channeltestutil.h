// One end of the suite's channel in this process, for the tests that play a
// peer.
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
// identifier.
class ChannelEnd : public CMMapIPC
{
  public:
    ChannelEnd(const char* className, const char* id)
        : m_window(id, NULL, 0, 0, 0, WS_POPUP, 10, 10, TestClass(className))
    {
        m_ok = m_window.Get() && Init(m_window, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME);
    }
    bool Ok() const
    {
        return m_ok;
    }

  private:
    TestWindow m_window;
    bool m_ok = false;
};

} // namespace wintest
