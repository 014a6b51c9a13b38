# Needs the plug-in library and the simulated home screen; left out of the
# default build while either is missing.
if(TARGET tessra_tweak AND TARGET platform_springboard)
  target_link_libraries(${name} PRIVATE tessra_tweak platform_springboard)
else()
  set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
