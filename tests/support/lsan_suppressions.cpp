// Allocations that fontconfig keeps until the process ends (Qt never calls
// FcFini) are not leaks of ours; LeakSanitizer reads this list at start.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
