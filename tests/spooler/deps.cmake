# The spooler tests link the filter's library and learn where the build put
# the filter, the PPDs and the packaging configuration.
if(NOT TARGET kevra_spooler_testinfo)
  get_property(kevra_packaged GLOBAL PROPERTY KEVRA_INSTALLED_PRINTERS)
  string(REPLACE ";" "," kevra_packaged "${kevra_packaged}")
  add_library(kevra_spooler_testinfo INTERFACE)
  target_compile_definitions(
    kevra_spooler_testinfo
    INTERFACE KEVRA_BUILD_ROOT="${CMAKE_BINARY_DIR}" KEVRA_CPACK="${CMAKE_CPACK_COMMAND}"
              KEVRA_FILTER="$<TARGET_FILE:texttokevra>" KEVRA_PPD_DIR="${CMAKE_BINARY_DIR}/ppd"
              KEVRA_PACKAGED_PRINTERS="${kevra_packaged}"
              $<$<BOOL:${KEVRA_SANITIZE}>:KEVRA_SPOOLER_SANITIZED>)
endif()
set(KEVRA_TEST_DEPS kevra_spooler kevra_spooler_testinfo)
