target_link_libraries(${name} PRIVATE tweak_controls tweak_testing platform_springboard)
