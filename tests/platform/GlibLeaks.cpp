// GLib keeps (and on each re-pointing of its XDG dirs, drops without freeing) process-wide
// caches; the leak checker of sanitizer builds is told so, our own allocations stay checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libglib-2.0.so\nleak:libgio-2.0.so\n";
}
