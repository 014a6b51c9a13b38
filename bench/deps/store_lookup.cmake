target_link_libraries(${name} PRIVATE tweak_store)
