target_link_libraries(${name} PRIVATE platform_springboard_screen)
