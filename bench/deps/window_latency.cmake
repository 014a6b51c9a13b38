find_package(X11 REQUIRED)
target_link_libraries(${name} PRIVATE X11::X11)
target_compile_definitions(${name} PRIVATE TESSRA_BIN_DIR="$<TARGET_FILE_DIR:tessra>")
add_dependencies(${name} tessra SpringBoard)
