target_link_libraries(${name} PRIVATE tweak_controls platform_springboard)
