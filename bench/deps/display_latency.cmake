target_link_libraries(${name} PRIVATE platform_bus)
target_compile_definitions(${name} PRIVATE TESSRA_BIN_DIR="$<TARGET_FILE_DIR:tessra>")
add_dependencies(${name} tessra SpringBoard)
