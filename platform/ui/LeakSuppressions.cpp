// The font libraries that text measurement loads (fontconfig, through Pango)
// keep process-wide caches that they never free. The leak checker of
// sanitizer builds reads this hook and ignores those blocks; every program
// that links this library gets it. Nothing else uses it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
