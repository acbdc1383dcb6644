# Runs the voice network's Win32 test programs under Wine (included by tests/e2e/CMakeLists.txt).
add_test(NAME win32_net_sockets
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/net/net_sockets_test.exe)
add_test(NAME win32_net_notice
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/net/net_notice_test.exe)
