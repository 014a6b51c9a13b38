target_link_libraries(${name} PRIVATE tweak_panel platform_ui_render)
add_dependencies(${name} bundle_images)
target_compile_definitions(${name} PRIVATE TESSRA_DEVICE_FILES="${TESSRA_DEVICE_FILES}")
