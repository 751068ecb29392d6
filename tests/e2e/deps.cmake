# The Printronix font table, to compare the glyphs drawn on the page.
set(KEVRA_TEST_DEPS kevra_drv_prntrnx)
