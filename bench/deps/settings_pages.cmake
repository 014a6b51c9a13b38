target_link_libraries(${name} PRIVATE tessra_prefs tessra_tweak)
target_compile_definitions(${name} PRIVATE TESSRA_PAGE_LISTS="${CMAKE_SOURCE_DIR}/resources/prefs")
