set(KEVRA_TEST_DEPS kevra_drv_common)
