# Runs the voice network's Win32 test program under Wine (included by tests/e2e/CMakeLists.txt).
add_test(NAME win32_net_sockets
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/net/net_sockets_test.exe)
