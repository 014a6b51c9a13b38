target_link_libraries(${name} PRIVATE platform_ui_render)
