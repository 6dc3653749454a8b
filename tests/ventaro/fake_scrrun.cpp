// A stand-in for scrrun.dll with the two self-registration entry points. Each appends
// its name and a line end to the file named by FAKE_SCRRUN_MARK when it returns, after
// sleeping FAKE_SCRRUN_DELAY_MS milliseconds, and returns FAKE_SCRRUN_RESULT (0 when
// unset). Built a second time with FAKE_SCRRUN_REGISTER_ONLY, it lacks
// DllUnregisterServer.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string setting(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::int32_t entryPoint(const char *name)
{
    // Read everything before sleeping: the test may change the settings meanwhile.
    const std::string mark = setting("FAKE_SCRRUN_MARK");
    const std::string delay = setting("FAKE_SCRRUN_DELAY_MS");
    const std::string result = setting("FAKE_SCRRUN_RESULT");
    if (!delay.empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(delay)));
    if (!mark.empty()) {
        if (std::FILE *file = std::fopen(mark.c_str(), "ab")) {
            std::fprintf(file, "%s\n", name);
            std::fclose(file);
        }
    }
    return result.empty() ? 0 : std::int32_t(std::stoll(result, nullptr, 0));
}

} // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t DllRegisterServer()
{
    return entryPoint("DllRegisterServer");
}

#ifndef FAKE_SCRRUN_REGISTER_ONLY
extern "C" __attribute__((visibility("default"))) std::int32_t DllUnregisterServer()
{
    return entryPoint("DllUnregisterServer");
}
#endif
