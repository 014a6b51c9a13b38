target_link_libraries(${name} PRIVATE tweak_store)
target_sources(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/AllocationCounter.cpp)
