target_link_libraries(${name} PRIVATE platform_bus platform_foundation)
target_compile_definitions(${name} PRIVATE TESSRA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
