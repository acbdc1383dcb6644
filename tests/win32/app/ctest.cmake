# The app's Win32 test programs, run under Wine (included by tests/e2e/CMakeLists.txt).
set(panels_test ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/app/panels_test.exe)
add_test(NAME win32_app_panels COMMAND ${ZELVORA_RUN_WIN32_TEST} ${panels_test})
add_test(NAME win32_app_panels_stress COMMAND ${ZELVORA_RUN_WIN32_TEST} ${panels_test} --stress)
set_tests_properties(win32_app_panels_stress PROPERTIES TIMEOUT 600)
add_test(NAME win32_app_main_window
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/app/main_window_test.exe)
add_test(NAME win32_app_notice
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/app/app_notice_test.exe)
add_test(NAME win32_app_version_resource
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/app/version_resource_test.exe)
