target_link_libraries(${name} PRIVATE tessra_tweak platform_ui_render)
