target_link_libraries(${name} PRIVATE platform_foundation)
pkg_check_modules(BENCH_LIBPLIST REQUIRED IMPORTED_TARGET libplist-2.0)
target_link_libraries(${name} PRIVATE PkgConfig::BENCH_LIBPLIST)
