target_link_libraries(${name} PRIVATE tessra_tweak)
