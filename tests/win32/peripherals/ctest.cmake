# Runs the peripherals' Win32 test program under Wine (included by tests/e2e/CMakeLists.txt).
add_test(NAME win32_peripherals_accessory_wait
         COMMAND ${ZELVORA_RUN_WIN32_TEST}
                 ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/peripherals/peripherals_accessory_wait_test.exe)
