# libplist only for comparison: our own readers parse both forms.
pkg_check_modules(BENCH_LIBPLIST REQUIRED IMPORTED_TARGET libplist-2.0)
target_link_libraries(${name} PRIVATE platform_foundation PkgConfig::BENCH_LIBPLIST)
