// A shell command line from the registry, as the application list reads it:
// the program is always a terminated part of the command, in any buffer.
#include "fuzz_util.h"
#include "dirutils.h"
#include "check.h"

#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string command((const char*)data, size);
    command = command.c_str();           // the registry hands over a terminated text
    IsCheckCommandLine(command.c_str()); // tvint's own command line
    for (size_t room : {1, 2, 16, 260})
    {
        std::string buf(room + 1, '\x7f'); // one guard byte past the buffer
        bool found = GetCommandProgram(command.c_str(), &buf[0], room);
        FUZZ_FAIL_IF(buf[room] != '\x7f');
        size_t len = strnlen(buf.c_str(), room);
        FUZZ_FAIL_IF(len >= room);
        FUZZ_FAIL_IF(found != (len > 0));
        FUZZ_FAIL_IF(found && command.find(buf.c_str()) == std::string::npos);
    }
    return 0;
}
