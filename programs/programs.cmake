# kevra_add_program(<name> <driver>): one deliverable from programs/<name>.cpp.
function(kevra_add_program name driver)
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE kevra_main kevra_drv_${driver} kevra_core kevra_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KEVRA_BIN_DIR})
  install(TARGETS ${name} RUNTIME DESTINATION bin)
endfunction()

kevra_add_program(kevra_epsonlq epson)
kevra_add_program(kevra_epsonfx epson)
kevra_add_program(kevra_hplaser hplaser)
kevra_add_program(kevra_prntrnx prntrnx)
kevra_add_program(kevra_ln03 ln03)
kevra_add_program(kevra_la75 la75)
