target_link_libraries(${name} PRIVATE tweak_panel platform_springboard platform_ui platform_ui_render)
target_compile_definitions(${name} PRIVATE TESSRA_PLUGIN_BUNDLE_DIR="${TESSRA_PLUGIN_BUNDLE_DIR}")
add_dependencies(${name} bundle_images)
