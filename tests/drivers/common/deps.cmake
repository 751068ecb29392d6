set(KEVRA_TEST_DEPS kevra_drv_common kevra_drv_epson kevra_drv_ibm kevra_drv_la75 kevra_drv_ln03
    kevra_drv_hplaser kevra_drv_prntrnx)
