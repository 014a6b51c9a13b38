target_link_libraries(${name} PRIVATE platform_foundation)
target_sources(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/AllocationCounter.cpp)
