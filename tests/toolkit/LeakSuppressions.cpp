// Fontconfig keeps its font caches until the process ends and Qt never asks
// it to let go; the leak checker would report them as ours.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif
