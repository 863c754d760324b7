// Saving without risk: lines go to a temporary file beside the target, which
// takes the target's place only when everything was written. A crash or a
// full disk mid-save leaves the previous file as it was.
#pragma once

#include "platform.h"

class CSafeSave
{
  public:
    CSafeSave();
    ~CSafeSave(); // a save that was not committed is thrown away
    CSafeSave(const CSafeSave&) = delete;
    CSafeSave& operator=(const CSafeSave&) = delete;

    bool Begin(const char* path);
    // Collected in memory and written in large blocks; a write failure may
    // show only at a later Write or at Commit.
    bool Write(const void* data, unsigned size);
    bool WriteLine(const char* text); // the text, then CR LF
    // Flushes and replaces the target; false when anything failed on the way.
    bool Commit();
    void Abandon();

  private:
    static const unsigned kBufferSize = 64 * 1024;
    bool WriteBuffer();
    bool CreateTemp();

    PfHandle m_handle;
    char* m_buffer; // null: every Write goes straight to the file
    unsigned m_used;
    bool m_failed;
    char m_target[260];
    char m_temp[260];
};
