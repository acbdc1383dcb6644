add_test(NAME win32_settings_params_window
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/settings/settings_params_window_test.exe)
