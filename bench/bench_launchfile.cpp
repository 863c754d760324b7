// Loads a large launch file and walks every action with GetAction and
// GetDescription; prints the load rate and the walk rate in MB/s.
#include "LaunchFile.h"

#include <chrono>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

static const char* g_lines[] = {
    "Launch \"C:\\Program Files\\Tarvin 2\\tvedit.exe\",\"C:\\Program Files\\Tarvin 2\",\"-file='x'\",Normal",
    "Copy \"C:\\Data\\Reports\\*.txt\",\"D:\\Backup\\Reports\",NoOverwrite",
    "Move \"C:\\Temp\\in\\*.*\",\"C:\\Temp\\out\",AskMove",
    "Delete \"C:\\Temp\\*.tmp\",Delete",
    "Hide \"Untitled - Notepad\"",
    "Wait \"1500 ms\"",
    "// a comment line that explains what the next lines do",
    "Message \"Backup finished, see the log for details\"",
    "Kill \"notepad\"",
    "ShowAll",
};

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "bench.launch";
    double megabytes = argc > 2 ? atof(argv[2]) : 10.0;
    size_t target = (size_t)(megabytes * 1024 * 1024);

    FILE* f = fopen(path, "wb");
    if (!f)
    {
        fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    size_t written = 0;
    for (size_t i = 0; written < target; i++)
    {
        const char* line = g_lines[i % (sizeof(g_lines) / sizeof(g_lines[0]))];
        written += (size_t)fprintf(f, "%s\r\n", line);
    }
    fclose(f);
    double mb = (double)written / (1024.0 * 1024.0);

    using Clock = std::chrono::steady_clock;
    double bestLoad = 1e9, bestWalk = 1e9;
    size_t checksum = 0;
    for (int round = 0; round < 5; round++)
    {
        CLaunchFile file;
        auto t0 = Clock::now();
        if (!file.Load(path))
        {
            fprintf(stderr, "load failed: %d\n", file.GetLastError());
            return 1;
        }
        auto t1 = Clock::now();
        // The canonical cursor walk: a walk by index would be quadratic.
        std::vector<char> desc(LAUNCH_DESCRIPTION_SIZE);
        file.ResetCur();
        for (CLaunchAction* a = file.GetCur(); a; a = file.GetNext())
        {
            checksum += (size_t)(a->GetAction() + 1);
            a->GetDescription(desc.data(), desc.size());
            checksum += desc[0];
        }
        auto t2 = Clock::now();
        bestLoad = std::min(bestLoad, std::chrono::duration<double>(t1 - t0).count());
        bestWalk = std::min(bestWalk, std::chrono::duration<double>(t2 - t1).count());
    }
    remove(path);
    printf("file %.1f MB, %d-line pattern\n", mb, (int)(sizeof(g_lines) / sizeof(g_lines[0])));
    printf("load: %.3f s = %.0f MB/s\n", bestLoad, mb / bestLoad);
    printf("walk (GetAction + GetDescription): %.3f s = %.0f MB/s\n", bestWalk, mb / bestWalk);
    printf("checksum %zu\n", checksum);
    return 0;
}
