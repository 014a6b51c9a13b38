target_link_libraries(${name} PRIVATE platform_springboard platform_prefs platform_runtime platform_foundation)
target_compile_definitions(${name} PRIVATE TESSRA2_DYLIB="$<TARGET_FILE:Tessra2>")
add_dependencies(${name} Tessra2)
target_sources(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/AllocationCounter.cpp)
